// The main window's commands: the toolbar, the menu tabs, the mailbox the menus write into and
// the shortcuts, all read from one table, and the dialogs the commands open.
#include "Commands.h"
#include "CutterIndicator.h"
#include "HotArea.h"
#include "SkinLayout.h"
#include "engine/BatchConverter.h"
#include "frmMain.h"
#include "frmMenu.h"
#include "frmOptions.h"
#include "frmSuggest.h"
#include "platform/MessagePump.h"
#include "platform/Shell.h"
#include "platform/UserMessages.h"

#include <QLineEdit>
#include <QMenu>
#include <QShortcut>

using Commands::CommandId;

void frmMain::RunCommand(CommandId id)
{
    switch (id) {
    case CommandId::AddFile:
        imgAdd_Click();
        break;
    case CommandId::AddFolder:
        AddFolderToQueue();
        break;
    case CommandId::Remove:
        m_frmMenu->menuRemove->exec(QCursor::pos());
        break;
    case CommandId::RemoveSelected:
        imgRemove_Click();
        break;
    case CommandId::Options:
        ShowOptions();
        break;
    case CommandId::Help:
        imgHelp_Click();
        break;
    case CommandId::Exit:
        imgExit_Click();
        break;
    case CommandId::About:
        ShowAbout();
        break;
    case CommandId::Convert:
        imgConvert_Click();
        break;
    case CommandId::Stop:
        imgStop_Click();
        break;
    case CommandId::RemoveAll:
        menuRemoveAll_Click();
        break;
    }
}

void frmMain::imgToolbar_Click(qint16 index)
{
    // The first use of the toolbar puts the start panel away for good.
    m_ui.picDoor->hide();
    repaint();
    platform::PumpMessages();
    if (const Commands::Command *command = Commands::AtToolbar(index))
        RunCommand(command->id);
}

void frmMain::imgMenu_Click(qint16 index)
{
    static constexpr QMenu *frmMenu::*menus[] = {&frmMenu::menuFile, &frmMenu::menuOptions,
                                                 &frmMenu::menuAbout};
    if (index < 0 || index > 2)
        return;
    // Each tab's menu opens at its left edge, just below it.
    const QRect tab = SkinLayout::kMenuTabs[index];
    (m_frmMenu->*menus[index])->exec(mapToGlobal(QPoint(tab.left(), tab.top() + tab.height())));
}

void frmMain::txtAction_Change()
{
    // Every word is compared with the mailbox as it is now; an operation may have changed it.
    for (const Commands::Command &command : Commands::kCommands) {
        if (!command.word || m_ui.txtAction->text() != QLatin1String(command.word))
            continue;
        if (command.wordRoute == Commands::Route::Toolbar)
            imgToolbar_Click(qint16(command.toolbarIndex));
        else
            RunCommand(command.id);
    }
    // Emptying the mailbox runs this once more, with nothing to match.
    m_ui.txtAction->setText(QString());
}

bool frmMain::CoveredByStartPanel(const QWidget *control) const
{
    const QWidget *panel = m_ui.picDoor;
    if (control == this || !panel->isVisibleTo(this) || panel->isAncestorOf(control))
        return false;
    return QRect(panel->mapTo(this, QPoint()), panel->size())
        .intersects(QRect(control->mapTo(this, QPoint()), control->size()));
}

void frmMain::BuildShortcuts()
{
    // Shortcuts go only where a click may go: nothing that changes the queue or the options
    // while a batch runs.
    const auto add = [this](const QKeySequence &keys, QWidget *gate, std::function<void()> act) {
        auto *key = new QShortcut(keys, this);
        connect(key, &QShortcut::activated, this, [this, gate, act = std::move(act)] {
            if (gate->isEnabled() && gate->isVisibleTo(gate->window()) && !CoveredByStartPanel(gate))
                act();
        });
    };
    for (const Commands::Command &command : Commands::kCommands) {
        if (!command.shortcut)
            continue;
        QWidget *gate = nullptr;
        switch (command.keyGate) {
        case Commands::KeyGate::None:
            gate = this;
            break;
        case Commands::KeyGate::ToolbarButton:
            gate = m_ui.imgToolbar.value(command.toolbarIndex);
            break;
        case Commands::KeyGate::RemoveButton:
            gate = m_ui.imgToolbar.value(Commands::Of(CommandId::Remove).toolbarIndex);
            break;
        case Commands::KeyGate::Convert:
            gate = m_ui.imgConvert;
            break;
        case Commands::KeyGate::Help:
            gate = m_ui.imgHelp;
            break;
        case Commands::KeyGate::Exit:
            gate = m_ui.imgExit;
            break;
        case Commands::KeyGate::Stop:
            gate = m_ui.imgStop;
            break;
        }
        const CommandId id = command.id;
        const int toolbarIndex = command.toolbarIndex;
        if (command.keyRoute == Commands::Route::Toolbar)
            add(QKeySequence(QString::fromLatin1(command.shortcut)), gate,
                [this, toolbarIndex] { imgToolbar_Click(qint16(toolbarIndex)); });
        else
            add(QKeySequence(QString::fromLatin1(command.shortcut)), gate, [this, id] { RunCommand(id); });
    }
    // Alt and a menu's first letter open that menu.
    for (int i = 0; i < 3; ++i) {
        add(QKeySequence(QStringLiteral("Alt+") + QLatin1Char(SkinLayout::kMenuCaptions[i][0])),
            m_ui.imgMenu[i], [this, i] { imgMenu_Click(qint16(i)); });
    }
}

void frmMain::imgHelp_Click()
{
    m_services.shell.OpenWebPage(m_site + QStringLiteral("/tutorial.html"));
    m_ui.imgHelp->Idle();
}

void frmMain::imgMin_Click()
{
    showMinimized();
    m_ui.imgMin->Idle();
}

void frmMain::ShowAbout()
{
    m_services.messages.Show(m_site + QStringLiteral(" 2026\nAll rights reserved.\n") + m_site,
                             QStringLiteral("Brimwave"), platform::UserMessages::Icon::None);
}

void frmMain::lblFeed_Click()
{
    frmSuggest form(m_site, this);
    form.exec();
}

void frmMain::ShowOptions()
{
    frmOptions dialog(m_cutter, m_settings.ToWrite(QStringLiteral("options.ini")), m_services.messages,
                      m_mostFilesAtOnce, this);
    dialog.exec();
    m_ui.lblCut->ShowCutter(m_cutter);
}
