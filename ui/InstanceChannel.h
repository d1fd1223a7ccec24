#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

// The line between a running Brimwave and a later start of it. The running one listens; a later
// start hands it its request (come to the front, and the files it was given) and ends.
class InstanceChannel : public QObject
{
    Q_OBJECT
public:
    // `socketPath` is a per-user place (beside the single-instance lock).
    explicit InstanceChannel(QString socketPath, QObject *parent = nullptr);

    // Starts listening; only the holder of the single-instance lock calls this, so a socket
    // left by an earlier run that ended at once is removed first.
    bool Listen();

    // From a later start: asks the running program to come to the front and queue `files`.
    // False when no running program answered within `milliseconds` (the one holding the lock
    // may still be on its way to listening: it is tried again until then).
    static bool HandToRunning(const QString &socketPath, const QStringList &files, int milliseconds = 5000);

signals:
    void BringToFrontRequested();
    void FilesHanded(const QStringList &files);

private:
    void AcceptConnection();

    QString m_socketPath;
    QLocalServer *m_server = nullptr;
};
