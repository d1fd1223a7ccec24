#pragma once

#include <QMap>

class CutterIndicator;
class HotArea;
class HotText;
class ProgressFill;
class ProgressText;
class QComboBox;
class QLabel;
class QLineEdit;
class QTimer;
class QTableView;
class QWidget;
class QueueModel;
class SkinChrome;

// The main window's controls, by their names, as a designer's generated form would hold them:
// built, placed, put in keyboard order and described for screen readers here; the window
// connects them to its handlers.
class frmMainUi
{
public:
    // Builds every control on `window`; the list shows `queue`, the chrome reveals on `timer2`.
    void setupUi(QWidget *window, QueueModel &queue, QTimer &timer2);

    SkinChrome *chrome = nullptr;
    QTableView *LV = nullptr;
    // Where a running batch stands, over the line under the queue's heading.
    QLabel *lblBatch = nullptr;
    QWidget *picText = nullptr;
    QLabel *lblText = nullptr;
    QWidget *picDrop = nullptr;
    ProgressFill *imgPB = nullptr;
    ProgressText *lblPB = nullptr;
    HotArea *imgStop = nullptr;
    QComboBox *cmbOF = nullptr;
    QComboBox *cmbBR = nullptr;
    QComboBox *cmbR = nullptr;
    QComboBox *cmbChannel = nullptr;
    QLineEdit *txtPath = nullptr;
    HotArea *picButtonOF = nullptr;
    HotArea *picButtonBR = nullptr;
    HotArea *picButtonR = nullptr;
    HotArea *picButtonChannel = nullptr;
    HotArea *imgBrowse = nullptr;
    HotArea *imgConvert = nullptr;
    CutterIndicator *lblCut = nullptr;
    HotArea *imgHelp = nullptr;
    HotArea *imgMin = nullptr;
    HotArea *imgExit = nullptr;
    // By toolbar index (0, 6, 1, 2, 3, 4 from left to right) and by menu tab (0 to 2).
    QMap<int, HotArea *> imgToolbar;
    QMap<int, HotArea *> imgMenu;
    HotText *lblFeed = nullptr;
    HotArea *picDoor = nullptr;
    HotArea *imgDoorButton = nullptr;
    // The command mailbox: never seen; menu items write their words into it.
    QLineEdit *txtAction = nullptr;

private:
    void BuildQueueArea(QWidget *window, QueueModel &queue);
    void BuildChoices(QWidget *window);
    void BuildButtons(QWidget *window);
    void BuildKeyboardOrder(QWidget *window);
    void DescribeForScreenReaders();
};
