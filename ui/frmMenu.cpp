#include "frmMenu.h"

#include <QLineEdit>
#include <QMenu>

frmMenu::frmMenu(QLineEdit *txtAction, std::function<void()> removeAll, QWidget *parent)
    : QWidget(parent, Qt::Window), m_txtAction(txtAction)
{
    setWindowTitle(QStringLiteral("Menu"));
    menuFile = new QMenu(QStringLiteral("File"), this);
    menuAddaFile = Item(menuFile, QStringLiteral("Add a File(&A)"), QStringLiteral("AddaFile"));
    menuAddaFolder = Item(menuFile, QStringLiteral("Add a Folder(&F)"), QStringLiteral("menuAddaFolder"));
    menuS = menuFile->addSeparator();
    menuExit = Item(menuFile, QStringLiteral("Exit(&E)"), QStringLiteral("menuExit"));

    menuOptions = new QMenu(QStringLiteral("Options"), this);
    menuOption = Item(menuOptions, QStringLiteral("Options(&O)"), QStringLiteral("menuOption"));

    menuAbout = new QMenu(QStringLiteral("About"), this);
    menuHelp = Item(menuAbout, QStringLiteral("Help(&H)"), QStringLiteral("menuHelp"));
    menuA = Item(menuAbout, QStringLiteral("About(&A)"), QStringLiteral("A"));

    menuRemove = new QMenu(QStringLiteral("Remove"), this);
    menuRemoveSelected =
        Item(menuRemove, QStringLiteral("Remove Selected"), QStringLiteral("RemoveSelected"));
    menuRemoveAll = menuRemove->addAction(QStringLiteral("Remove All"));
    connect(menuRemoveAll, &QAction::triggered, this, [removeAll = std::move(removeAll)] { removeAll(); });
}

QAction *frmMenu::Item(QMenu *menu, const QString &caption, const QString &word)
{
    QAction *item = menu->addAction(caption);
    connect(item, &QAction::triggered, this, [this, word] { m_txtAction->setText(word); });
    return item;
}
