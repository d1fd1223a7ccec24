#pragma once

#include <QLockFile>
#include <QString>

namespace platform {

// Holds a per-user lock for as long as the program runs; a second start finds it taken.
class SingleInstance
{
public:
    enum class Outcome {
        First,          // this process holds the lock
        AnotherRunning, // another live process holds it
        Unguarded,      // no lock could be made (folder read-only or full): start anyway
    };

    explicit SingleInstance(const QString &lockPath);
    Outcome Result() const { return m_outcome; }
    // Gives the lock back, so that a later start (even one given the same process id) runs.
    void Release();

private:
    QLockFile m_lock;
    Outcome m_outcome = Outcome::Unguarded;
};

} // namespace platform
