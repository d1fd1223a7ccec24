#pragma once

class QProcess;

namespace platform {

// Makes a QProcess start a converter as the program's own child process does: its output and
// errors in one channel, no input, the system's standard handling of the end signals, and it
// ends with the program, however the program ends.
void PrepareConverterProcess(QProcess &process);

} // namespace platform
