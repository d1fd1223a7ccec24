// The batch with several files at once: up to the chosen number of converters run side by
// side, each watched through the event loop; every rule of the batch holds for each file.
#include "BatchConverter.h"

#include "BatchConverterJob.h"
#include "ConversionFailure.h"
#include "ConverterCommand.h"
#include "platform/Paths.h"
#include "platform/ProcessList.h"
#include "platform/UserMessages.h"
#include "queue/QueueModel.h"

#include <QFile>

BatchConverter::~BatchConverter()
{
    for (const std::unique_ptr<Job> &job : m_jobs)
        job->process->KillAndForget();
}

int BatchConverter::FirstWaitingRow() const
{
    for (int row = 0; row < m_queue.Count(); ++row) {
        if (!m_queue.IsConverting(row))
            return row;
    }
    return -1;
}

void BatchConverter::FillSlots()
{
    if (!m_running || m_stopping)
        return;
    while (!m_halting && int(m_jobs.size()) < m_filesAtOnce) {
        const int row = FirstWaitingRow();
        if (row < 0)
            break;
        StartJob(row);
    }
    if (!m_jobs.empty())
        return;
    EndLeftConverters();
    if (m_halting) {
        // The converter could not be started: the user has been told why; what was not
        // converted stays queued.
        m_running = false;
        m_filesAtOnce = 1;
        emit BatchHalted();
        ReportFailures();
        return;
    }
    EndBatch(m_choices());
}

void BatchConverter::Refuse(int row, const QString &reason, Retry retry)
{
    AddFailure(m_queue.At(row), {m_queue.At(row).rowText, reason, {}}, retry);
    m_clock.TakeNumber();
    m_clock.FileEnded(0);
    m_queue.RemoveRow(row);
}

void BatchConverter::StartJob(int row)
{
    // Every file gets the checks a file converted alone gets, with the choices of its start.
    const ConversionChoices choices = m_choices();
    const QueueEntry entry = m_queue.At(row);
    if (!entry.problem.isEmpty()) {
        Refuse(row, entry.problem, Retry::NotOffered);
        return;
    }
    ConverterCommand command = BuildConverterCommand(m_programFolder, entry.inputPath, choices);
    if (command.commandLine.isEmpty()) {
        // Halting before the message: the files that end while it shows start no others.
        m_halting = true;
        m_messages.Show(QStringLiteral("Command Line empty"), {}, platform::UserMessages::Icon::Error);
        return;
    }
    if (const std::optional<Refusal> refusal = RefusalOf(entry.inputPath, choices, command)) {
        Refuse(row, refusal->reason, refusal->retry);
        return;
    }

    int slot = 0;
    while (std::any_of(m_jobs.cbegin(), m_jobs.cend(), [slot](const auto &job) { return job->slot == slot; }))
        ++slot;
    auto job = std::make_unique<Job>(UnfinishedOutput::NoteOf(m_unfinishedNote, slot));
    job->row = QPersistentModelIndex(m_queue.index(row, 0));
    job->entry = entry;
    job->choices = choices;
    job->output = command.outputPath;
    job->outputBefore = platform::StampOf(job->output);
    job->slot = slot;
    job->number = m_clock.TakeNumber();
    job->process = new ConverterJob(ConverterPath(m_programFolder), this);
    Job *started = job.get();
    connect(job->process, &ConverterJob::ReceiveOutputs, this,
            [this, started](const QString &text) { JobOutputs(*started, text); });
    connect(job->process, &ConverterJob::Ended, this, [this, started] { JobEnded(*started); });
    m_queue.SetConverting(row, true);
    if (!job->process->Start(command.commandLine)) {
        m_halting = true;
        m_queue.SetConverting(row, false);
        JobOutputEnded(*job);
        delete job->process;
        m_messages.Show(QStringLiteral("File or command not found"), {}, platform::UserMessages::Icon::Error);
        return;
    }
    // Noted while the converter starts up (long before it creates its file), so that the disk
    // wait of the note is not spent between one file's end and the next one's start.
    job->note.Note(job->output, job->outputBefore);
    m_jobs.push_back(std::move(job));
    EmitBatchProgress();
}

void BatchConverter::JobOutputs(Job &job, const QString &CommandOutputs)
{
    job.note.NoteWhenWritten();
    if (job.progress.ReceiveOutputs(CommandOutputs, job.choices.cutter))
        EmitBatchProgress();
}

void BatchConverter::EmitBatchProgress()
{
    QList<BatchClock::Running> running;
    for (const std::unique_ptr<Job> &job : m_jobs)
        running.append({job->progress.PositionSeconds(), job->progress.TotalSeconds(), job->number});
    const int waiting = m_queue.Count() - int(m_jobs.size());
    const BatchStanding standing = m_clock.Standing(waiting, running, m_sinceStart.elapsed());
    // The bar shows the whole batch: the files done and each running file's share of its own.
    emit ProgressChanged(ShareDisplay(standing.share));
    emit StandingChanged(standing);
}

void BatchConverter::RemoveOutputOf(Job &job)
{
    if (!(platform::StampOf(job.output) == job.outputBefore))
        QFile::remove(job.output);
    JobOutputEnded(job);
}

void BatchConverter::JobOutputEnded(Job &job)
{
    m_files.OutputEnded(job.output);
    job.note.Clear();
}

void BatchConverter::JobEnded(Job &job)
{
    const int row = job.row.isValid() ? job.row.row() : -1;
    if (m_stopping) {
        // The file stays queued; what its converter had written goes.
        m_queue.SetConverting(row, false);
        RemoveOutputOf(job);
        DropJob(job);
        if (m_jobs.empty()) {
            EndLeftConverters();
            FinishStop();
        }
        return;
    }
    const ConversionVerdict verdict =
        ConversionFailure(job.process->End(), job.process->Outputs(), job.choices.cutter,
                          job.progress.FurthestPosition(), job.entry.inputPath, job.output);
    if (verdict.Failed()) {
        AddConversionFailure(job.entry, verdict);
        RemoveOutputOf(job);
    } else {
        ++m_tally.converted;
        JobOutputEnded(job);
    }
    m_clock.FileEnded(job.progress.TotalSeconds());
    DropJob(job);
    // The entry leaves the queue as its file ends, wherever it stands by now.
    m_queue.RemoveRow(row);
    // The next file starts first; a start shows the batch's standing itself.
    const std::size_t runningBefore = m_jobs.size();
    FillSlots();
    if (!m_jobs.empty() && m_jobs.size() == runningBefore)
        EmitBatchProgress();
}

void BatchConverter::EndLeftConverters()
{
    // What a converter left running (a helper of its own) ends with the batch, as one at a time.
    platform::KillProcessByName(platform::ConverterProcessName());
}

void BatchConverter::DropJob(Job &job)
{
    job.process->disconnect(this);
    job.process->deleteLater();
    m_jobs.erase(
        std::find_if(m_jobs.begin(), m_jobs.end(), [&job](const auto &held) { return held.get() == &job; }));
}

void BatchConverter::StopAll()
{
    if (!m_running)
        return;
    m_stopping = true;
    if (m_jobs.empty()) {
        FinishStop();
        return;
    }
    // Each converter's end comes back through its job, which deletes what it wrote; the last
    // one finishes the stop.
    for (const std::unique_ptr<Job> &job : m_jobs)
        job->process->Kill();
}
