#include "ChildProcess.h"

#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace platform {

QString CrashOfExitCode(int)
{
    return {};
}

bool PrepareConverterChildSide(long parent)
{
    // The converter ends with the program, however the program ends (even by SIGKILL).
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != pid_t(parent))
        return false;
    // The program's own handling of the end signals is not the converter's.
    struct sigaction standard
    {
    };
    standard.sa_handler = SIG_DFL;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &standard, nullptr);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    return true;
}

namespace {

constexpr int kPipeBytes = 1024 * 1024;

} // namespace

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

    // Room for what a talkative converter prints between two polls, so that it never waits on
    // a full pipe (the system's default holds 64 KiB; as much as the system allows, up to this).
    ::fcntl(fds[1], F_SETPIPE_SZ, kPipeBytes);

    std::vector<QByteArray> encoded;
    encoded.reserve(size_t(argv.size()));
    for (const QString &arg : argv)
        encoded.push_back(QFile::encodeName(arg));
    std::vector<char *> args;
    for (QByteArray &arg : encoded)
        args.push_back(arg.data());
    args.push_back(nullptr);

    // Everything the child needs is made before it is forked: after the fork it may only make
    // system calls.
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        m_lastError = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        return StartResult::PipeFailed;
    }
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    const int forkError = pid < 0 ? errno : 0;
    if (pid == 0) {
        if (!PrepareConverterChildSide(parent))
            ::_exit(127);
        const int input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (input >= 0)
            ::dup2(input, STDIN_FILENO);
        ::dup2(fds[1], STDOUT_FILENO);
        ::dup2(fds[1], STDERR_FILENO);
        ::execve(args.front(), args.data(), environ);
        const int error = errno;
        [[maybe_unused]] const ssize_t told = ::write(report[1], &error, sizeof error);
        ::_exit(127);
    }
    ::close(fds[1]);
    ::close(report[1]);
    int childError = 0;
    ssize_t told = -1;
    if (pid > 0) {
        do {
            told = ::read(report[0], &childError, sizeof childError);
        } while (told < 0 && errno == EINTR);
    }
    ::close(report[0]);
    const int rc = pid < 0 ? forkError : told == ssize_t(sizeof childError) ? childError : 0;
    if (rc != 0) {
        if (pid > 0)
            ::waitpid(pid, nullptr, 0);
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
