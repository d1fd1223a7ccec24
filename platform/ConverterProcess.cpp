#include "ConverterProcess.h"

#include "ChildProcess.h"

#include <QSocketNotifier>
#include <QTimer>

#include <sys/syscall.h>
#include <unistd.h>

namespace platform {

namespace {

// Where the system cannot watch a process's end, it is looked for as often as the runner polls.
constexpr int kEndPollMilliSeconds = 50;
// After a read the pipe is left to fill this long: a converter that writes each warning on its
// own would otherwise wake the program for every line. The pipe holds far more than that.
constexpr int kReadPauseMilliSeconds = 20;

} // namespace

struct ConverterProcess::Private
{
    ChildProcess child;
    QSocketNotifier *output = nullptr;
    QTimer *readPause = nullptr;
    QSocketNotifier *end = nullptr;
    QTimer *endPoll = nullptr;
    int endFd = -1;
    bool running = false;

    void StopWatching()
    {
        delete output;
        delete readPause;
        delete end;
        delete endPoll;
        output = nullptr;
        readPause = nullptr;
        end = nullptr;
        endPoll = nullptr;
        if (endFd >= 0)
            ::close(endFd);
        endFd = -1;
    }
};

ConverterProcess::ConverterProcess(QObject *parent) : QObject(parent), d(std::make_unique<Private>()) {}

ConverterProcess::~ConverterProcess()
{
    KillAndForget(0);
}

bool ConverterProcess::Start(const QStringList &argv)
{
    if (d->child.Start(argv) != ChildProcess::StartResult::Started)
        return false;
    d->running = true;
    d->output = new QSocketNotifier(qintptr(d->child.ReadDescriptor()), QSocketNotifier::Read, this);
    d->readPause = new QTimer(this);
    d->readPause->setSingleShot(true);
    d->readPause->setInterval(kReadPauseMilliSeconds);
    connect(d->readPause, &QTimer::timeout, this, [this] { d->output->setEnabled(true); });
    connect(d->output, &QSocketNotifier::activated, this, [this] {
        d->output->setEnabled(false);
        // Readable with nothing waiting: every writer has closed the pipe.
        if (d->child.BytesWaiting() == 0)
            return;
        emit OutputWaiting();
        d->readPause->start();
    });
    const auto ended = [this] {
        if (!d->child.Reap())
            return;
        d->running = false;
        if (d->end)
            d->end->setEnabled(false);
        if (d->endPoll)
            d->endPoll->stop();
        emit Finished(d->child.ExitCode(), d->child.EndSignal());
    };
    // A process's descriptor becomes readable when it ends: no wake-up until then.
    d->endFd = int(::syscall(SYS_pidfd_open, pid_t(d->child.ProcessId()), 0));
    if (d->endFd >= 0) {
        d->end = new QSocketNotifier(qintptr(d->endFd), QSocketNotifier::Read, this);
        connect(d->end, &QSocketNotifier::activated, this, ended);
    } else {
        d->endPoll = new QTimer(this);
        connect(d->endPoll, &QTimer::timeout, this, ended);
        d->endPoll->start(kEndPollMilliSeconds);
    }
    return true;
}

QByteArray ConverterProcess::ReadWaiting(qint64 maxBytes)
{
    const qint64 waiting = std::min(d->child.BytesWaiting(), maxBytes);
    if (waiting <= 0)
        return {};
    QByteArray bytes(waiting, Qt::Uninitialized);
    const qint64 got = d->child.Read(bytes.data(), waiting);
    bytes.truncate(std::max<qint64>(got, 0));
    return bytes;
}

void ConverterProcess::Kill()
{
    // Collected at once; its descriptor then tells the end as for any other.
    if (d->running)
        d->child.Kill();
}

void ConverterProcess::KillAndForget(int)
{
    d->StopWatching();
    d->running = false;
    d->child.Kill();
}

} // namespace platform
