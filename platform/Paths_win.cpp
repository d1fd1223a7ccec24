#include "Paths.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>

namespace platform {
namespace {

// The program's folder in the user's folder that `variable` names (%APPDATA%, %LOCALAPPDATA%),
// or in `fallback` when the variable is not set.
QString UserFolder(const char *variable, QStandardPaths::StandardLocation fallback)
{
    QString parent = qEnvironmentVariable(variable);
    if (parent.isEmpty())
        parent = QStandardPaths::writableLocation(fallback);
    return QDir::toNativeSeparators(parent) + PathSeparator() + QStringLiteral("Brimwave");
}

} // namespace

qsizetype PathLength(const QString &path)
{
    return path.size();
}

QString LongestPathText()
{
    return QStringLiteral("%L1 characters").arg(kLongestPath);
}

QString ProgramFolder()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

ProgramPlaces ProgramPlaces::ForThisProgram()
{
    const QChar sep = PathSeparator();
    const QString cache = UserFolder("LOCALAPPDATA", QStandardPaths::GenericConfigLocation);
    ProgramPlaces places;
    places.programFolder = ProgramFolder();
    places.configFolder = UserFolder("APPDATA", QStandardPaths::GenericDataLocation);
    places.tempFolder = cache + sep + QStringLiteral("tmp");
    places.unfinishedNote = cache + sep + QStringLiteral("unfinished-output");
    places.instanceLock = cache + sep + QStringLiteral("instance.lock");
    // A named pipe, per user: its name comes from the user's own folder.
    places.instanceSocket =
        QStringLiteral("brimwave-") +
        QString::fromLatin1(
            QCryptographicHash::hash(cache.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
    places.outputParent = QStringLiteral("c:");
    places.browseFallbackFolder = QStringLiteral("C:\\output");
    places.browseFallbackName = QStringLiteral("C:\\Output");
    return places;
}

} // namespace platform
