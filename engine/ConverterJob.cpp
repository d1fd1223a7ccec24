#include "ConverterJob.h"

#include "CommandLineSplitter.h"
#include "platform/ChildProcess.h"
#include "platform/ConverterProcess.h"

namespace {

// How long closing the program waits for a killed converter to be gone.
constexpr int kEndWaitMilliSeconds = 5000;

} // namespace

ConverterJob::ConverterJob(QString converterPath, QObject *parent)
    : QObject(parent), m_converterPath(std::move(converterPath))
{
    platform::PrepareConverterProcess(m_process);
    connect(&m_process, &QProcess::readyRead, this, &ConverterJob::ReadWaiting);
    connect(&m_process, &QProcess::finished, this, &ConverterJob::Finished);
}

ConverterJob::~ConverterJob()
{
    KillAndForget();
}

bool ConverterJob::Start(const QString &commandLine)
{
    const QStringList argv = ConverterArgv(SplitConverterCommandLine(commandLine, m_converterPath));
    m_process.setProgram(argv.constFirst());
    m_process.setArguments(argv.mid(1));
    m_process.start(QIODevice::ReadOnly);
    return m_process.waitForStarted();
}

void ConverterJob::ReadWaiting()
{
    while (m_process.bytesAvailable() > 0) {
        const QByteArray bytes = m_process.read(DOSOutputs::ReadSize);
        const QString text = m_decode(bytes);
        DOSOutputs::KeepTail(m_outputs, text);
        emit ReceiveOutputs(text);
    }
}

void ConverterJob::Finished(int exitCode, QProcess::ExitStatus status)
{
    ReadWaiting();
    // On a crash the code is the signal that ended the converter, where crashes are signals; on
    // Windows it is the exception's status, which the system gives as the exit code.
    const bool signalled = status == QProcess::CrashExit && platform::CrashOfExitCode(exitCode).isEmpty();
    m_end = signalled ? DOSOutputs::ChildEnd{DOSOutputs::ChildEnd::Kind::Signalled, 0, exitCode}
                      : DOSOutputs::ChildEnd{DOSOutputs::ChildEnd::Kind::Exited, exitCode, 0};
    emit Ended();
}

void ConverterJob::Kill()
{
    if (m_process.state() != QProcess::NotRunning)
        m_process.kill();
}

void ConverterJob::KillAndForget()
{
    m_process.disconnect(this);
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(kEndWaitMilliSeconds);
}
