#include "BatchConverter.h"

#include "PlainReasons.h"

#include "platform/MessagePump.h"
#include "platform/Paths.h"
#include "platform/ProcessList.h"
#include "platform/Shell.h"
#include "platform/UserMessages.h"
#include "queue/QueueModel.h"
#include "settings/OutputFolder.h"

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

enum class Listing { Short, WithConverterLine };

QString Listed(const BatchConverter::Failure &failure, Listing listing)
{
    QString text = failure.rowText + QStringLiteral("\n    ") + failure.reason;
    if (listing == Listing::WithConverterLine && !failure.converterLine.isEmpty())
        text += QStringLiteral("\n    The converter said: ") + failure.converterLine;
    return text;
}

} // namespace

BatchConverter::BatchConverter(QueueModel &queue, platform::UserMessages &messages, platform::Shell &shell,
                               std::function<ConversionChoices()> choices, QString programFolder,
                               QString unfinishedNote, QObject *parent)
    : QObject(parent), m_queue(queue), m_messages(messages), m_shell(shell), m_choices(std::move(choices)),
      m_programFolder(std::move(programFolder)), m_dos(messages, ConverterPath(m_programFolder)),
      m_unfinished(std::move(unfinishedNote))
{
    // Files queued while the batch runs are its inputs too.
    connect(&m_queue, &QueueModel::rowsInserted, this, [this](const QModelIndex &, int first, int last) {
        if (!m_running)
            return;
        for (int row = first; row <= last; ++row)
            m_files.AddInput(m_queue.At(row).inputPath);
    });
    m_timer.setInterval(kTimerMilliSeconds);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &BatchConverter::Timer1_Timer);
    connect(&m_dos, &DOSOutputs::ReceiveOutputs, this, &BatchConverter::objDOS_ReceiveOutputs);
    connect(&m_dos, &DOSOutputs::CommandOver, this, &BatchConverter::objDOS_CommandOver);
}

void BatchConverter::Start()
{
    m_failures.clear();
    m_retryable.clear();
    m_tally = {};
    m_sinceStart.start();
    m_clock.Start(0);
    m_stopping = false;
    // Every input of the batch stays protected, also once it has been converted or refused.
    m_files.Clear();
    for (int row = 0; row < m_queue.Count(); ++row)
        m_files.AddInput(m_queue.At(row).inputPath);
    m_running = true;
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
        EndConverters();
        return;
    }
    if (m_timer.isActive()) {
        m_timer.stop();
        FinishStop();
    }
}

void BatchConverter::EndConverters()
{
    m_dos.EndCurrentChild();
    // Whatever the converter left running (a helper holding the pipe) would keep the
    // conversion from ending.
    platform::KillProcessByName(platform::ConverterProcessName());
}

void BatchConverter::FinishStop()
{
    m_stopping = false;
    m_running = false;
    emit BatchStopped();
    ReportFailures();
}

void BatchConverter::ConvertNextFile()
{
    m_current = m_choices();
    // The folder may have been changed since Convert: every file gets the checks Convert made.
    const QString folderProblem = OutputFolderProblem(m_current.outputFolder);
    if (m_queue.IsEmpty()) {
        EndBatch(m_current);
        return;
    }
    if (!m_queue.At(0).problem.isEmpty()) {
        // The entry's copy failed when it was queued: queued again, it would fail again.
        SkipHead(m_queue.At(0).problem, Retry::NotOffered);
        return;
    }
    platform::KillProcessByName(platform::ConverterProcessName());
    const QString input = m_queue.At(0).inputPath;
    ConverterCommand command = BuildConverterCommand(m_programFolder, input, m_current);
    if (!command.commandLine.isEmpty()) {
        if (!folderProblem.isEmpty()) {
            SkipHead(QStringLiteral("the output folder ") + m_current.outputFolder +
                         QStringLiteral(" cannot be used: ") + folderProblem,
                     Retry::Offered);
            return;
        }
        // The converter replaces its output without asking: never one of the batch's inputs.
        if (m_files.IsInput(command.outputPath)) {
            SkipHead(QStringLiteral("the output would replace an input file"), Retry::NotOffered);
            return;
        }
        // Nor a file this batch has written: a second output of one title gets a number.
        const QString output = m_files.TakeOutput(command.outputPath);
        if (output != command.outputPath)
            command = BuildConverterCommand(m_programFolder, input, m_current, output);
    }
    m_currentOutput = command.outputPath;
    m_outputBefore = platform::StampOf(m_currentOutput);
    m_unfinished.Note(m_currentOutput, m_outputBefore);
    m_commandOver = false;
    m_converting = true;
    m_queue.SetConverting(0, true);
    EmitStanding();
    m_dos.SetCommandLine(command.commandLine);
    m_dos.ExecuteCommand();
    m_converting = false;
    if (!m_commandOver) {
        // The converter never started: the user has been told why. Leave the queue whole so the
        // cause can be fixed and Convert pressed again.
        m_queue.SetConverting(0, false);
        CurrentOutputEnded();
        m_running = false;
        emit BatchHalted();
        ReportFailures();
    }
}

