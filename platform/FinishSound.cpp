#include "FinishSound.h"

#include <QAudioDevice>
#include <QEventLoop>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <QtEndian>

namespace platform {
namespace {

// How long a WAV file plays, from its header; a generous guess when it cannot be read.
int WavMilliseconds(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 5000;
    const QByteArray header = file.read(44);
    if (header.size() < 44 || !header.startsWith("RIFF"))
        return 5000;
    const quint32 bytesPerSecond = qFromLittleEndian<quint32>(header.constData() + 28);
    if (bytesPerSecond == 0)
        return 5000;
    return int(qMin<qint64>(600000, (file.size() - 44) * 1000 / bytesPerSecond));
}

} // namespace

void PlayWaveAndWait(const QString &path)
{
    // With no sound device there is nothing to wait for.
    if (QMediaDevices::audioOutputs().isEmpty())
        return;
    QSoundEffect effect;
    QEventLoop loop;
    QObject::connect(&effect, &QSoundEffect::playingChanged, &loop, [&] {
        if (!effect.isPlaying())
            loop.quit();
    });
    QObject::connect(&effect, &QSoundEffect::statusChanged, &loop, [&] {
        if (effect.status() == QSoundEffect::Error)
            loop.quit();
    });
    // Without a sound device the end is never reported: never wait past the sound's length.
    QTimer::singleShot(WavMilliseconds(path) + 500, &loop, &QEventLoop::quit);
    effect.setSource(QUrl::fromLocalFile(path));
    effect.play();
    loop.exec();
}

} // namespace platform
