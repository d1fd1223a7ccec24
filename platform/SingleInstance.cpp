#include "SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace platform {

SingleInstance::SingleInstance(const QString &lockPath) : m_lock(lockPath)
{
    // The program's cache folder and its lock are the user's alone.
    const QString folder = QFileInfo(lockPath).absolutePath();
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // A lock whose process is gone is taken over at once.
    m_lock.setStaleLockTime(0);
    if (m_lock.tryLock(0)) {
        QFile::setPermissions(lockPath, QFile::ReadOwner | QFile::WriteOwner);
        m_outcome = Outcome::First;
        return;
    }
    if (m_lock.error() != QLockFile::LockFailedError) {
        m_outcome = Outcome::Unguarded;
        return;
    }
    // A lock that names this very process was left by an earlier run that got the same id
    // (common in containers): nobody else holds it.
    qint64 holder = 0;
    QString host, application;
    if (m_lock.getLockInfo(&holder, &host, &application) && holder == QCoreApplication::applicationPid() &&
        m_lock.removeStaleLockFile()) {
        m_outcome = m_lock.tryLock(0) ? Outcome::First : Outcome::Unguarded;
        if (m_outcome == Outcome::First)
            QFile::setPermissions(lockPath, QFile::ReadOwner | QFile::WriteOwner);
        return;
    }
    m_outcome = Outcome::AnotherRunning;
}

void SingleInstance::Release()
{
    if (m_outcome == Outcome::First)
        m_lock.unlock();
    m_outcome = Outcome::Unguarded;
}

} // namespace platform
