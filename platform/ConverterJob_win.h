#pragma once

#include <windows.h>

namespace platform {

// Puts a converter into the program's one job object, which ends every process in it when the
// program's handle to it closes: however the program ends, no converter outlives it.
void PutInConverterJob(HANDLE process);

// The same, for a process known by its id.
void PutInConverterJob(unsigned long processId);

// Ends every process in the job: the converters and whatever they started, even one so new that
// the process list does not name it yet.
void EndConverterJob();

} // namespace platform
