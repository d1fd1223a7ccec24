#include "ConverterProcess.h"

#include <QProcess>

#ifdef Q_OS_LINUX
#include "ChildProcess.h"

#include <unistd.h>
#endif

namespace platform {

void PrepareConverterProcess(QProcess &process)
{
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
#ifdef Q_OS_LINUX
    const pid_t parent = ::getpid();
    process.setChildProcessModifier([parent] {
        if (!PrepareConverterChildSide(parent))
            ::_exit(127);
    });
#endif
}

} // namespace platform
