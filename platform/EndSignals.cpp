#include "EndSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The signal handler may only write to a pipe; the event loop reads the other end.
int g_signalPipe[2] = {-1, -1};
struct sigaction g_previous[std::size(kEndSignals)];

void NoteSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
    errno = saved;
}

} // namespace

EndSignals::EndSignals(std::function<void()> onSignal, QObject *parent)
    : QObject(parent), m_onSignal(std::move(onSignal))
{
    if (g_signalPipe[0] < 0 && ::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(g_signalPipe[0], bytes, sizeof bytes) > 0) {
        }
        if (m_onSignal)
            m_onSignal();
    });
    struct sigaction action
    {
    };
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kEndSignals); ++i)
        ::sigaction(kEndSignals[i], &action, &g_previous[i]);
}

EndSignals::~EndSignals()
{
    if (!m_notifier)
        return;
    for (size_t i = 0; i < std::size(kEndSignals); ++i)
        ::sigaction(kEndSignals[i], &g_previous[i], nullptr);
}

} // namespace platform
