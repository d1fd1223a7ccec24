#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

// A notification service and a dock on the test's private session bus, on a connection of
// their own, so what the program sends travels through the bus as on a desktop.
class FakeDesktopBus : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    FakeDesktopBus();
    // False when there is no session bus (the test program runs outside its private bus).
    bool Ready() const { return m_ready; }
    // As a user clicking the notification `id` (or its button).
    void InvokeAction(uint id, const QString &action);

    struct Notification
    {
        QString appName, summary, body;
        QStringList actions;
        QVariantMap hints;
    };
    QList<Notification> notifications;
    // Every launcher update: the progress, or -1 where it was taken off.
    QList<double> launcherProgress;
    QStringList launcherApps;

public slots:
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int timeout);
    void LauncherUpdate(const QString &app, const QVariantMap &properties);

private:
    QDBusConnection m_connection;
    bool m_ready = false;
};
