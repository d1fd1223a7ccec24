#include "BatchConverter.h"

#include "BatchConverterJob.h"
#include "ConversionFailure.h"
#include "ConverterCommand.h"
#include "ConverterJob.h"

#include "platform/MessagePump.h"
#include "platform/Paths.h"
#include "platform/ProcessList.h"
#include "platform/Shell.h"
#include "platform/UserMessages.h"
#include "queue/QueueModel.h"
#include "settings/OutputFolder.h"

#include <QDir>
#include <QFile>

namespace {

// The warning names this many files; the details hold them all.
constexpr int kFilesNamed = 10;
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
      m_unfinishedNote(unfinishedNote), m_unfinished(unfinishedNote)
{
    // Every queued file is an input of the batch that runs while it is queued, and stays one
    // for the rest of the batch once it leaves the queue.
    m_files.Queued(m_queue.InputPaths(0, m_queue.Count() - 1));
    if (!m_queue.IsEmpty())
        m_identify.start();
    connect(&m_queue, &QueueModel::rowsInserted, this, [this](const QModelIndex &, int first, int last) {
        m_files.Queued(m_queue.InputPaths(first, last));
        m_identify.start();
        // Side by side, a free place takes a file as soon as it is queued (once the queue's
        // change is over).
        if (m_running && m_filesAtOnce > 1)
            QTimer::singleShot(0, this, &BatchConverter::FillSlots);
    });
    connect(&m_queue, &QueueModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &, int first, int last) {
                for (int row = first; row <= last; ++row)
                    Unqueue(m_queue.At(row).inputPath);
            });
    // The queue is reset only to empty it (Remove All).
    connect(&m_queue, &QueueModel::modelAboutToBeReset, this, [this] {
        if (m_running) {
            for (int row = 0; row < m_queue.Count(); ++row)
                m_files.AddInput(m_queue.At(row).inputPath);
        }
        m_files.QueueEmptied();
    });
    // The queued files' identities are looked up between the window's events.
    m_identify.setInterval(0);
    connect(&m_identify, &QTimer::timeout, this, [this] {
        if (!m_files.IdentifySome(kIdentitiesAtOnce))
            m_identify.stop();
    });
    m_timer.setInterval(kTimerMilliSeconds);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &BatchConverter::Timer1_Timer);
    connect(&m_dos, &DOSOutputs::ReceiveOutputs, this, &BatchConverter::objDOS_ReceiveOutputs);
    connect(&m_dos, &DOSOutputs::CommandOver, this, &BatchConverter::objDOS_CommandOver);
}

void BatchConverter::Unqueue(const QString &path)
{
    if (m_running)
        m_files.AddInput(path);
    m_files.Unqueued(path);
}

void BatchConverter::Start()
{
    m_failures.clear();
    m_retryable.clear();
    m_tally = {};
    m_sinceStart.start();
    m_clock.Start(0);
    m_stopping = false;
    m_files.Clear();
    m_running = true;
    m_halting = false;
    m_filesAtOnce = std::max<int>(m_choices().cutter.FilesAtOnce, 1);
    if (m_filesAtOnce == 1) {
        m_timer.start();
        return;
    }
    // Side by side, no converter is ended by name before each file (it would end the others):
    // once, now, what an earlier run may have left.
    platform::KillProcessByName(platform::ConverterProcessName());
    QTimer::singleShot(0, this, &BatchConverter::FillSlots);
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
    if (m_filesAtOnce > 1) {
        StopAll();
        return;
    }
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
    m_filesAtOnce = 1;
    emit BatchStopped();
    ReportFailures();
}

void BatchConverter::ConvertNextFile()
{
    m_current = m_choices();
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
        if (const std::optional<Refusal> refusal = RefusalOf(input, m_current, command)) {
            SkipHead(refusal->reason, refusal->retry);
            return;
        }
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

std::optional<BatchConverter::Refusal>
BatchConverter::RefusalOf(const QString &input, const ConversionChoices &choices, ConverterCommand &command)
{
    // The folder may have been changed since Convert: every file gets the checks Convert made.
    if (const QString folderProblem = OutputFolderProblem(choices.outputFolder); !folderProblem.isEmpty()) {
        return Refusal{QStringLiteral("the output folder ") + choices.outputFolder +
                           QStringLiteral(" cannot be used: ") + folderProblem,
                       Retry::Offered};
    }
    // The converter replaces its output without asking: never one of the batch's inputs.
    if (m_files.IsInput(command.outputPath))
        return Refusal{QStringLiteral("the output would replace an input file"), Retry::NotOffered};
    // Nor a file this batch writes or has written (also one converting beside it): a second
    // output of one title gets a number.
    const QString output = m_files.TakeOutput(command.outputPath);
    if (output != command.outputPath)
        command = BuildConverterCommand(m_programFolder, input, choices, output);
    return std::nullopt;
}

void BatchConverter::SkipHead(const QString &reason, Retry retry)
{
    AddFailure(m_queue.At(0), {m_queue.At(0).rowText, reason, {}}, retry);
    HeadEnded();
    m_timer.start();
}

void BatchConverter::AddFailure(const QueueEntry &entry, const Failure &failure, Retry retry)
{
    m_failures.append(failure);
    ++m_tally.failed;
    if (retry == Retry::Offered)
        m_retryable.append(entry);
}

void BatchConverter::AddConversionFailure(const QueueEntry &entry, const ConversionVerdict &verdict)
{
    AddFailure(entry, {entry.rowText, verdict.reason, verdict.converterLine}, Retry::Offered);
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
    for (const std::unique_ptr<Job> &job : m_jobs) {
        job->process->KillAndForget();
        RemoveOutputOf(*job);
    }
    if (!m_jobs.empty())
        EndLeftConverters();
    m_jobs.clear();
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
    const QString input = m_queue.IsEmpty() ? QString() : m_queue.At(0).inputPath;
    const ConversionVerdict verdict =
        ConversionFailure(m_dos.LastEnd(), m_dos.Outputs(), m_current.cutter, m_progress.FurthestPosition(),
                          input, m_currentOutput);
    if (verdict.Failed()) {
        if (!m_queue.IsEmpty())
            AddConversionFailure(m_queue.At(0), verdict);
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
    m_filesAtOnce = 1;
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
