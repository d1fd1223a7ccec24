#include "TemporaryCopies.h"

#include "PathHelpers.h"
#include "platform/FileSystem.h"
#include "platform/MessagePump.h"
#include "platform/Paths.h"
#include "settings/PathTests.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr qsizetype kMaxTitleLength = 200;
// The file system's limit for one name, in bytes.
constexpr qsizetype kMaxNameBytes = 255;
const QLatin1String kCopySuffix(".tmp");
// Marks a temporary folder that the program made itself, and so may delete.
const QLatin1String kOwnFolderMarker(".brimwave-temporary-folder");

QString FreeCopyPath(const QString &tempFolder, const QString &fileName)
{
    const QChar sep = platform::PathSeparator();
    QString candidate = tempFolder + sep + fileName;
    for (int n = 1; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n) {
        const QString folder = tempFolder + sep + QString::number(n);
        QDir().mkpath(folder);
        candidate = folder + sep + fileName;
    }
    return candidate;
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
    while (!title.isEmpty() && QFile::encodeName(title + kCopySuffix).size() > kMaxNameBytes)
        title.chop(1);
    if (TrimSpaces(title).isEmpty())
        title = now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return title;
}

QString QueueInputPath(const QString &path, const QString &tempFolder, const QDateTime &now,
                       const CodePage &page)
{
    if (FileExists(path, page))
        return path;
    MakeTemporaryFolder(tempFolder);
    const QString copy = FreeCopyPath(tempFolder, CleanedCopyTitle(path, now, page) + kCopySuffix);
    // A failed copy is still queued: its conversion then fails and is reported with the batch.
    QFile::copy(path, copy);
    return copy;
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
