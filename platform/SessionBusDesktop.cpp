#include "SessionBusDesktop.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace {

const QString kNotifications = QStringLiteral("org.freedesktop.Notifications");
const QString kNotificationsPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kOpenFolderAction = QStringLiteral("open-folder");

} // namespace

SessionBusDesktop::SessionBusDesktop(QString desktopEntry, QObject *parent)
    : QObject(parent), m_desktopEntry(std::move(desktopEntry))
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.connect(kNotifications, kNotificationsPath, kNotifications, QStringLiteral("ActionInvoked"), this,
                SLOT(ActionInvoked(uint, QString)));
    bus.connect(kNotifications, kNotificationsPath, kNotifications, QStringLiteral("NotificationClosed"),
                this, SLOT(NotificationClosed(uint, uint)));
}

void SessionBusDesktop::ShowProgress(std::optional<double> share)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage update = QDBusMessage::createSignal(QStringLiteral("/") + m_desktopEntry,
                                                     QStringLiteral("com.canonical.Unity.LauncherEntry"),
                                                     QStringLiteral("Update"));
    QVariantMap properties;
    properties.insert(QStringLiteral("progress-visible"), share.has_value());
    properties.insert(QStringLiteral("progress"), share.value_or(0.0));
    update << QStringLiteral("application://%1.desktop").arg(m_desktopEntry) << properties;
    bus.send(update);
}

void SessionBusDesktop::Notify(const QString &summary, const QString &body, std::function<void()> openFolder)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(kNotifications, kNotificationsPath, kNotifications,
                                                       QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), m_desktopEntry);
    // "default" is a click on the notification itself; the named action is its button.
    const QStringList actions = {QStringLiteral("default"), QStringLiteral("Open Folder"), kOpenFolderAction,
                                 QStringLiteral("Open Folder")};
    call << QStringLiteral("Brimwave") << uint(0) << m_desktopEntry << summary << body << actions << hints
         << int(-1);
    // Asked without waiting: a desktop without the service answers with an error, which is let go.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, openFolder = std::move(openFolder)](QDBusPendingCallWatcher *finished) {
                const QDBusPendingReply<uint> reply = *finished;
                if (!reply.isError())
                    m_actions.insert(reply.value(), openFolder);
                finished->deleteLater();
            });
}

void SessionBusDesktop::ActionInvoked(uint id, const QString &action)
{
    if (action != QLatin1String("default") && action != kOpenFolderAction)
        return;
    if (const std::function<void()> open = m_actions.value(id))
        open();
}

void SessionBusDesktop::NotificationClosed(uint id, uint)
{
    m_actions.remove(id);
}
