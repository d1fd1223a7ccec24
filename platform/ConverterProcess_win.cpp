#include "ConverterProcess.h"

#include "ChildProcess.h"
#include "ConverterJob_win.h"

#include <QProcess>

namespace platform {

// Windows starts a process without copying the program, so Qt's process serves here.
struct ConverterProcess::Private
{
    QProcess process;
};

ConverterProcess::ConverterProcess(QObject *parent) : QObject(parent), d(std::make_unique<Private>())
{
    QProcess &process = d->process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setCreateProcessArgumentsModifier(
        [](QProcess::CreateProcessArguments *arguments) { arguments->flags |= CREATE_NO_WINDOW; });
    // Into the job as soon as it runs: it ends with the program, however the program ends.
    connect(&process, &QProcess::started, this,
            [&process] { PutInConverterJob(static_cast<unsigned long>(process.processId())); });
    connect(&process, &QProcess::readyRead, this, &ConverterProcess::OutputWaiting);
    connect(&process, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
        // A crash is an exit code on Windows (its exception status); a process that was
        // terminated ends with the status it was given.
        const bool terminated = status == QProcess::CrashExit && CrashOfExitCode(exitCode).isEmpty();
        emit Finished(terminated ? -1 : exitCode, terminated ? exitCode : 0);
    });
}

ConverterProcess::~ConverterProcess()
{
    KillAndForget(0);
}

bool ConverterProcess::Start(const QStringList &argv)
{
    d->process.setProgram(argv.constFirst());
    d->process.setArguments(argv.mid(1));
    d->process.start(QIODevice::ReadOnly);
    return d->process.waitForStarted();
}

QByteArray ConverterProcess::ReadWaiting(qint64 maxBytes)
{
    return d->process.read(maxBytes);
}

void ConverterProcess::Kill()
{
    if (d->process.state() != QProcess::NotRunning)
        d->process.kill();
}

void ConverterProcess::KillAndForget(int milliSeconds)
{
    d->process.disconnect(this);
    if (d->process.state() == QProcess::NotRunning)
        return;
    d->process.kill();
    d->process.waitForFinished(milliSeconds);
}

} // namespace platform
