#include "SingleInstance.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

SingleInstance::SingleInstance(const QString &lockPath) : m_lock(lockPath)
{
    QDir().mkpath(QFileInfo(lockPath).absolutePath());
    m_lock.setStaleLockTime(0);
    m_first = m_lock.tryLock(0);
}

} // namespace platform
