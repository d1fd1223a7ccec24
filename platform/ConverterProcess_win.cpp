#include "ConverterProcess.h"

#include "ConverterJob_win.h"

#include <QProcess>

namespace platform {

void PrepareConverterProcess(QProcess &process)
{
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments *arguments) { arguments->flags |= CREATE_NO_WINDOW; });
    // Into the job as soon as it runs: it ends with the program, however the program ends.
    QObject::connect(&process, &QProcess::started, &process,
                     [&process] { PutInConverterJob(static_cast<unsigned long>(process.processId())); });
}

} // namespace platform
