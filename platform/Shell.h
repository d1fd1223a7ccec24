#pragma once

#include <QString>

namespace platform {

// What the program asks of the desktop around it.
class Shell
{
public:
    virtual ~Shell() = default;
    // Shows the folder to the user in the file manager.
    virtual void OpenFolder(const QString &path) = 0;
    // Shows a web page in the user's browser; a failure is not reported.
    virtual void OpenWebPage(const QString &address) = 0;
    // Plays a WAV file to its end before returning; the system's alert sound when it is missing.
    virtual void PlaySoundFile(const QString &path) = 0;
    // Ends the program at once.
    virtual void EndProcess() = 0;
};

} // namespace platform
