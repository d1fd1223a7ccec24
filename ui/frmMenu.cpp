#include "frmMenu.h"

#include "Commands.h"

#include <QLineEdit>
#include <QMenu>

#include <algorithm>
#include <vector>

frmMenu::frmMenu(QLineEdit *txtAction, std::function<void()> removeAll, QWidget *parent)
    : QWidget(parent, Qt::Window), m_txtAction(txtAction)
{
    setWindowTitle(QStringLiteral("Menu"));
    menuFile = new QMenu(QStringLiteral("File"), this);
    menuOptions = new QMenu(QStringLiteral("Options"), this);
    menuAbout = new QMenu(QStringLiteral("About"), this);
    menuRemove = new QMenu(QStringLiteral("Remove"), this);
    const std::pair<Commands::Menu, QMenu *> menus[] = {{Commands::Menu::File, menuFile},
                                                        {Commands::Menu::Options, menuOptions},
                                                        {Commands::Menu::About, menuAbout},
                                                        {Commands::Menu::Remove, menuRemove}};
    // Each menu's items from the commands' rows, in their order there.
    for (const auto &[which, menu] : menus) {
        std::vector<const Commands::Command *> rows;
        for (const Commands::Command &command : Commands::kCommands) {
            if (command.menuItem.menu == which)
                rows.push_back(&command);
        }
        std::sort(rows.begin(), rows.end(),
                  [](const auto *a, const auto *b) { return a->menuItem.order < b->menuItem.order; });
        for (const Commands::Command *command : rows) {
            if (command->menuItem.separatorBefore)
                menuS = menu->addSeparator();
            QAction *item = menu->addAction(QString::fromLatin1(command->menuItem.caption));
            m_items.insert(int(command->id), item);
            if (command->word) {
                const QString word = QString::fromLatin1(command->word);
                connect(item, &QAction::triggered, this, [this, word] { m_txtAction->setText(word); });
            }
        }
    }
    // Only Remove All acts itself.
    connect(Item(Commands::CommandId::RemoveAll), &QAction::triggered, this,
            [removeAll = std::move(removeAll)] { removeAll(); });
    menuAddaFile = Item(Commands::CommandId::AddFile);
    menuAddaFolder = Item(Commands::CommandId::AddFolder);
    menuExit = Item(Commands::CommandId::Exit);
    menuOption = Item(Commands::CommandId::Options);
    menuHelp = Item(Commands::CommandId::Help);
    menuA = Item(Commands::CommandId::About);
    menuRemoveSelected = Item(Commands::CommandId::RemoveSelected);
    menuRemoveAll = Item(Commands::CommandId::RemoveAll);
}

QAction *frmMenu::Item(Commands::CommandId command) const
{
    return m_items.value(int(command));
}
