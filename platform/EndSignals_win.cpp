#include "EndSignals.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QPointer>

#include <windows.h>

namespace platform {
namespace {

// The one EndSignals that takes the events now; the console's handler runs on a thread of its own.
QPointer<EndSignals> g_current;
std::function<void()> *g_onSignal = nullptr;

// The end of the session reaches the window as a message: the clean-up runs before the
// answer, since the process is ended as soon as every window has answered.
class SessionEndFilter : public QAbstractNativeEventFilter
{
public:
    bool nativeEventFilter(const QByteArray &, void *message, qintptr *) override
    {
        const MSG *msg = static_cast<const MSG *>(message);
        if (msg->message == WM_ENDSESSION && msg->wParam && g_onSignal)
            (*g_onSignal)();
        return false;
    }
};

BOOL WINAPI OnConsoleEvent(DWORD event)
{
    if (!g_current)
        return FALSE;
    QMetaObject::invokeMethod(
        g_current.data(),
        [] {
            if (g_onSignal)
                (*g_onSignal)();
        },
        Qt::QueuedConnection);
    // The console's window closing, a logoff or a shutdown end the process when this returns:
    // the program ends itself from its event loop first.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        ::Sleep(INFINITE);
    return TRUE;
}

} // namespace

EndSignals::EndSignals(std::function<void()> onSignal, QObject *parent)
    : QObject(parent), m_onSignal(std::move(onSignal))
{
    g_current = this;
    g_onSignal = &m_onSignal;
    ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    if (QCoreApplication::instance()) {
        auto *filter = new SessionEndFilter;
        QCoreApplication::instance()->installNativeEventFilter(filter);
        m_filter = filter;
    }
}

EndSignals::~EndSignals()
{
    ::SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    if (auto *filter = static_cast<SessionEndFilter *>(m_filter)) {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(filter);
        delete filter;
    }
    if (g_onSignal == &m_onSignal)
        g_onSignal = nullptr;
}

} // namespace platform
