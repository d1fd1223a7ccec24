#pragma once

#include "engine/BatchConverter.h"
#include "platform/Paths.h"
#include "queue/QueueModel.h"
#include "settings/AppSettings.h"
#include "settings/CommonDlgsW.h"
#include "settings/CutterOptions.h"
#include "settings/SettingsPlace.h"
#include "ui/ProductSite.h"
#include "ui/ProgressBar.h"

#include <QHash>
#include <QMap>
#include <QTimer>
#include <QWidget>

#include <memory>

class HotArea;
class frmMenu;
class InstanceChannel;
class HotText;
class QComboBox;
class QLabel;
class QLineEdit;
class QTreeView;
class SkinChrome;
class QueueDrops;
namespace platform {
class Dialogs;
class EndSignals;
class Shell;
class UserMessages;
} // namespace platform

// The main window: the skinned face with its hot areas, the queue, the output pickers and
// folder, and the progress of the batch. Loading it starts the program; unloading ends it.
class frmMain : public QWidget
{
    Q_OBJECT
public:
    struct Services
    {
        platform::UserMessages &messages;
        platform::Dialogs &dialogs;
        platform::Shell &shell;
    };

    frmMain(const platform::ProgramPlaces &places, Services services, QWidget *parent = nullptr);
    ~frmMain() override;

    // The operations behind the window's buttons.
    void imgAdd_Click();
    void imgStart_Click();
    void imgConvert_Click() { imgStart_Click(); }
    void imgRemove_Click();
    void menuRemoveAll_Click();
    // Queues every file under a folder the user picks.
    void AddFolderToQueue();
    void imgBrowse_Click();
    void imgBrowse_MouseMove();
    void imgBrowse_MouseDown();
    void imgHelp_Click();
    void picButtonOF_Click();
    void picButtonBR_Click();
    void picButtonR_Click();
    void picButtonChannel_Click();
    void imgExit_Click();
    void imgMin_Click();
    void imgToolbar_Click(qint16 index);
    void imgMenu_Click(qint16 index);
    // Stops the batch: the converter ends, the file it was writing goes, the rest stays queued.
    void imgStop_Click();
    // Opens the feedback form.
    void lblFeed_Click();
    // The command mailbox's dispatch: the word a menu item wrote picks the operation.
    void txtAction_Change();
    // A later start of the program asked for this window: show it in front, restored.
    void BringToFront();
    // Takes the requests of later starts of the program from `channel`.
    void AcceptLaterStarts(InstanceChannel &channel);
    // Files given on the command line or by a later start: queued as if dropped on the start panel.
    void QueueFilesGiven(const QStringList &files);

    // The output choices as the pickers and the folder box hold them now.
    AppSettings CurrentAppSettings() const;
    ConversionChoices CurrentChoices() const;
    // The output folder the box names, as an absolute path.
    QString OutputFolder() const;
    const CutterOptions &Cutter() const { return m_cutter; }

