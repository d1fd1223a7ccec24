#pragma once

namespace platform {

// Lets the application handle the events waiting for it, so windows stay alive during long work.
void PumpMessages();

} // namespace platform
