#include "TemporaryCopies.h"

#include "PathHelpers.h"
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

const QFileDevice::Permissions kOwnerAll = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ExeOwner | QFileDevice::ReadUser |
                                           QFileDevice::WriteUser | QFileDevice::ExeUser;

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
    if (title.trimmed().isEmpty())
        title = now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return title;
}

QString QueueInputPath(const QString &path, const QString &tempFolder, const QDateTime &now,
                       const CodePage &page)
{
    if (FileExists(path, page))
        return path;
    QDir().mkpath(tempFolder);
    const QString copy = FreeCopyPath(tempFolder, CleanedCopyTitle(path, now, page) + kCopySuffix);
    // A failed copy is still queued: its conversion then fails and is reported with the batch.
    QFile::copy(path, copy);
    return copy;
}

void DeleteFolderTree(const QString &folder)
{
    const QFileInfo root(folder);
    if (root.isSymLink()) {
        QFile::remove(folder);
        return;
    }
    if (!root.isDir())
        return;
    // A folder without write or search rights keeps its entries: open it up first.
    QFile::setPermissions(folder, QFile::permissions(folder) | kOwnerAll);
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QFileInfo &entry : entries) {
        const QString path = entry.filePath();
        if (entry.isSymLink()) {
            QFile::remove(path);
        } else if (entry.isDir()) {
            DeleteFolderTree(path);
        } else {
            QFile::setPermissions(path,
                                  entry.permissions() | QFileDevice::WriteOwner | QFileDevice::WriteUser);
            QFile::remove(path);
        }
        platform::PumpMessages();
    }
    QDir().rmdir(folder);
}
