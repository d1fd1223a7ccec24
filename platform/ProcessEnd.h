#pragma once

#include <functional>

namespace platform {

// Work that must be done however the program ends, also when it ends at once from deep inside
// a conversion (giving the single-instance lock back, for one).
void DoBeforeProcessEnd(std::function<void()> step);

// Runs the registered steps, newest first, then ends the process at once with exit code 0:
// no further event is handled and no destructor runs.
[[noreturn]] void EndProcessNow();

} // namespace platform
