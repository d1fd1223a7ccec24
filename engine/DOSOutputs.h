#pragma once

#include <QObject>
#include <QString>

#include <optional>

namespace platform {
class UserMessages;
}

// Runs one converter command line as a hidden child process, hands every piece of its console
// output to its owner as it arrives, and reports the end. The application keeps handling its
// events while it waits, so the owner's handlers run nested inside ExecuteCommand.
class DOSOutputs : public QObject
{
    Q_OBJECT
public:
    static constexpr int ReadSize = 1024;
    static constexpr int PollMilliSeconds = 50;

    explicit DOSOutputs(platform::UserMessages &messages, QObject *parent = nullptr);

    QString CommandLine() const { return m_commandLine; }
    void SetCommandLine(const QString &DOSCommand) { m_commandLine = DOSCommand; }
    // Everything read from the child during the last run, in order.
    QString Outputs() const { return m_outputs; }
    // How the last started child ended: its exit code, or none when it did not start,
    // was killed by a signal, or its end could not be collected.
    std::optional<int> LastExitCode() const { return m_lastExitCode; }

    // Runs the command line to its end and returns the accumulated output; empty text when
    // the child could not be started (the user has then been told why and no event is raised).
    QString ExecuteCommand(const QString &CommandLine = {});

signals:
    // The text of one read of at most ReadSize bytes (empty after a failed read).
    void ReceiveOutputs(const QString &CommandOutputs);
    // The child has ended and its output has been read to the end.
    void CommandOver();

private:
    bool IsProcessRunning(const QString &name) const;

    platform::UserMessages &m_messages;
    QString m_commandLine;
    QString m_outputs;
    std::optional<int> m_lastExitCode;
};
