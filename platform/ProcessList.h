#pragma once

#include <QString>

namespace platform {

// The converter's file name in the program's data folder, which is also the name under which it
// runs and is recognised in the process list.
QString ConverterProcessName();

// True when any live process of the current user has the executable name `name`, compared
// after lower-casing both. A zombie (ended but not yet reaped) does not count as running.
bool IsProcessNameRunning(const QString &name);

// Ends every live process of the current user whose executable name equals `name`
// (lower-cased compare).
// Processes that cannot be signalled are skipped. Returns how many were signalled.
int KillProcessByName(const QString &name);

} // namespace platform
