#include "ChildProcess.h"

#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace platform {

ChildProcess::~ChildProcess()
{
    Reap();
    CloseReadEnd();
}

ChildProcess::StartResult ChildProcess::Start(const QStringList &argv)
{
    m_ended = false;
    m_exitCode = -1;
    m_endSignal = 0;
    m_lastError = 0;
    if (argv.isEmpty()) {
        m_lastError = ENOENT;
        return StartResult::NotFound;
    }

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        m_lastError = errno;
        return StartResult::PipeFailed;
    }

    std::vector<QByteArray> encoded;
    encoded.reserve(size_t(argv.size()));
    for (const QString &arg : argv)
        encoded.push_back(QFile::encodeName(arg));
    std::vector<char *> args;
    for (QByteArray &arg : encoded)
        args.push_back(arg.data());
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);

    pid_t pid = -1;
    const int rc = ::posix_spawn(&pid, args.front(), &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (rc != 0) {
        ::close(fds[0]);
        m_lastError = rc;
        return StartResult::NotFound;
    }
    m_pid = pid;
    m_readFd = fds[0];
    return StartResult::Started;
}

qint64 ChildProcess::BytesWaiting() const
{
    int waiting = 0;
    if (m_readFd < 0 || ::ioctl(m_readFd, FIONREAD, &waiting) != 0)
        return 0;
    return waiting;
}

qint64 ChildProcess::Read(char *buffer, qint64 maxBytes)
{
    if (m_readFd < 0)
        return -1;
    ssize_t got;
    do {
        got = ::read(m_readFd, buffer, size_t(maxBytes));
    } while (got < 0 && errno == EINTR);
    return got;
}

bool ChildProcess::Reap()
{
    if (m_ended || m_pid <= 0)
        return m_ended;
    int status = 0;
    const pid_t done = ::waitpid(pid_t(m_pid), &status, WNOHANG);
    if (done == pid_t(m_pid)) {
        m_ended = true;
        m_exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        m_endSignal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    } else if (done < 0 && errno == ECHILD) {
        m_ended = true;
    }
    return m_ended;
}

void ChildProcess::Kill()
{
    if (m_ended || m_pid <= 0 || ::kill(pid_t(m_pid), SIGKILL) != 0)
        return;
    // A killed child ends at once; collecting it here means it writes nothing more.
    int status = 0;
    pid_t done;
    do {
        done = ::waitpid(pid_t(m_pid), &status, 0);
    } while (done < 0 && errno == EINTR);
    m_ended = true;
    m_exitCode = -1;
    m_endSignal = SIGKILL;
}

void ChildProcess::CloseReadEnd()
{
    if (m_readFd >= 0)
        ::close(m_readFd);
    m_readFd = -1;
}

} // namespace platform
