#pragma once

#include "QueueModel.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

class QAbstractItemView;
class QMimeData;
class QWidget;

// The local files a drop carries, in the drop's order; none when it carries no file (text, web
// links), which is accepted and ignored like any drop without a file list.
// `bytes`, when given, gets each file's name on disk as bytes, in the same order.
std::optional<QStringList> DroppedFiles(const QMimeData *data, QList<QByteArray> *bytes = nullptr);

// Files dropped on the main window. The start panel `picDoor` and the list's overlay `picDrop`
// queue each dropped name as a chosen file (through a temporary copy where the converter cannot
// reach the name); the list `LV` queues the names unchanged in their narrow form. A drag over
// the list shows the overlay; a click on it, or the end of a drop on it, hides it.
class QueueDrops : public QObject
{
    Q_OBJECT
public:
    struct Targets
    {
        QWidget *picDoor;
        QWidget *picDrop;
        QAbstractItemView *LV;
        QWidget *picText;
    };

    QueueDrops(const Targets &targets, QueueModel &queue, QString tempFolder, QObject *parent = nullptr);
    // While it answers true (a folder search runs), every drop is ignored.
    void SetIgnoreDrops(std::function<bool()> ignore) { m_ignore = std::move(ignore); }

    void picDoor_OLEDragDrop(const QMimeData *data);
    void picDrop_OLEDragDrop(const QMimeData *data);
    void LV_OLEDragDrop(const QMimeData *data);
    void LV_OLEDragOver();
    void picDrop_Click();
    // Files the program was started with, or handed by a later start: queued as if dropped on
    // the start panel.
    void QueueOnStartPanel(const QStringList &files);

    // A drop on the start panel or the overlay: one entry per dropped file, in order, into
    // `entries` (its input path, a temporary copy where needed, and its row); `fileList` then
    // holds the dropped (wide) names. False when the data carries no file list.
    bool QueueWideDropFiles(const QMimeData *data, QStringList &fileList, QList<QueueEntry> &entries) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void WideDrop(const QMimeData *data);
    void HideHintWhenQueued();

    Targets m_targets;
    QueueModel &m_queue;
    QString m_tempFolder;
    std::function<bool()> m_ignore;
};
