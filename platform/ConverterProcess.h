#pragma once

#include <QObject>
#include <QStringList>

#include <memory>

namespace platform {

// One converter started beside others and watched from the event loop, started as the
// program's own child process is: its output and errors in one pipe, no input, the system's
// standard handling of the end signals, and it ends with the program, however the program ends.
class ConverterProcess : public QObject
{
    Q_OBJECT
public:
    explicit ConverterProcess(QObject *parent = nullptr);
    ~ConverterProcess() override;

    // argv[0] is the program's path; false when it could not be started.
    bool Start(const QStringList &argv);
    // At most `maxBytes` of what waits in the pipe; empty when nothing does.
    QByteArray ReadWaiting(qint64 maxBytes);
    // Ends the converter at once; `Finished` still comes.
    void Kill();
    // Ends the converter and waits up to `milliSeconds` for it to be gone; no signal comes.
    void KillAndForget(int milliSeconds);

signals:
    void OutputWaiting();
    // The converter has ended: its exit code (-1 when a signal ended it) and the signal that
    // ended it (0 when none did; on Windows the status of a process that was terminated).
    void Finished(int exitCode, int endSignal);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace platform
