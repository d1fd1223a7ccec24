#include "Paths.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr qsizetype kLongestSocketPath = 100;

bool Fits(const QString &socketPath)
{
    return QFile::encodeName(socketPath).size() <= kLongestSocketPath;
}

// A folder that this user alone may write: it exists, is no link, is the user's own and open
// to nobody else.
bool OnlyOurs(const QString &folder)
{
    const QByteArray path = QFile::encodeName(folder);
    struct stat info
    {
    };
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & 077) == 0;
}

// A local socket's path must fit the system's address field. A deep home folder gets a short
// name in the user's runtime folder instead, or in a folder of the user's own in the shared
// temporary folder; never a name another user could take first. Empty when there is no such
// place: later starts then cannot hand their files over.
QString SocketPlace(const QString &beside)
{
    if (Fits(beside))
        return beside;
    const QString name =
        QStringLiteral("brimwave-") +
        QString::fromLatin1(
            QCryptographicHash::hash(beside.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && Fits(runtime + QLatin1Char('/') + name) &&
        OnlyOurs(runtime))
        return runtime + QLatin1Char('/') + name;
    const QString own = QDir::tempPath() + QStringLiteral("/brimwave-%1").arg(::geteuid());
    // The folder of our own is made when missing; the runtime folder is the system's to make.
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    if (Fits(own + QLatin1Char('/') + name) && OnlyOurs(own))
        return own + QLatin1Char('/') + name;
    return {};
}

} // namespace

qsizetype PathLength(const QString &path)
{
    return QFile::encodeName(path).size();
}

QString LongestPathText()
{
    return QStringLiteral("%L1 bytes").arg(kLongestPath);
}

bool SettingsMayLiveIn(const QString &programFolder)
{
    return QFileInfo(programFolder).isWritable();
}

QString ProgramFolder()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

ProgramPlaces ProgramPlaces::ForThisProgram()
{
    const QChar sep = PathSeparator();
    const QString cache =
        QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
    ProgramPlaces places;
    places.programFolder = ProgramFolder();
    places.configFolder =
        QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    places.tempFolder = cache + sep + QStringLiteral("tmp");
    places.unfinishedNote = cache + sep + QStringLiteral("unfinished-output");
    places.instanceLock = cache + sep + QStringLiteral("instance.lock");
    places.instanceSocket = SocketPlace(cache + sep + QStringLiteral("instance.socket"));
    places.outputParent = QDir::homePath();
    places.browseFallbackFolder = places.outputParent + sep + QStringLiteral("output");
    places.browseFallbackName = places.browseFallbackFolder;
    return places;
}

} // namespace platform
