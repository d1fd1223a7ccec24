#include "BatchConverter.h"

#include "platform/MessagePump.h"
#include "platform/Paths.h"
#include "platform/ProcessList.h"
#include "platform/Shell.h"
#include "platform/UserMessages.h"
#include "queue/QueueModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The warning names this many files; the details hold them all.
constexpr int kFilesNamed = 10;
// A converter line is cut to this length: a line can be a whole file's worth of text.
constexpr int kLongestReason = 300;

QString Capped(const QString &text)
{
    return text.size() <= kLongestReason ? text : text.left(kLongestReason - 3) + QStringLiteral("...");
}

// The converter's last words: the last line of its output that holds anything.
QString LastLine(const QString &outputs)
{
    static const QRegularExpression lineBreak(QStringLiteral("[\r\n]+"));
    const QStringList lines = outputs.split(lineBreak, Qt::SkipEmptyParts);
    for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
        if (!it->trimmed().isEmpty())
            return Capped(it->trimmed());
    }
    return {};
}

QString Listed(const BatchConverter::Failure &failure)
{
    return failure.rowText + QStringLiteral("\n    ") + failure.reason;
}

QString CleanAbsolute(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

} // namespace

BatchConverter::BatchConverter(QueueModel &queue, platform::UserMessages &messages, platform::Shell &shell,
                               std::function<ConversionChoices()> choices, QString programFolder,
                               QObject *parent)
    : QObject(parent), m_queue(queue), m_messages(messages), m_shell(shell), m_choices(std::move(choices)),
      m_programFolder(std::move(programFolder)), m_dos(messages, ConverterPath(m_programFolder))
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
    m_stopping = false;
    m_timer.start();
}

void BatchConverter::Timer1_Timer()
{
    m_timer.stop();
    platform::PumpMessages();
    // Stopped while the window handled its events: no next file.
    if (m_stopping) {
        FinishStop();
        return;
    }
    ConvertNextFile();
}

void BatchConverter::Stop()
{
    m_stopping = true;
    if (m_converting) {
        // The converter's end comes back through CommandOver, which finishes the stop.
        m_dos.EndCurrentChild();
        return;
    }
    if (m_timer.isActive()) {
        m_timer.stop();
        FinishStop();
    }
}

void BatchConverter::FinishStop()
{
    m_stopping = false;
    emit BatchStopped();
    ReportFailures();
}

void BatchConverter::ConvertNextFile()
{
    m_current = m_choices();
    const QString folderProblem = platform::MakeFolderPath(m_current.outputFolder);
    if (m_queue.IsEmpty()) {
        EndBatch(m_current);
        return;
    }
    if (!m_queue.At(0).problem.isEmpty()) {
        SkipHead(m_queue.At(0).problem);
        return;
    }
    platform::KillProcessByName(platform::ConverterProcessName());
    const ConverterCommand command =
        BuildConverterCommand(m_programFolder, m_queue.At(0).inputPath, m_current);
    if (!command.commandLine.isEmpty()) {
        const QString refusal = folderProblem.isEmpty()
                                    ? RefusalFor(command.outputPath)
                                    : QStringLiteral("the output folder cannot be made: ") + folderProblem;
        if (!refusal.isEmpty()) {
            SkipHead(refusal);
            return;
        }
    }
    m_currentOutput = command.outputPath;
    m_outputBefore = platform::StampOf(m_currentOutput);
    m_commandOver = false;
    m_converting = true;
    m_dos.SetCommandLine(command.commandLine);
    m_dos.ExecuteCommand();
    m_converting = false;
    if (!m_commandOver) {
        // The converter never started: the user has been told why. Leave the queue whole so the
        // cause can be fixed and Convert pressed again.
        emit BatchHalted();
        ReportFailures();
    }
}

