#pragma once

#include "BatchOutputs.h"
#include "BatchStanding.h"
#include "ConversionProgress.h"
#include "ConverterCommand.h"
#include "DOSOutputs.h"
#include "UnfinishedOutput.h"
#include "platform/FileSystem.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

#include "queue/QueueModel.h"
namespace platform {
class Shell;
class UserMessages;
} // namespace platform

// Converts the queue, one file after another in queue order. Each tick of the batch timer
// converts the head of the queue; each finished file re-arms the timer; a tick that finds the
// queue empty ends the batch. Files queued meanwhile join the same batch.
class BatchConverter : public QObject
{
    Q_OBJECT
public:
    static constexpr int kTimerMilliSeconds = 100;

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

    // Arms the batch timer; the first file starts on its tick.
    void Start();
    DOSOutputs &objDOS() { return m_dos; }
    QTimer &Timer1() { return m_timer; }
    // The files of the batch that ran, or of the one running, so far.
    Tally BatchTally() const { return m_tally; }

    void Timer1_Timer();
    void ConvertNextFile();

    // The program is closing while a file converts: the converter is ended and the file it
    // was writing is deleted. Files already converted stay.
    void AbandonCurrentFile();
    // The user stops the batch: the converter is ended and the file it was writing deleted;
    // that file and every one after it stay queued.
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
    void objDOS_ReceiveOutputs(const QString &CommandOutputs);
    void objDOS_CommandOver();
    // Why the conversion that just ended failed; empty when it succeeded.
    QString FailureOfLastConversion() const;
    // Deletes what the conversion that just ended wrote, and only that.
    void RemoveCurrentOutput();
    // The conversion has ended, whatever became of its output.
    void CurrentOutputEnded();
    void EndConverters();
    // Takes the head entry off as failed, and moves on to the next file. A file refused for a
    // reason that stays (its output would replace an input) is not offered to be queued again.
    enum class Retry { Offered, NotOffered };
    void SkipHead(const QString &reason, Retry retry);
    void AddFailure(const Failure &failure, Retry retry);
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
    // The file being converted.
    ConversionChoices m_current;
    QString m_currentOutput;
    platform::FileStamp m_outputBefore;
    // What the batch reads and writes; kept while it runs.
    BatchOutputs m_files;
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
};