    QueueModel &Queue() { return m_queue; }
    BatchConverter &Batch() { return *m_batch; }
    // The controls, by their names.
    QComboBox *cmbOF() const { return m_cmbOF; }
    QComboBox *cmbBR() const { return m_cmbBR; }
    QComboBox *cmbR() const { return m_cmbR; }
    QComboBox *cmbChannel() const { return m_cmbChannel; }
    QLineEdit *txtPath() const { return m_txtPath; }
    ProgressText *lblPB() const { return m_lblPB; }
    ProgressFill *imgPB() const { return m_imgPB; }
    HotArea *imgStop() const { return m_imgStop; }
    QWidget *picText() const { return m_picText; }
    QLabel *lblText() const { return m_lblText; }
    QTreeView *LV() const { return m_LV; }
    HotArea *picDoor() const { return m_picDoor; }
    QWidget *picDrop() const { return m_picDrop; }
    QueueDrops &Drops() { return *m_drops; }
    // A folder search is running: queue commands and drops wait their turn by being ignored.
    bool IsSearching() const { return m_searching; }
    HotArea *imgConvert() const { return m_imgConvert; }
    HotArea *imgToolbar(int index) const { return m_imgToolbar.value(index); }
    HotArea *imgMenu(int index) const { return m_imgMenu.value(index); }
    HotArea *imgBrowse() const { return m_imgBrowse; }
    HotArea *imgHelp() const { return m_imgHelp; }
    HotArea *imgMin() const { return m_imgMin; }
    HotArea *imgExit() const { return m_imgExit; }
    HotArea *picButtonOF() const { return m_picButtonOF; }
    HotArea *picButtonBR() const { return m_picButtonBR; }
    HotArea *picButtonR() const { return m_picButtonR; }
    HotArea *picButtonChannel() const { return m_picButtonChannel; }
    HotArea *imgDoorButton() const { return m_imgDoorButton; }
    HotText *lblFeed() const { return m_lblFeed; }
    QLineEdit *txtAction() const { return m_txtAction; }
    frmMenu *Menus() const { return m_frmMenu; }
    // The product's web address that About, Help and the feedback form use (the build's own
    // unless replaced).
    void SetProductSite(const QString &site) { m_site = site; }
    QTimer &Timer2() { return m_timer2; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildControls();
    void BuildKeyboard();
    void DescribeForScreenReaders();
    void ShowAbout();
    void ShowOptions();
    void CoverWithDoor(bool covered);
    void Form_Load();
    void Form_Unload();
    void Form_MouseMove();
    void Timer2_Timer();
    void LoadSettings();
    void ApplyAppSettings(const AppSettings &settings);
    void SetBatchControlsEnabled(bool enabled);
    void ShowHintWhenEmpty();
    void ShowDropDown(QComboBox *picker);
    void ShowProgress(const ProgressDisplay &display);
    void BatchEnded(bool finished);

    platform::ProgramPlaces m_places;
    Services m_services;
    SettingsPlace m_settings;
    QueueModel m_queue;
    CutterOptions m_cutter;
    std::unique_ptr<CommonDlgsW> m_FileDialogs;
    std::unique_ptr<BatchConverter> m_batch;
    platform::EndSignals *m_endSignals = nullptr;
    QTimer m_timer2;
    SkinChrome *m_chrome = nullptr;
    // The folder the user last added from in this run (a file's folder, or a whole folder).
    QString m_lastAddFolder;
    // The files a folder search has found so far; empty outside AddFolderToQueue.
    QStringList m_lstAddFolder;
    bool m_searching = false;
    QStringList m_filesWaiting;
    QueueDrops *m_drops = nullptr;
    // Focus policies of the controls under the start panel, while it covers them.
    QHash<QWidget *, Qt::FocusPolicy> m_focusUnderDoor;

    QTreeView *m_LV = nullptr;
    QWidget *m_picText = nullptr;
    QLabel *m_lblText = nullptr;
    ProgressFill *m_imgPB = nullptr;
    ProgressText *m_lblPB = nullptr;
    HotArea *m_imgStop = nullptr;
    QComboBox *m_cmbOF = nullptr;
    QComboBox *m_cmbBR = nullptr;
    QComboBox *m_cmbR = nullptr;
    QComboBox *m_cmbChannel = nullptr;
    QLineEdit *m_txtPath = nullptr;
    QWidget *m_picDrop = nullptr;
    HotArea *m_picDoor = nullptr;
    HotArea *m_imgDoorButton = nullptr;
    HotArea *m_imgConvert = nullptr;
    HotArea *m_imgBrowse = nullptr;
    HotArea *m_imgHelp = nullptr;
    HotArea *m_imgMin = nullptr;
    HotArea *m_imgExit = nullptr;
    QMap<int, HotArea *> m_imgToolbar;
    QMap<int, HotArea *> m_imgMenu;
    HotArea *m_picButtonOF = nullptr;
    HotArea *m_picButtonBR = nullptr;
    HotArea *m_picButtonR = nullptr;
    HotArea *m_picButtonChannel = nullptr;
    HotText *m_lblFeed = nullptr;
    QLineEdit *m_txtAction = nullptr;
    frmMenu *m_frmMenu = nullptr;
    QString m_site = ProductSite();
};