void BatchConverter::SkipHead(const QString &reason, Retry retry)
{
    AddFailure({m_queue.At(0).rowText, reason, {}}, retry);
    HeadEnded();
    m_timer.start();
}

void BatchConverter::AddFailure(const Failure &failure, Retry retry)
{
    m_failures.append(failure);
    ++m_tally.failed;
    if (retry == Retry::Offered && !m_queue.IsEmpty())
        m_retryable.append(m_queue.At(0));
}

void BatchConverter::HeadEnded()
{
    m_clock.FileEnded(m_progress.TotalSeconds());
    m_progress.CommandOver(m_queue);
}

void BatchConverter::EmitStanding()
{
    emit StandingChanged(m_clock.Standing(m_queue.Count(), m_progress.PositionSeconds(),
                                          m_progress.TotalSeconds(), m_sinceStart.elapsed()));
}

void BatchConverter::AbandonCurrentFile()
{
    if (!m_converting)
        return;
    EndConverters();
    RemoveCurrentOutput();
    CurrentOutputEnded();
}

void BatchConverter::RemoveCurrentOutput()
{
    // Only what this conversion wrote: a file that was there before and left untouched stays.
    if (!(platform::StampOf(m_currentOutput) == m_outputBefore))
        QFile::remove(m_currentOutput);
}

void BatchConverter::CurrentOutputEnded()
{
    m_files.OutputEnded(m_currentOutput);
    m_unfinished.Clear();
}

void BatchConverter::objDOS_ReceiveOutputs(const QString &CommandOutputs)
{
    m_unfinished.NoteWhenWritten();
    if (const std::optional<ProgressDisplay> display =
            m_progress.ReceiveOutputs(CommandOutputs, m_current.cutter)) {
        emit ProgressChanged(*display);
        EmitStanding();
    }
}

QString BatchConverter::FailureOfLastConversion() const
{
    const DOSOutputs::ChildEnd end = m_dos.LastEnd();
    if (end.kind == DOSOutputs::ChildEnd::Kind::Signalled) {
        return QStringLiteral("the converter stopped unexpectedly (signal %1)").arg(end.signal);
    }
    const QString lastLine = LastLine(m_dos.Outputs());
    if (end.kind != DOSOutputs::ChildEnd::Kind::Exited || end.exitCode != 0)
        return lastLine.isEmpty() ? QStringLiteral("the converter failed without a word") : lastLine;
    // A cut outside the file gives an output without any sound, and the converter is content.
    if (m_current.cutter.CutterEnabled != 0 && !m_progress.ReachedPastStart()) {
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
        m_queue.SetConverting(0, false);
        RemoveCurrentOutput();
        CurrentOutputEnded();
        m_progress.Reset();
        FinishStop();
        return;
    }
    const QString reason = FailureOfLastConversion();
    if (!reason.isEmpty()) {
        const QString input = m_queue.IsEmpty() ? QString() : m_queue.At(0).inputPath;
        const QString plain = PlainReason(reason, input, m_currentOutput);
        AddFailure({m_queue.IsEmpty() ? QString() : m_queue.At(0).rowText, plain.isEmpty() ? reason : plain,
                    plain.isEmpty() ? QString() : reason},
                   Retry::Offered);
        // A failed file leaves nothing behind: a cut-short or empty output is no output.
        RemoveCurrentOutput();
    } else {
        ++m_tally.converted;
    }
    CurrentOutputEnded();
    HeadEnded();
    m_timer.start();
}

void BatchConverter::EndBatch(const ConversionChoices &choices)
{
    m_running = false;
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
    const QList<QueueEntry> retryable = std::exchange(m_retryable, {});
    QString text = QStringLiteral("%1 of %2 files were converted; ")
                       .arg(m_tally.converted)
                       .arg(m_tally.converted + m_tally.failed) +
                   (failures.size() == 1 ? QStringLiteral("this file could not be:")
                                         : QStringLiteral("these %1 could not be:").arg(failures.size()));
    QStringList all;
    bool detailsAddSomething = failures.size() > kFilesNamed;
    for (const Failure &failure : failures) {
        if (all.size() < kFilesNamed)
            text += QStringLiteral("\n\n") + Listed(failure, Listing::Short);
        all.append(Listed(failure, Listing::WithConverterLine));
        detailsAddSomething = detailsAddSomething || !failure.converterLine.isEmpty();
    }
    if (failures.size() > kFilesNamed)
        text += QStringLiteral("\n\n... and %1 more (see the details).").arg(failures.size() - kFilesNamed);
    // Details that only repeat the text would be a button that shows nothing new.
    const QString details = detailsAddSomething ? all.join(QStringLiteral("\n\n")) : QString();
    const platform::UserMessages::Answer answer = m_messages.ShowWithDetails(
        text, details, QStringLiteral("Convert"), platform::UserMessages::Icon::Warning,
        retryable.isEmpty() ? QString() : QueueAgainCaption());
    if (answer == platform::UserMessages::Answer::Action)
        m_queue.Append(retryable);
}
