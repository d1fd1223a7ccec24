#include "ConverterProcess.h"

#include "ChildProcess.h"

#include <QProcess>

#include <unistd.h>

namespace platform {

void PrepareConverterProcess(QProcess &process)
{
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    const pid_t parent = ::getpid();
    process.setChildProcessModifier([parent] {
        if (!PrepareConverterChildSide(parent))
            ::_exit(127);
    });
}

} // namespace platform
