#include "Paths.h"

#include <QCoreApplication>
#include <QDir>

namespace platform {

QString ProgramFolder()
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

} // namespace platform
