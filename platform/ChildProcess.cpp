#include "ChildProcess.h"

#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sched.h>
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

namespace {

// In the converter's child, before it runs the converter (system calls only): it ends with the
// program however the program ends (false when the program `parent` is already gone), and it
// gets the system's standard handling of the end signals and no blocked signal.
bool PrepareConverterChildSide(pid_t parent)
{
    // The converter ends with the program, however the program ends (even by SIGKILL).
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent)
        return false;
    // The program's own handling of signals is not the converter's; a handler of the program
    // must not run here either, where the child may still share the program's memory.
    struct sigaction standard
    {
    };
    standard.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal) {
        struct sigaction current
        {
        };
        const bool ended = signal == SIGTERM || signal == SIGINT || signal == SIGHUP;
        if (ended || (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler != SIG_DFL &&
                      current.sa_handler != SIG_IGN))
            ::sigaction(signal, &standard, nullptr);
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    return true;
}

constexpr int kPipeBytes = 1024 * 1024;
constexpr size_t kChildStackBytes = 64 * 1024;

struct ChildStart
{
    char **argv;
    int output;
    pid_t parent;
    int error; // written by the child when the converter cannot be run
};

// The child's side, on a stack of its own in the program's memory: only system calls until exec.
int RunChild(void *argument)
{
    auto *start = static_cast<ChildStart *>(argument);
    if (!PrepareConverterChildSide(start->parent))
        ::_exit(127);
    const int input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (input >= 0)
        ::dup2(input, STDIN_FILENO);
    ::dup2(start->output, STDOUT_FILENO);
    ::dup2(start->output, STDERR_FILENO);
    ::execve(start->argv[0], start->argv, environ);
    start->error = errno; // the program reads it once the child has gone
    ::_exit(127);
}

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

    // The child shares the program's memory until it runs the converter (the program waits that
    // long), so starting one copies nothing: a fork would copy the page tables of the whole
    // program, and the program would then fault on every page it writes.
    ChildStart start{args.data(), fds[1], ::getpid(), 0};
    alignas(16) char stack[kChildStackBytes];
    // No handler of the program may run on the child's side while it shares the memory.
    sigset_t all, before;
    sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &before);
    const pid_t pid = ::clone(RunChild, stack + sizeof stack, CLONE_VM | CLONE_VFORK | SIGCHLD, &start);
    const int cloneError = errno;
    ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
    ::close(fds[1]);
    const int rc = pid < 0 ? cloneError : start.error;
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
