#pragma once

#include <QHash>
#include <QWidget>

#include <functional>

class QAction;
class QLineEdit;
class QMenu;
namespace Commands {
enum class CommandId;
}

// Holds the popup menus and is never shown; their items come from the commands' rows. An item
// does not act itself: it writes its command word into the main window's mailbox `txtAction`,
// and the main window acts on the word. Only "Remove All" empties the queue itself.
class frmMenu : public QWidget
{
    Q_OBJECT
public:
    frmMenu(QLineEdit *txtAction, std::function<void()> removeAll, QWidget *parent = nullptr);

    QMenu *menuFile = nullptr;
    QMenu *menuOptions = nullptr;
    QMenu *menuAbout = nullptr;
    QMenu *menuRemove = nullptr;

    QAction *menuAddaFile = nullptr;
    QAction *menuAddaFolder = nullptr;
    QAction *menuS = nullptr;
    QAction *menuExit = nullptr;
    QAction *menuOption = nullptr;
    QAction *menuHelp = nullptr;
    QAction *menuA = nullptr;
    QAction *menuRemoveSelected = nullptr;
    QAction *menuRemoveAll = nullptr;

    // The item of `command`; nullptr when it has none.
    QAction *Item(Commands::CommandId command) const;

private:
    QLineEdit *m_txtAction;
    QHash<int, QAction *> m_items;
};
