#include "frmMenu.h"

#include "Commands.h"

#include <QLineEdit>
#include <QMenu>

frmMenu::frmMenu(QLineEdit *txtAction, std::function<void()> removeAll, QWidget *parent)
    : QWidget(parent, Qt::Window), m_txtAction(txtAction)
{
    setWindowTitle(QStringLiteral("Menu"));
    menuFile = new QMenu(QStringLiteral("File"), this);
    menuAddaFile = Item(menuFile, QStringLiteral("Add a File(&A)"), Commands::CommandId::AddFile);
    menuAddaFolder = Item(menuFile, QStringLiteral("Add a Folder(&F)"), Commands::CommandId::AddFolder);
    menuS = menuFile->addSeparator();
    menuExit = Item(menuFile, QStringLiteral("Exit(&E)"), Commands::CommandId::Exit);

    menuOptions = new QMenu(QStringLiteral("Options"), this);
    menuOption = Item(menuOptions, QStringLiteral("Options(&O)"), Commands::CommandId::Options);

    menuAbout = new QMenu(QStringLiteral("About"), this);
    menuHelp = Item(menuAbout, QStringLiteral("Help(&H)"), Commands::CommandId::Help);
    menuA = Item(menuAbout, QStringLiteral("About(&A)"), Commands::CommandId::About);

    menuRemove = new QMenu(QStringLiteral("Remove"), this);
    menuRemoveSelected =
        Item(menuRemove, QStringLiteral("Remove Selected"), Commands::CommandId::RemoveSelected);
    menuRemoveAll = menuRemove->addAction(QStringLiteral("Remove All"));
    connect(menuRemoveAll, &QAction::triggered, this, [removeAll = std::move(removeAll)] { removeAll(); });
}

QAction *frmMenu::Item(QMenu *menu, const QString &caption, Commands::CommandId command)
{
    const QString word = QString::fromLatin1(Commands::Of(command).word);
    QAction *item = menu->addAction(caption);
    connect(item, &QAction::triggered, this, [this, word] { m_txtAction->setText(word); });
    return item;
}
