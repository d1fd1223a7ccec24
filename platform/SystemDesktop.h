#pragma once

#include "DesktopTask.h"

#include <memory>

namespace platform {

// The desktop the program runs on: its taskbar entry's progress and its notifications.
// `desktopEntry` names the program's desktop entry where the desktop asks for one.
std::unique_ptr<DesktopTask> SystemDesktop(const QString &desktopEntry);

// The name of the program's desktop entry (its .desktop file without the extension).
inline QString ProgramDesktopEntry()
{
    return QStringLiteral("brimwave");
}

} // namespace platform
