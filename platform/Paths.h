#pragma once

#include <QChar>
#include <QString>

namespace platform {

// The separator the program puts into paths it builds.
constexpr QChar PathSeparator()
{
#ifdef Q_OS_WIN
    return QLatin1Char('\\');
#else
    return QLatin1Char('/');
#endif
}

// The folder that holds the running executable; settings, sound and data/conv live beside it.
QString ProgramFolder();

} // namespace platform
