#include "SessionBusFakes.h"

#include <QDBusMessage>

FakeDesktopBus::FakeDesktopBus()
    : m_connection(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake desktop")))
{
    m_ready =
        m_connection.isConnected() &&
        m_connection.registerObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                                    QDBusConnection::ExportAllSlots) &&
        m_connection.registerService(QStringLiteral("org.freedesktop.Notifications")) &&
        m_connection.connect({}, {}, QStringLiteral("com.canonical.Unity.LauncherEntry"),
                             QStringLiteral("Update"), this, SLOT(LauncherUpdate(QString, QVariantMap)));
}

uint FakeDesktopBus::Notify(const QString &appName, uint, const QString &, const QString &summary,
                            const QString &body, const QStringList &actions, const QVariantMap &hints, int)
{
    notifications.append({appName, summary, body, actions, hints});
    return uint(notifications.size()) + 40;
}

void FakeDesktopBus::LauncherUpdate(const QString &app, const QVariantMap &properties)
{
    launcherApps << app;
    launcherProgress << (properties.value(QStringLiteral("progress-visible")).toBool()
                             ? properties.value(QStringLiteral("progress")).toDouble()
                             : -1.0);
}

void FakeDesktopBus::InvokeAction(uint id, const QString &action)
{
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                                     QStringLiteral("org.freedesktop.Notifications"),
                                                     QStringLiteral("ActionInvoked"));
    signal << id << action;
    m_connection.send(signal);
}
