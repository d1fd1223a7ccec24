#include "BenchSystem.h"

#include "BenchSupport.h"
#include "platform/ProcessList.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <sys/resource.h>
#include <time.h>

double OwnCpuMilliseconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

qint64 OwnMinorFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

qint64 ResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

qint64 MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

bool PlaceProgram(const QString &program, const QString &place)
{
    QFile::remove(place);
    return QFile::link(program, place);
}

QString ProgramFileName(const QString &base)
{
    return base;
}

int ProcessCount()
{
    int count = 0;
    for (const QString &entry : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        entry.toLongLong(&numeric);
        count += numeric ? 1 : 0;
    }
    return count;
}

QString QuickProgram()
{
    return QStringLiteral("/bin/true");
}

bool MakeClip(const QString &path, int seconds)
{
    const QString length = QString::number(seconds);
    return RunDirectly(QStringLiteral("ffmpeg"),
                       {"-v", "error", "-y", "-f", "lavfi", "-i",
                        "testsrc=size=160x120:rate=10:duration=" + length, "-f", "lavfi", "-i",
                        "sine=frequency=440:sample_rate=48000:duration=" + length, "-ac", "2", "-c:v",
                        "mpeg4", "-c:a", "aac", "-shortest", path}) == 0;
}

bool MakeSineMp3(const QString &path, int seconds)
{
    return RunDirectly(QStringLiteral("ffmpeg"),
                       {"-v", "error", "-y", "-f", "lavfi", "-i",
                        QStringLiteral("sine=frequency=440:duration=%1").arg(seconds), "-ac", "2", "-b:a",
                        "128k", path}) == 0;
}

QString DesktopServicesAround()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return QStringLiteral("no session bus: the taskbar progress and the notifications go nowhere");
    const QString notifications = QStringLiteral("org.freedesktop.Notifications");
    QDBusConnectionInterface *names = bus.interface();
    const bool served = names->isServiceRegistered(notifications).value() ||
                        names->activatableServiceNames().value().contains(notifications);
    return served ? QStringLiteral("session bus with a notification service")
                  : QStringLiteral("session bus without a notification service");
}

void WaitForDesktopHelpers()
{
    // Nothing tells when a detached helper ends: looked for every 10 ms, for at most 30 s.
    QElapsedTimer waited;
    waited.start();
    while (platform::IsProcessNameRunning(QStringLiteral("xdg-open")) && waited.elapsed() < 30000) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
}
