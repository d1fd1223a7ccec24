#pragma once

#include "BatchOutputs.h"
#include "BatchStanding.h"
#include "ConversionChoices.h"
#include "ConversionFailure.h"
#include "ConversionProgress.h"
#include "DOSOutputs.h"
#include "UnfinishedOutput.h"
#include "platform/FileSystem.h"
#include "queue/QueueModel.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct ConverterCommand;
namespace platform {
class Shell;
class UserMessages;
} // namespace platform

// Converts the queue, one file after another in queue order. Each tick of the batch timer
// converts the head of the queue; each finished file re-arms the timer; a tick that finds the
// queue empty ends the batch. Files queued meanwhile join the same batch.
// When the options ask for several files at once, up to that many converters run side by
// side, each watched without waiting for it: the first files of the queue start, and each
// ended file starts the next one queued; files leave the queue as they end.
class BatchConverter : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTimerMilliSeconds = 100;
    // How many queued files' identities are looked up in one turn of the event loop.
    static constexpr int kIdentitiesAtOnce = 500;

    struct Failure
    {
        QString rowText;
        QString reason;
        // The converter's own last line, when the reason puts it in plain words (details only).
        QString converterLine;
    };
    // What became of the files the batch took off the queue.
    struct Tally
    {
        int converted = 0;
        int failed = 0;
    };
    // The caption of the failure warning's button that queues the failed files again.
    static QString QueueAgainCaption() { return QStringLiteral("Queue Again"); }

    // `choices` gives the output choices at the moment each file starts; its output folder is
    // an absolute path. The file being written is noted in `unfinishedNote` (none when empty),
    // so that a start after a crash can remove what was cut short.
    BatchConverter(QueueModel &queue, platform::UserMessages &messages, platform::Shell &shell,
                   std::function<ConversionChoices()> choices, QString programFolder,
                   QString unfinishedNote = {}, QObject *parent = nullptr);
    ~BatchConverter() override;

    // Arms the batch timer; the first file starts on its tick (with several files at once,
    // the first files start as soon as the window is back in its event loop).
    void Start();
    DOSOutputs &objDOS() { return m_dos; }
    QTimer &Timer1() { return m_timer; }
    // Whether queued files' identities are still being looked up between events.
    bool IdentifyingQueuedFiles() const { return m_identify.isActive(); }
    // The files of the batch that ran, or of the one running, so far.
    Tally BatchTally() const { return m_tally; }

    void Timer1_Timer();
    void ConvertNextFile();

    // The program is closing while files convert: the converters are ended and the files they
    // were writing are deleted. Files already converted stay.
    void AbandonCurrentFile();
    // The user stops the batch: the converters are ended and the files they were writing
    // deleted; those files and every one after them stay queued.
    void Stop();

signals:
    void ProgressChanged(const ProgressDisplay &display);
    // A file started, or its converter reported a position.
    void StandingChanged(const BatchStanding &standing);
    // The output folder has been shown and the finish sound played: the batch is over.
    void BatchFinished();
    // The converter could not be started; the queue is left as it was.
    void BatchHalted();
    // The user stopped the batch.
    void BatchStopped();

private:
    // A file leaves the queue: while a batch runs, it stays one of its inputs.
    void Unqueue(const QString &path);
    void objDOS_ReceiveOutputs(const QString &CommandOutputs);
    void objDOS_CommandOver();
    // Deletes what the conversion that just ended wrote, and only that.
    void RemoveCurrentOutput();
    // The conversion has ended, whatever became of its output.
    void CurrentOutputEnded();
    void EndConverters();
    // Takes the head entry off as failed, and moves on to the next file. A file refused for a
    // reason that stays (its output would replace an input) is not offered to be queued again.
    enum class Retry { Offered, NotOffered };
    void SkipHead(const QString &reason, Retry retry);
    // Why the command for `input` may not run with `choices`: its output folder, or an input it
    // would replace. None when it may; `command` then writes this batch's own unique output.
    struct Refusal
    {
        QString reason;
        Retry retry;
    };
    std::optional<Refusal> RefusalOf(const QString &input, const ConversionChoices &choices,
                                     ConverterCommand &command);
    void AddFailure(const QueueEntry &entry, const Failure &failure, Retry retry);
    void AddConversionFailure(const QueueEntry &entry, const ConversionVerdict &verdict);
    // The head entry has left the queue, converted or not.
    void HeadEnded();
    void EmitStanding();
    void EndBatch(const ConversionChoices &choices);
    void ReportFailures();
    void FinishStop();

    QueueModel &m_queue;
    platform::UserMessages &m_messages;
    platform::Shell &m_shell;
    std::function<ConversionChoices()> m_choices;
    QString m_programFolder;
    DOSOutputs m_dos;
    ConversionProgress m_progress;
    QTimer m_timer;
    QTimer m_identify;
    // The file being converted.
    ConversionChoices m_current;
    QString m_currentOutput;
    platform::FileStamp m_outputBefore;
    // What the batch reads and writes; kept while it runs.
    BatchOutputs m_files;
    QString m_unfinishedNote;
    UnfinishedOutput m_unfinished;
    bool m_running = false;
    bool m_converting = false;
    bool m_stopping = false;
    bool m_commandOver = false;
    QList<Failure> m_failures;
    // The entries of the failed files the user may queue again.
    QList<QueueEntry> m_retryable;
    Tally m_tally;
    BatchClock m_clock;
    QElapsedTimer m_sinceStart;

    // Several files at once.
    struct Job;
    void FillSlots();
    // The first queued file that is not converting; -1 when there is none.
    int FirstWaitingRow() const;
    void StartJob(int row);
    // Takes the file at `row` off as failed before it started.
    void Refuse(int row, const QString &reason, Retry retry);
    void JobOutputs(Job &job, const QString &CommandOutputs);
    void JobEnded(Job &job);
    // Forgets an ended job; its converter object goes once its own signal is over.
    void DropJob(Job &job);
    // Deletes what the job's converter wrote, and only that; the file is no longer written.
    void RemoveOutputOf(Job &job);
    // The job's file is no longer being written, whatever became of it.
    void JobOutputEnded(Job &job);
    void EmitBatchProgress();
    void StopAll();
    void EndLeftConverters();
    int m_filesAtOnce = 1;
    // A converter could not be started: no more start, the batch halts when the others end.
    bool m_halting = false;
    std::vector<std::unique_ptr<Job>> m_jobs;
};
