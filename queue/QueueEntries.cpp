#include "QueueEntries.h"

#include "CodePage.h"
#include "PathHelpers.h"
#include "TemporaryCopies.h"

#include <QDir>

namespace {

QueueEntry Reachable(const QString &path, const QString &tempFolder, const QByteArray &bytes = {})
{
    const QueuedInput input =
        QueueInputPath(path, tempFolder, QDateTime::currentDateTime(), CodePage::Active(), bytes);
    QueueEntry entry;
    entry.inputPath = input.path;
    entry.rowText = MakeDisplayText(path);
    if (input.copyFailed)
        entry.problem = QStringLiteral("the file could not be copied to a name the converter can read");
    return entry;
}

} // namespace

// Dialogs and drops name files with '/'; the queue holds the system's own separators, which the
// output's title and the command line are cut by.
QueueEntry DialogEntry(const QString &path, const QString &tempFolder)
{
    QueueEntry entry = Reachable(QDir::toNativeSeparators(path), tempFolder);
    entry.formatCode = FormatCode(TrimSpaces(entry.rowText));
    return entry;
}

QueueEntry WideDropEntry(const QString &name, const QString &tempFolder, const QByteArray &bytes)
{
    QueueEntry entry = Reachable(QDir::toNativeSeparators(name), tempFolder, bytes);
    entry.formatCode = FormatCode(name);
    return entry;
}

QueueEntry NarrowDropEntry(const QString &name)
{
    const QString narrow = NarrowForm(QDir::toNativeSeparators(name));
    return {narrow, narrow, FormatCode(narrow), {}};
}

QList<QueueEntry> FoundFileEntries(const QStringList &paths, const QHash<qsizetype, QByteArray> &rawPaths,
                                   const QString &tempFolder)
{
    QList<QueueEntry> entries;
    entries.reserve(paths.size());
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString &path = paths[i];
        QueueEntry entry{path, path, FormatCode(TrimSpaces(path)), {}};
        if (const auto raw = rawPaths.constFind(i); raw != rawPaths.cend()) {
            const QueueEntry copy = Reachable(path, tempFolder, *raw);
            entry.inputPath = copy.inputPath;
            entry.problem = copy.problem;
        }
        entries.append(entry);
    }
    return entries;
}
