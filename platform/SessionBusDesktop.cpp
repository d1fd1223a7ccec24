#include "SessionBusDesktop.h"

#include "SystemDesktop.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QThread>
#include <QVariantMap>

namespace {

const QString kNotifications = QStringLiteral("org.freedesktop.Notifications");
const QString kNotificationsPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kOpenFolderAction = QStringLiteral("open-folder");
// How long the program's end waits for the bus's thread; one stuck on a silent bus is left to
// end with the process.
constexpr unsigned long kGoodbyeMilliSeconds = 1000;

} // namespace

// What runs on the bus's thread. Every call waits there, never in the window's thread.
class SessionBusSide : public QObject
{
    Q_OBJECT
public:
    explicit SessionBusSide(QString desktopEntry) : m_desktopEntry(std::move(desktopEntry)) {}

    void Connect()
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        m_connected = bus.isConnected();
        if (!m_connected)
            return;
        bus.connect(kNotifications, kNotificationsPath, kNotifications, QStringLiteral("ActionInvoked"), this,
                    SLOT(OnActionInvoked(uint, QString)));
        bus.connect(kNotifications, kNotificationsPath, kNotifications, QStringLiteral("NotificationClosed"),
                    this, SLOT(OnNotificationClosed(uint, uint)));
    }

    void ShowProgress(std::optional<double> share)
    {
        if (!m_connected)
            return;
        QDBusMessage update = QDBusMessage::createSignal(QStringLiteral("/") + m_desktopEntry,
                                                         QStringLiteral("com.canonical.Unity.LauncherEntry"),
                                                         QStringLiteral("Update"));
        QVariantMap properties;
        properties.insert(QStringLiteral("progress-visible"), share.has_value());
        properties.insert(QStringLiteral("progress"), share.value_or(0.0));
        update << QStringLiteral("application://%1.desktop").arg(m_desktopEntry) << properties;
        QDBusConnection::sessionBus().send(update);
    }

    void Notify(quint64 token, const QString &summary, const QString &body)
    {
        if (!m_connected)
            return;
        QDBusMessage call = QDBusMessage::createMethodCall(kNotifications, kNotificationsPath, kNotifications,
                                                           QStringLiteral("Notify"));
        QVariantMap hints;
        hints.insert(QStringLiteral("desktop-entry"), m_desktopEntry);
        // "default" is a click on the notification itself; the named action is its button.
        const QStringList actions = {QStringLiteral("default"), QStringLiteral("Open Folder"),
                                     kOpenFolderAction, QStringLiteral("Open Folder")};
        call << QStringLiteral("Brimwave") << uint(0) << m_desktopEntry << summary << body << actions << hints
             << int(-1);
        // Asked without waiting: a desktop without the service answers with an error, let go.
        auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this,
                [this, token](QDBusPendingCallWatcher *done) {
                    const QDBusPendingReply<uint> reply = *done;
                    if (!reply.isError())
                        emit Notified(token, reply.value());
                    done->deleteLater();
                });
    }

signals:
    void Notified(quint64 token, uint id);
    void ActionInvoked(uint id, const QString &action);
    void NotificationClosed(uint id);

private slots:
    void OnActionInvoked(uint id, const QString &action) { emit ActionInvoked(id, action); }
    void OnNotificationClosed(uint id, uint) { emit NotificationClosed(id); }

private:
    QString m_desktopEntry;
    bool m_connected = false;
};

SessionBusDesktop::SessionBusDesktop(QString desktopEntry, QObject *parent)
    : QObject(parent), m_thread(new QThread), m_bus(new SessionBusSide(std::move(desktopEntry)))
{
    m_bus->moveToThread(m_thread);
    connect(m_bus, &SessionBusSide::Notified, this,
            [this](quint64 token, uint id) { m_actions.insert(id, m_asked.take(token)); });
    connect(m_bus, &SessionBusSide::ActionInvoked, this, [this](uint id, const QString &action) {
        if (action != QLatin1String("default") && action != kOpenFolderAction)
            return;
        if (const std::function<void()> open = m_actions.value(id))
            open();
    });
    connect(m_bus, &SessionBusSide::NotificationClosed, this, [this](uint id) { m_actions.remove(id); });
    m_thread->start();
    QMetaObject::invokeMethod(m_bus, [bus = m_bus] { bus->Connect(); });
}

SessionBusDesktop::~SessionBusDesktop()
{
    m_bus->disconnect(this);
    m_thread->quit();
    if (!m_thread->wait(kGoodbyeMilliSeconds))
        return; // still waiting on a silent bus: the process is ending, the thread goes with it
    delete m_bus;
    delete m_thread;
}

void SessionBusDesktop::ShowProgress(std::optional<double> share)
{
    QMetaObject::invokeMethod(m_bus, [bus = m_bus, share] { bus->ShowProgress(share); });
}

void SessionBusDesktop::Notify(const QString &summary, const QString &body, std::function<void()> openFolder)
{
    const quint64 token = ++m_lastToken;
    m_asked.insert(token, std::move(openFolder));
    QMetaObject::invokeMethod(m_bus,
                              [bus = m_bus, token, summary, body] { bus->Notify(token, summary, body); });
}

std::unique_ptr<platform::DesktopTask> platform::SystemDesktop(const QString &desktopEntry)
{
    return std::make_unique<SessionBusDesktop>(desktopEntry);
}

#include "SessionBusDesktop.moc"
