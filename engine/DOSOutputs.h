#pragma once

#include <QObject>
#include <QString>

namespace platform {
class ChildProcess;
class UserMessages;
} // namespace platform

// Runs one converter command line as a hidden child process, hands every piece of its console
// output to its owner as it arrives, and reports the end. The application keeps handling its
// events while it waits, so the owner's handlers run nested inside ExecuteCommand.
class DOSOutputs : public QObject
{
    Q_OBJECT
public:
    static constexpr int ReadSize = 1024;
    static constexpr int PollMilliSeconds = 50;
    // What is kept of a run's output: its end, which holds the reasons and the last position. A
    // converter may print without end; the program's memory must not follow it.
    static constexpr qsizetype KeptOutputChars = 64 * 1024;
    // Appends `text` to `kept`, then lets go of all but the last KeptOutputChars (in steps, so
    // each character is moved a bounded number of times).
    static void KeepTail(QString &kept, const QString &text);

    // `converterPath` is the converter the command lines name: exactly this path is started,
    // whatever else a command line may look like.
    DOSOutputs(platform::UserMessages &messages, QString converterPath, QObject *parent = nullptr);

    QString CommandLine() const { return m_commandLine; }
    void SetCommandLine(const QString &DOSCommand) { m_commandLine = DOSCommand; }
    // The end of what was read from the child during the last run (see KeptOutputChars).
    QString Outputs() const { return m_outputs; }
    // How the last started child ended.
    struct ChildEnd
    {
        enum class Kind { Unknown, Exited, Signalled };
        Kind kind = Kind::Unknown; // Unknown: not started, or its end could not be collected
        int exitCode = 0;
        int signal = 0;
    };
    ChildEnd LastEnd() const { return m_lastEnd; }

    // Runs the command line to its end and returns the end of its output; empty text when
    // the child could not be started (the user has then been told why and no event is raised).
    QString ExecuteCommand(const QString &CommandLine = {});
    // Ends the child that ExecuteCommand is running, if any (the program is closing).
    void EndCurrentChild();

signals:
    // The text of one read of at most ReadSize bytes (empty after a failed read). Each poll
    // reads all that waits, so several may come between two polls.
    void ReceiveOutputs(const QString &CommandOutputs);
    // The child has ended and its output has been read to the end.
    void CommandOver();

private:
    // Whether any process of the converter's name runs; tests put in their own answer.
    virtual bool IsProcessRunning(const QString &name) const;

    platform::UserMessages &m_messages;
    QString m_converterPath;
    QString m_commandLine;
    QString m_outputs;
    ChildEnd m_lastEnd;
    platform::ChildProcess *m_child = nullptr;
};
