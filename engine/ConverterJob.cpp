#include "ConverterJob.h"

#include "CommandLineSplitter.h"

namespace {

// How long closing the program waits for a killed converter to be gone.
constexpr int kEndWaitMilliSeconds = 5000;
// Beside others a converter is read as its output comes, in reads as large as the pipe is
// likely to hold at once: one wake-up of the event loop takes all that waits.
constexpr qint64 kReadBytes = 64 * 1024;

} // namespace

ConverterJob::ConverterJob(QString converterPath, QObject *parent)
    : QObject(parent), m_converterPath(std::move(converterPath)),
      m_process(new platform::ConverterProcess(this))
{
    connect(m_process, &platform::ConverterProcess::OutputWaiting, this, &ConverterJob::ReadWaiting);
    connect(m_process, &platform::ConverterProcess::Finished, this, &ConverterJob::Finished);
}

ConverterJob::~ConverterJob()
{
    KillAndForget();
}

bool ConverterJob::Start(const QString &commandLine)
{
    return m_process->Start(ConverterArgv(SplitConverterCommandLine(commandLine, m_converterPath)));
}

void ConverterJob::ReadWaiting()
{
    for (QByteArray bytes = m_process->ReadWaiting(kReadBytes); !bytes.isEmpty();
         bytes = m_process->ReadWaiting(kReadBytes)) {
        const QString text = m_decode(bytes);
        DOSOutputs::KeepTail(m_outputs, text);
        emit ReceiveOutputs(text);
    }
}

void ConverterJob::Finished(int exitCode, int endSignal)
{
    ReadWaiting();
    m_end = endSignal != 0 ? DOSOutputs::ChildEnd{DOSOutputs::ChildEnd::Kind::Signalled, 0, endSignal}
                           : DOSOutputs::ChildEnd{DOSOutputs::ChildEnd::Kind::Exited, exitCode, 0};
    emit Ended();
}

void ConverterJob::Kill()
{
    m_process->Kill();
}

void ConverterJob::KillAndForget()
{
    m_process->disconnect(this);
    m_process->KillAndForget(kEndWaitMilliSeconds);
}
