#include "TemporaryCopies.h"

#include "PathHelpers.h"
#include "platform/FileSystem.h"
#include "platform/MessagePump.h"
#include "platform/Paths.h"
#include "platform/TextEncoding.h"
#include "queue/PathTests.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace {

constexpr qsizetype kMaxTitleLength = 200;
// The file system's limit for one name, in bytes.
constexpr qsizetype kMaxNameBytes = 255;
const QLatin1String kCopySuffix(".tmp");
// Marks a temporary folder that the program made itself, and so may delete.
const QLatin1String kOwnFolderMarker(".brimwave-temporary-folder");

// Takes a free path for a copy named `fileName` and reserves it with an empty file, so that no
// later copy gets it, even if this one fails. Colliding names go into numbered folders; the
// search goes on from the last number taken for that name.
QString TakeCopyPath(const QString &tempFolder, const QString &fileName)
{
    static QHash<QString, int> nextFolder;
    const QChar sep = platform::PathSeparator();
    const QString first = tempFolder + sep + fileName;
    int &next = nextFolder[first];
    QString candidate = next == 0 ? first : QString();
    for (int attempt = 0; attempt < 10000; ++attempt) {
        if (!candidate.isEmpty() && !platform::IsSymLink(candidate)) {
            QFile reserved(candidate);
            if (reserved.open(QIODevice::WriteOnly | QIODevice::NewOnly))
                return candidate;
        }
        const QString folder = tempFolder + sep + QString::number(++next);
        QDir().mkpath(folder);
        candidate = folder + sep + fileName;
    }
    return candidate;
}

// Copies `source` over the reserved `target`; false when it cannot be read or written whole.
bool CopyInto(const QString &source, const QString &target)
{
    QFile from(source);
    QFile to(target);
    if (!QFileInfo(source).isFile() || !from.open(QIODevice::ReadOnly) || !to.open(QIODevice::WriteOnly))
        return false;
    char buffer[64 * 1024];
    for (;;) {
        const qint64 got = from.read(buffer, sizeof buffer);
        if (got == 0)
            return to.flush();
        if (got < 0 || to.write(buffer, got) != got)
            return false;
    }
}

} // namespace

QString CleanedCopyTitle(const QString &path, const QDateTime &now, const CodePage &page)
{
    QString title = TitleOfPath(page.Narrow(path));
    for (QChar &ch : title) {
        if (QStringView(u"/\\<>?\":*|").contains(ch))
            ch = QLatin1Char(' ');
    }
    title.truncate(kMaxTitleLength);
    while (!title.isEmpty() && platform::NameBytes(title + kCopySuffix).size() > kMaxNameBytes)
        title.chop(1);
    if (TrimSpaces(title).isEmpty())
        title = now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return title;
}

QueuedInput QueueInputPath(const QString &path, const QString &tempFolder, const QDateTime &now,
                           const CodePage &page, const QByteArray &bytes)
{
    const bool byBytes = !bytes.isEmpty() && platform::NameBytes(path) != bytes;
    if (!byBytes && FileExists(path, page))
        return {path, false};
    MakeTemporaryFolder(tempFolder);
    const QString copy = TakeCopyPath(tempFolder, CleanedCopyTitle(path, now, page) + kCopySuffix);
    // A failed copy is still queued, its place kept: the batch reports it when its turn comes.
    const bool copied = byBytes ? platform::CopyFileByName(bytes, copy) : CopyInto(path, copy);
    return {copy, !copied};
}

void MarkAsOwnFolder(const QString &folder)
{
    QFile marker(folder + platform::PathSeparator() + kOwnFolderMarker);
    if (marker.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        marker.write("Brimwave keeps temporary copies here and deletes this folder when it starts.\n");
}

void MakeTemporaryFolder(const QString &folder)
{
    if (!QFileInfo(folder).isDir() && QDir().mkpath(folder))
        MarkAsOwnFolder(folder);
}

void DeleteFolderTree(const QString &folder)
{
    // Only the program's own folder, reached without a link: a folder it did not make, or one
    // that a link has put somewhere else, is not the program's to delete.
    const QFileInfo marker(folder + platform::PathSeparator() + kOwnFolderMarker);
    if (platform::IsSymLink(folder) || platform::IsSymLink(QFileInfo(folder).absolutePath()) ||
        marker.isSymLink() || !marker.isFile())
        return;
    // What could not be deleted is tried again at the next start.
    if (!platform::RemoveFolderTree(folder, platform::PumpMessages) && QFileInfo(folder).isDir())
        MarkAsOwnFolder(folder);
}
