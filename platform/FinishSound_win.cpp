#include "FinishSound.h"

#include <QDir>

#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

namespace platform {

void PlayWaveAndWait(const QString &path)
{
    // Synchronous: returns when the sound has ended, or at once when it cannot be played.
    ::PlaySoundW(QDir::toNativeSeparators(path).toStdWString().c_str(), nullptr,
                 SND_FILENAME | SND_SYNC | SND_NODEFAULT);
}

} // namespace platform
