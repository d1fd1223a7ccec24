#include "QueueEntries.h"

#include "CodePage.h"
#include "PathHelpers.h"
#include "TemporaryCopies.h"

namespace {

QueueEntry Reachable(const QString &path, const QString &tempFolder)
{
    const QueuedInput input = QueueInputPath(path, tempFolder);
    QueueEntry entry;
    entry.inputPath = input.path;
    entry.rowText = MakeDisplayText(path);
    if (input.copyFailed)
        entry.problem = QStringLiteral("the file could not be copied to a name the converter can read");
    return entry;
}

} // namespace

QueueEntry DialogEntry(const QString &path, const QString &tempFolder)
{
    QueueEntry entry = Reachable(path, tempFolder);
    entry.formatCode = FormatCode(TrimSpaces(entry.rowText));
    return entry;
}

QueueEntry WideDropEntry(const QString &name, const QString &tempFolder)
{
    QueueEntry entry = Reachable(name, tempFolder);
    entry.formatCode = FormatCode(name);
    return entry;
}

QueueEntry NarrowDropEntry(const QString &name)
{
    const QString narrow = NarrowForm(name);
    return {narrow, narrow, FormatCode(narrow), {}};
}

QList<QueueEntry> FoundFileEntries(const QStringList &paths)
{
    QList<QueueEntry> entries;
    entries.reserve(paths.size());
    for (const QString &path : paths)
        entries.append({path, path, FormatCode(TrimSpaces(path)), {}});
    return entries;
}
