#include "BatchConverter.h"

#include "platform/MessagePump.h"
#include "platform/Paths.h"
#include "platform/ProcessList.h"
#include "platform/Shell.h"
#include "platform/UserMessages.h"
#include "queue/QueueModel.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The converter's last words: the last line of its output that holds anything.
QString LastLine(const QString &outputs)
{
    static const QRegularExpression lineBreak(QStringLiteral("[\r\n]+"));
    const QStringList lines = outputs.split(lineBreak, Qt::SkipEmptyParts);
    for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
        if (!it->trimmed().isEmpty())
            return it->trimmed();
    }
    return {};
}

// The warning that names every failed input with the converter's last words about it.
QString FailureWarning(const QList<BatchConverter::Failure> &failures)
{
    QString text = failures.size() == 1
                       ? QStringLiteral("This file could not be converted:")
                       : QStringLiteral("These %1 files could not be converted:").arg(failures.size());
    for (const BatchConverter::Failure &failure : failures)
        text += QStringLiteral("\n\n") + failure.rowText + QStringLiteral("\n    ") + failure.lastErrorLine;
    return text;
}

} // namespace

BatchConverter::BatchConverter(QueueModel &queue, platform::UserMessages &messages, platform::Shell &shell,
                               std::function<ConversionChoices()> choices, QString programFolder,
                               QObject *parent)
    : QObject(parent), m_queue(queue), m_messages(messages), m_shell(shell), m_choices(std::move(choices)),
      m_programFolder(std::move(programFolder)), m_dos(messages)
{
    m_timer.setInterval(kTimerMilliSeconds);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &BatchConverter::Timer1_Timer);
    connect(&m_dos, &DOSOutputs::ReceiveOutputs, this, &BatchConverter::objDOS_ReceiveOutputs);
    connect(&m_dos, &DOSOutputs::CommandOver, this, &BatchConverter::objDOS_CommandOver);
}

void BatchConverter::Start()
{
    m_failures.clear();
    m_timer.start();
}

void BatchConverter::Timer1_Timer()
{
    m_timer.stop();
    platform::PumpMessages();
    ConvertNextFile();
}

void BatchConverter::ConvertNextFile()
{
    m_current = m_choices();
    QDir().mkdir(m_current.outputFolder);
    if (m_queue.IsEmpty()) {
        EndBatch(m_current);
        return;
    }
    platform::KillProcessByName(platform::ConverterProcessName());
    const QueueEntry head = m_queue.At(0);
    const ConverterCommand command = BuildConverterCommand(m_programFolder, head.inputPath, m_current);
    m_currentOutput = command.outputPath;
    m_commandOver = false;
    m_dos.SetCommandLine(command.commandLine);
    m_dos.ExecuteCommand();
    if (!m_commandOver) {
        // The converter never started: the user has been told why. Leave the queue whole so the
        // cause can be fixed and Convert pressed again.
        emit BatchHalted();
        ReportFailures();
    }
}

void BatchConverter::objDOS_ReceiveOutputs(const QString &CommandOutputs)
{
    if (const std::optional<ProgressDisplay> display =
            m_progress.ReceiveOutputs(CommandOutputs, m_current.cutter))
        emit ProgressChanged(*display);
}

void BatchConverter::objDOS_CommandOver()
{
    m_commandOver = true;
    const QFileInfo output(m_currentOutput);
    if (m_dos.LastExitCode() != 0 || !output.isFile() || output.size() == 0) {
        QString reason = LastLine(m_dos.Outputs());
        if (reason.isEmpty())
            reason = QStringLiteral("no output file was written");
        m_failures.append({m_queue.IsEmpty() ? QString() : m_queue.At(0).rowText, reason});
    }
    m_progress.CommandOver(m_queue);
    m_timer.start();
}

void BatchConverter::EndBatch(const ConversionChoices &choices)
{
    m_shell.OpenFolder(choices.outputFolder);
    if (choices.cutter.FinishSoundIndex == 0)
        m_shell.PlaySoundFile(m_programFolder + platform::PathSeparator() + QStringLiteral("sound.wav"));
    emit BatchFinished();
    ReportFailures();
}

void BatchConverter::ReportFailures()
{
    if (m_failures.isEmpty())
        return;
    const QList<Failure> failures = std::exchange(m_failures, {});
    m_messages.Show(FailureWarning(failures), QStringLiteral("Convert"),
                    platform::UserMessages::Icon::Warning);
}
