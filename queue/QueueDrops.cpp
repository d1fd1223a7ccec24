#include "QueueDrops.h"

#include "QueueEntries.h"
#include "TemporaryCopies.h"
#include "platform/MessagePump.h"
#include "platform/TextEncoding.h"

#include <QAbstractItemView>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

std::optional<QStringList> DroppedFiles(const QMimeData *data, QList<QByteArray> *bytes)
{
    if (!data || !data->hasUrls())
        return std::nullopt;
    QStringList files;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        files.append(url.toLocalFile());
        if (bytes)
            bytes->append(platform::NameBytesOfAddress(url));
    }
    if (files.isEmpty())
        return std::nullopt;
    return files;
}

QueueDrops::QueueDrops(const Targets &targets, QueueModel &queue, QString tempFolder, QObject *parent)
    : QObject(parent), m_targets(targets), m_queue(queue), m_tempFolder(std::move(tempFolder))
{
    for (QWidget *target : {m_targets.picDoor, m_targets.picDrop, m_targets.LV->viewport()}) {
        target->setAcceptDrops(true);
        target->installEventFilter(this);
    }
    m_targets.LV->setAcceptDrops(true);
}

bool QueueDrops::eventFilter(QObject *watched, QEvent *event)
{
    QWidget *list = m_targets.LV->viewport();
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        drag->acceptProposedAction();
        if (watched == list)
            LV_OLEDragOver();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (m_ignore && m_ignore()) {
            drop->ignore();
            return true;
        }
        // The files are copied into the queue, never moved.
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (watched == m_targets.picDoor)
            picDoor_OLEDragDrop(drop->mimeData());
        else if (watched == m_targets.picDrop)
            picDrop_OLEDragDrop(drop->mimeData());
        else
            LV_OLEDragDrop(drop->mimeData());
        return true;
    }
    case QEvent::MouseButtonPress:
        if (watched == m_targets.picDrop) {
            picDrop_Click();
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool QueueDrops::QueueWideDropFiles(const QMimeData *data, QStringList &fileList,
                                    QList<QueueEntry> &entries) const
{
    QList<QByteArray> bytes;
    const std::optional<QStringList> names = DroppedFiles(data, &bytes);
    if (!names)
        return false;
    // Each name's input path (with a temporary copy where needed) and its row, in the drop's
    // order; the caller adds them to the queue in one step.
    for (qsizetype i = 0; i < names->size(); ++i)
        entries.append(WideDropEntry(names->at(i), m_tempFolder, bytes.value(i)));
    fileList = *names;
    return true;
}

void QueueDrops::WideDrop(const QMimeData *data)
{
    MakeTemporaryFolder(m_tempFolder);
    QStringList fileList;
    QList<QueueEntry> entries;
    if (QueueWideDropFiles(data, fileList, entries))
        m_queue.Append(entries);
}

void QueueDrops::HideHintWhenQueued()
{
    if (m_queue.IsEmpty())
        return;
    platform::PumpMessages();
    m_targets.picText->hide();
}

void QueueDrops::picDoor_OLEDragDrop(const QMimeData *data)
{
    m_targets.picDoor->hide();
    WideDrop(data);
    HideHintWhenQueued();
}

void QueueDrops::picDrop_OLEDragDrop(const QMimeData *data)
{
    WideDrop(data);
    m_targets.picDrop->hide();
    HideHintWhenQueued();
}

void QueueDrops::LV_OLEDragDrop(const QMimeData *data)
{
    if (const std::optional<QStringList> names = DroppedFiles(data)) {
        QList<QueueEntry> entries;
        for (const QString &name : *names)
            entries.append(NarrowDropEntry(name));
        m_queue.Append(entries);
    }
    HideHintWhenQueued();
}

void QueueDrops::LV_OLEDragOver()
{
    m_targets.picDrop->show();
    m_targets.picDrop->raise();
}

void QueueDrops::QueueOnStartPanel(const QStringList &files)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString &file : files)
        urls.append(QUrl::fromLocalFile(file));
    data.setUrls(urls);
    picDoor_OLEDragDrop(&data);
}

void QueueDrops::picDrop_Click()
{
    m_targets.picDrop->hide();
}
