#include "InstanceChannel.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace {

// The request: this word, then the file paths, each ended by a NUL (no path holds one), UTF-8.
const QByteArray kRequestWord = QByteArrayLiteral("brimwave-front");
// A request is a handful of paths; anything larger is not from us.
constexpr qint64 kLargestRequest = 16 * 1024 * 1024;
// How often a later start tries again to reach a running program that does not listen yet.
constexpr unsigned long kRetryMilliSeconds = 50;

} // namespace

InstanceChannel::InstanceChannel(QString socketPath, QObject *parent)
    : QObject(parent), m_socketPath(std::move(socketPath)), m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceChannel::AcceptConnection);
}

bool InstanceChannel::Listen()
{
    if (m_socketPath.isEmpty())
        return false;
    QLocalServer::removeServer(m_socketPath);
    return m_server->listen(m_socketPath);
}

void InstanceChannel::AcceptConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, socket, [socket] {
            if (socket->bytesAvailable() > kLargestRequest)
                socket->abort();
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            socket->deleteLater();
            QList<QByteArray> lines = socket->readAll().split('\0');
            if (lines.isEmpty() || lines.takeFirst() != kRequestWord)
                return;
            QStringList files;
            for (const QByteArray &line : std::as_const(lines)) {
                if (!line.isEmpty())
                    files.append(QString::fromUtf8(line));
            }
            emit BringToFrontRequested();
            if (!files.isEmpty())
                emit FilesHanded(files);
        });
    }
}

bool InstanceChannel::HandToRunning(const QString &socketPath, const QStringList &files, int milliseconds)
{
    QLocalSocket socket;
    // The running program may still be starting: it holds the lock before it listens.
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        socket.connectToServer(socketPath);
        if (socket.waitForConnected(milliseconds))
            break;
        if (clock.elapsed() >= milliseconds)
            return false;
        QThread::msleep(kRetryMilliSeconds);
    }
    QByteArray request = kRequestWord + '\0';
    for (const QString &file : files)
        request += file.toUtf8() + '\0';
    socket.write(request);
    if (!socket.waitForBytesWritten(milliseconds))
        return false;
    socket.disconnectFromServer();
    return socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(milliseconds);
}
