// What the tests of the queue's input share: drops as a file manager delivers them, and a window
// with a library folder to add.
#pragma once

#include "WindowFakes.h"
#include "ui/frmMain.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>

#include <gtest/gtest.h>

// A drag of `data` entering `target`; the application then sends the drag's further events
// to the widget that took it.
inline void DragEnter(QWidget *target, const QMimeData *data)
{
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
}

// Delivers a drop of `data` on `target`, as a file manager's drop arrives; the drop action the
// window reports back to the source.
inline Qt::DropAction Drop(QWidget *target, QMimeData *data)
{
    DragEnter(target, data);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    delete data;
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

class AddFolder : public testing::Test
{
protected:
    QStringList Add(const QString &folder)
    {
        f.dialogs.folders = {folder};
        w.AddFolderToQueue();
        return w.Queue().lstFile();
    }
    WindowFixture f;
    frmMain &w = f.Start();
    QString root = f.work.path() + "/library";
};
