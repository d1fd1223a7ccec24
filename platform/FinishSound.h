#pragma once

#include <QString>

namespace platform {

// Plays the WAV file at `path` and returns when it has ended (at once when there is no sound
// device to play it on).
void PlayWaveAndWait(const QString &path);

} // namespace platform
