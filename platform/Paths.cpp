#include "Paths.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace platform {
namespace {

// A local socket's path must fit the system's address field; a deep home folder gets a short
// per-user name in the system's place for sockets instead.
QString SocketPlace(const QString &beside)
{
    constexpr qsizetype kLongestSocketPath = 100;
    if (QFile::encodeName(beside).size() <= kLongestSocketPath)
        return beside;
    return QStringLiteral("brimwave-") +
           QString::fromLatin1(
               QCryptographicHash::hash(beside.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

} // namespace

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
    places.instanceLock = cache + sep + QStringLiteral("instance.lock");
    places.instanceSocket = SocketPlace(cache + sep + QStringLiteral("instance.socket"));
#ifdef Q_OS_WIN
    places.defaultOutputFolder = QStringLiteral("c:\\output");
    places.browseFallbackFolder = QStringLiteral("C:\\output");
    places.browseFallbackName = QStringLiteral("C:\\Output");
#else
    places.defaultOutputFolder = QDir::homePath() + sep + QStringLiteral("output");
    places.browseFallbackFolder = places.defaultOutputFolder;
    places.browseFallbackName = places.defaultOutputFolder;
#endif
    return places;
}

} // namespace platform
