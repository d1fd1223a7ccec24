#pragma once

#include <windows.h>

namespace platform {

// Puts a converter into the program's one job object, which ends every process in it when the
// program's handle to it closes: however the program ends, no converter outlives it.
void PutInConverterJob(HANDLE process);

// The same, for a process known by its id.
void PutInConverterJob(unsigned long processId);

} // namespace platform
