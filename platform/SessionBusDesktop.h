#pragma once

#include "DesktopTask.h"

#include <QHash>
#include <QObject>

// The desktop's session bus: the taskbar entry's progress through the launcher interface that
// Plasma and the GNOME docks read, and notifications through the freedesktop service.
class SessionBusDesktop : public QObject, public platform::DesktopTask
{
    Q_OBJECT
public:
    // `desktopEntry` is the desktop entry's file name without ".desktop".
    explicit SessionBusDesktop(QString desktopEntry, QObject *parent = nullptr);

    void ShowProgress(std::optional<double> share) override;
    void Notify(const QString &summary, const QString &body, std::function<void()> openFolder) override;

private slots:
    void ActionInvoked(uint id, const QString &action);
    void NotificationClosed(uint id, uint reason);

private:
    QString m_desktopEntry;
    // The notifications on show, by the id the service gave them, with their actions.
    QHash<uint, std::function<void()>> m_actions;
};
