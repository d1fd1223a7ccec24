#include "Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace platform {

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
    places.tempFolder = cache + sep + QStringLiteral("tmp");
    places.instanceLock = cache + sep + QStringLiteral("instance.lock");
#ifdef Q_OS_WIN
    places.defaultOutputFolder = QStringLiteral("c:\\output");
#else
    places.defaultOutputFolder = QDir::homePath() + sep + QStringLiteral("output");
#endif
    return places;
}

} // namespace platform
