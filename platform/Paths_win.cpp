#include "Paths.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>

#include <windows.h>

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

// Whether `path` is `folder` or inside it, in any case.
bool IsWithin(const QString &path, const QString &folder)
{
    if (folder.isEmpty())
        return false;
    const QString inner = QDir::toNativeSeparators(QDir::cleanPath(path)) + PathSeparator();
    QString outer = QDir::toNativeSeparators(QDir::cleanPath(folder));
    if (!outer.endsWith(PathSeparator()))
        outer += PathSeparator();
    return inner.startsWith(outer, Qt::CaseInsensitive);
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

bool SettingsMayLiveIn(const QString &programFolder)
{
    // An installed program keeps each user's settings apart, even where its folder could be
    // written (by an administrator, or under Wine).
    for (const char *variable : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"}) {
        if (IsWithin(programFolder, qEnvironmentVariable(variable)))
            return false;
    }
    // Qt reads no access rights on Windows: a file made and deleted at once tells.
    const std::wstring probe =
        (QDir::toNativeSeparators(programFolder) + PathSeparator() + QStringLiteral(".brimwave-write-test"))
            .toStdWString();
    const HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
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
