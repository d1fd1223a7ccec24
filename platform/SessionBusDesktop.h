#pragma once

#include "DesktopTask.h"

#include <QHash>
#include <QObject>

class QThread;
class SessionBusSide;

// The desktop's session bus: the taskbar entry's progress through the launcher interface that
// Plasma and the GNOME docks read, and notifications through the freedesktop service. The bus
// is spoken to from a thread of its own: connecting waits for the bus's answer, and a bus that
// never answers must hold up neither the window nor its start.
class SessionBusDesktop : public QObject, public platform::DesktopTask
{
    Q_OBJECT
public:
    // `desktopEntry` is the desktop entry's file name without ".desktop".
    explicit SessionBusDesktop(QString desktopEntry, QObject *parent = nullptr);
    ~SessionBusDesktop() override;

    void ShowProgress(std::optional<double> share) override;
    void Notify(const QString &summary, const QString &body, std::function<void()> openFolder) override;

private:
    QThread *m_thread;
    SessionBusSide *m_bus;
    quint64 m_lastToken = 0;
    // The actions of notifications the service has not numbered yet, by our own token.
    QHash<quint64, std::function<void()>> m_asked;
    // The notifications on show, by the id the service gave them, with their actions.
    QHash<uint, std::function<void()>> m_actions;
};
