#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace platform {

// While it lives, the signals that ask the program to end (SIGTERM from `kill` or a logout,
// SIGINT, SIGHUP from a closed terminal; on Windows the console's control events and the end of
// the session) do not end it on the spot: `onSignal` runs from the event loop instead, also from
// inside a conversion, so the program ends the way it does when its window is closed. The former
// handling comes back when it goes.
class EndSignals : public QObject
{
    Q_OBJECT
public:
    explicit EndSignals(std::function<void()> onSignal, QObject *parent = nullptr);
    ~EndSignals() override;

private:
    std::function<void()> m_onSignal;
    QSocketNotifier *m_notifier = nullptr; // Linux: the signal pipe's reading end
    void *m_filter = nullptr;              // Windows: the window messages' filter
};

} // namespace platform