QString BatchConverter::RefusalFor(const QString &outputPath) const
{
    // The converter overwrites its output without asking: it must never be one of the files
    // it is to read, however the two paths are spelled.
    const bool outputExists = QFileInfo::exists(outputPath);
    const QString cleanOutput = CleanAbsolute(outputPath);
    for (const QString &input : m_queue.lstFile()) {
        if (CleanAbsolute(input) == cleanOutput ||
            (outputExists && platform::IsSameExistingFile(outputPath, input)))
            return QStringLiteral("the output would replace an input file");
    }
    return {};
}

void BatchConverter::SkipHead(const QString &reason)
{
    m_failures.append({m_queue.At(0).rowText, reason});
    m_progress.CommandOver(m_queue);
    m_timer.start();
}

void BatchConverter::AbandonCurrentFile()
{
    if (!m_converting)
        return;
    m_dos.EndCurrentChild();
    if (!(platform::StampOf(m_currentOutput) == m_outputBefore))
        QFile::remove(m_currentOutput);
}

void BatchConverter::objDOS_ReceiveOutputs(const QString &CommandOutputs)
{
    if (const std::optional<ProgressDisplay> display =
            m_progress.ReceiveOutputs(CommandOutputs, m_current.cutter))
        emit ProgressChanged(*display);
}

QString BatchConverter::FailureOfLastConversion(bool &deleteOutput) const
{
    deleteOutput = false;
    const DOSOutputs::ChildEnd end = m_dos.LastEnd();
    if (end.kind == DOSOutputs::ChildEnd::Kind::Signalled) {
        deleteOutput = true;
        return QStringLiteral("the converter stopped unexpectedly (signal %1)").arg(end.signal);
    }
    const QString lastLine = LastLine(m_dos.Outputs());
    if (end.kind != DOSOutputs::ChildEnd::Kind::Exited || end.exitCode != 0)
        return lastLine.isEmpty() ? QStringLiteral("the converter failed without a word") : lastLine;
    // A cut outside the file gives an output without any sound, and the converter is content.
    if (m_current.cutter.CutterEnabled != 0 && !m_progress.ReachedPastStart()) {
        deleteOutput = true;
        return m_current.cutter.CutLengthSeconds == 0
                   ? QStringLiteral("the cut length is 0")
                   : QStringLiteral("the cut starts after the end of the file");
    }
    const QFileInfo output(m_currentOutput);
    if (!output.isFile() || output.size() == 0)
        return lastLine.isEmpty() ? QStringLiteral("no output file was written") : lastLine;
    return {};
}

void BatchConverter::objDOS_CommandOver()
{
    m_commandOver = true;
    if (m_stopping) {
        // The file stays queued; what the converter had written of it goes.
        if (!(platform::StampOf(m_currentOutput) == m_outputBefore))
            QFile::remove(m_currentOutput);
        m_progress.Reset();
        FinishStop();
        return;
    }
    bool deleteOutput = false;
    const QString reason = FailureOfLastConversion(deleteOutput);
    if (!reason.isEmpty())
        m_failures.append({m_queue.IsEmpty() ? QString() : m_queue.At(0).rowText, reason});
    // Only what this conversion wrote: a file that was there before and left untouched stays.
    if (deleteOutput && !(platform::StampOf(m_currentOutput) == m_outputBefore))
        QFile::remove(m_currentOutput);
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
    QString text = failures.size() == 1
                       ? QStringLiteral("This file could not be converted:")
                       : QStringLiteral("These %1 files could not be converted:").arg(failures.size());
    QStringList all;
    for (const Failure &failure : failures) {
        if (all.size() < kFilesNamed)
            text += QStringLiteral("\n\n") + Listed(failure);
        all.append(Listed(failure));
    }
    if (failures.size() > kFilesNamed)
        text += QStringLiteral("\n\n... and %1 more (see the details).").arg(failures.size() - kFilesNamed);
    m_messages.ShowWithDetails(text, all.join(QStringLiteral("\n\n")), QStringLiteral("Convert"),
                               platform::UserMessages::Icon::Warning);
}
