#pragma once

#include <QStringList>

namespace platform {

// How a process that ended with `exitCode` crashed ("exception 0xC0000005" on Windows, where a
// crash is an exit code); empty for an exit code a program gives itself (always on Linux, where a
// crash is a signal).
QString CrashOfExitCode(int exitCode);

// One hidden child process whose standard output and standard error both go into one pipe.
// It gets no standard input (it reads /dev/null) and is started without a shell, so each
// argument reaches it exactly as given.
class ChildProcess
{
public:
    enum class StartResult { Started, PipeFailed, NotFound };

    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // argv[0] is the program's path.
    StartResult Start(const QStringList &argv);
    // The system error number of the last failed start (errno; GetLastError on Windows).
    int LastError() const { return m_lastError; }

    // Bytes waiting in the pipe right now; 0 when none or on error.
    qint64 BytesWaiting() const;
    // Reads at most `maxBytes` bytes; -1 on failure.
    qint64 Read(char *buffer, qint64 maxBytes);

    // Collects the child's exit without blocking, so it does not linger as a zombie.
    // True once the child has ended.
    bool Reap();
    bool HasEnded() const { return m_ended; }
    // Exit code when the child exited (on Windows also a crash's exception status); -1 when it was
    // killed or has not ended.
    int ExitCode() const { return m_exitCode; }
    // The signal that ended the child; 0 when none did (always on Windows, which has none).
    int EndSignal() const { return m_endSignal; }
    // Ends the child at once and collects it: once this returns, it writes nothing more.
    void Kill();

    void CloseReadEnd();

    // The process's id (Windows: its handle) and, on Linux, the pipe's read end, for watching.
    qint64 ProcessId() const { return m_pid; }
    int ReadDescriptor() const { return m_readFd; }

private:
    int m_readFd = -1;
    qint64 m_readEnd = 0; // Windows: the pipe's read end
    qint64 m_pid = -1;    // Windows: the process's handle
    bool m_ended = false;
    int m_exitCode = -1;
    int m_endSignal = 0;
    int m_lastError = 0;
};

} // namespace platform
