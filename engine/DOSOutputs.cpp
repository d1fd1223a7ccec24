#include "DOSOutputs.h"

#include "CommandLineSplitter.h"
#include "clsWaitableTimer.h"
#include "platform/ChildProcess.h"
#include "platform/MessagePump.h"
#include "platform/ProcessList.h"
#include "platform/UserMessages.h"

#include <QFileInfo>
#include <QStringDecoder>

#include <memory>

namespace {

// While a converter talks without a pause, the window still handles its events this often.
constexpr int kReadsBetweenPumps = 64;

} // namespace

DOSOutputs::DOSOutputs(platform::UserMessages &messages, QString converterPath, QObject *parent)
    : QObject(parent), m_messages(messages), m_converterPath(std::move(converterPath))
{
}

void DOSOutputs::KeepTail(QString &kept, const QString &text)
{
    kept += text;
    if (kept.size() > 2 * KeptOutputChars)
        kept.remove(0, kept.size() - KeptOutputChars);
}

void DOSOutputs::EndCurrentChild()
{
    if (m_child)
        m_child->Kill();
}

bool DOSOutputs::IsProcessRunning(const QString &name) const
{
    return platform::IsProcessNameRunning(name);
}

QString DOSOutputs::ExecuteCommand(const QString &CommandLine)
{
    using platform::UserMessages;
    if (!CommandLine.isEmpty())
        m_commandLine = CommandLine;
    if (m_commandLine.isEmpty()) {
        m_messages.Show(QStringLiteral("Command Line empty"), {}, UserMessages::Icon::Error);
        return {};
    }

    const QStringList argv = ConverterArgv(SplitConverterCommandLine(m_commandLine, m_converterPath));
    platform::ChildProcess child;
    switch (child.Start(argv)) {
    case platform::ChildProcess::StartResult::Started:
        break;
    case platform::ChildProcess::StartResult::PipeFailed:
        m_messages.Show(QStringLiteral("CreatePipe failed. Error: ") + QString::number(child.LastError()), {},
                        UserMessages::Icon::Error);
        return {};
    case platform::ChildProcess::StartResult::NotFound:
        m_messages.Show(QStringLiteral("File or command not found"), {}, UserMessages::Icon::Error);
        return {};
    }

    m_outputs.clear();
    m_lastEnd = {};
    m_child = &child;
    // One decoder for the whole run, so a character cut by a read boundary is not garbled. The
    // converter writes UTF-8 on every system, also where the code page is another (Windows).
    QStringDecoder decode(QStringConverter::Utf8);
    std::unique_ptr<clsWaitableTimer> timer;
    // Our own child, while it runs, is a process of the converter's name: no need to list them all.
    const bool childIsConverter =
        QFileInfo(argv.constFirst()).fileName().toLower() == platform::ConverterProcessName().toLower();
    char buffer[ReadSize];
    bool keepGoing = true;
    while (keepGoing) {
        bool readNow = false;
        if (child.BytesWaiting() > 0) {
            // All that waits, one read of at most ReadSize bytes after another: a converter that
            // talks a lot must never wait on a full pipe for the next poll.
            readNow = true;
            for (int reads = 1; keepGoing && child.BytesWaiting() > 0; ++reads) {
                const qint64 got = child.Read(buffer, ReadSize);
                keepGoing = got > 0;
                const QString text = keepGoing ? QString(decode(QByteArrayView(buffer, got))) : QString();
                KeepTail(m_outputs, text);
                emit ReceiveOutputs(text);
                if (reads % kReadsBetweenPumps == 0)
                    platform::PumpMessages();
            }
        } else {
            // Collect our own child first: an ended but unreaped child would still be listed.
            const bool childRunning = !child.Reap();
            // Output written between the byte count and the process check is still read.
            if (!(childRunning && childIsConverter) && !IsProcessRunning(platform::ConverterProcessName()))
                keepGoing = child.BytesWaiting() > 0;
        }
        platform::PumpMessages();
        // Once our converter has ended, what it left in the pipe is read without pausing;
        // waiting once the end is decided would only delay the next file.
        if (keepGoing && !(readNow && child.Reap())) {
            if (!timer)
                timer = std::make_unique<clsWaitableTimer>();
            timer->Wait(PollMilliSeconds);
        }
    }

    m_child = nullptr;
    child.Reap();
    child.CloseReadEnd();
    if (child.HasEnded() && child.EndSignal() != 0)
        m_lastEnd = {ChildEnd::Kind::Signalled, 0, child.EndSignal()};
    else if (child.HasEnded() && child.ExitCode() != -1)
        m_lastEnd = {ChildEnd::Kind::Exited, child.ExitCode(), 0};
    emit CommandOver();
    return m_outputs;
}
