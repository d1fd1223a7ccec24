#pragma once

#include <QLockFile>
#include <QString>

namespace platform {

// Holds a per-user lock for as long as the program runs; a second start finds it taken.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &lockPath);
    // True when no other instance holds the lock (a lock left by an ended one is taken over).
    bool IsFirst() const { return m_first; }

private:
    QLockFile m_lock;
    bool m_first = false;
};

} // namespace platform
