#pragma once

#include "QueueModel.h"

#include <QHash>
#include <QString>
#include <QStringList>

// How each way of filling the queue makes its entries.

// A file chosen in the open dialog: its own path, or a temporary copy when the converter cannot
// reach it by name; the row shows the chosen name; the format code comes from the row.
QueueEntry DialogEntry(const QString &path, const QString &tempFolder);

// A name dropped on the start panel or the list's overlay: queued like a chosen file; the format
// code comes from the dropped name itself.
// `bytes` name the file on disk where `name` cannot (no text in the system's encoding).
QueueEntry WideDropEntry(const QString &name, const QString &tempFolder, const QByteArray &bytes = {});

// A name dropped on the list itself: queued, shown and coded in its narrow form, unchanged.
QueueEntry NarrowDropEntry(const QString &name);

// Paths found in a folder: each queued unchanged and shown as it is, its format code from the
// path trimmed of spaces. A file only its bytes can reach (`rawPaths`, by index) is queued as
// a temporary copy made from them.
QList<QueueEntry> FoundFileEntries(const QStringList &paths,
                                   const QHash<qsizetype, QByteArray> &rawPaths = {},
                                   const QString &tempFolder = {});
