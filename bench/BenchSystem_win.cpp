#include "BenchSystem.h"

#include <QCoreApplication>
#include <QFile>

#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>

namespace {

double Milliseconds(const FILETIME &time)
{
    return double((quint64(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e4;
}

// A file the build made beside the benchmark (the Windows converter has no sources of its own).
bool CopyBuiltFile(const QString &name, const QString &path)
{
    const QString built = QCoreApplication::applicationDirPath() + "/clips/" + name;
    QFile::remove(path);
    if (QFile::copy(built, path))
        return true;
    std::fprintf(stderr, "%s is missing: build the benchmarks with the Windows build\n", qPrintable(built));
    return false;
}

} // namespace

double OwnCpuMilliseconds()
{
    FILETIME created, ended, kernel, user;
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &ended, &kernel, &user))
        return 0;
    return Milliseconds(kernel) + Milliseconds(user);
}

qint64 OwnMinorFaults()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return counters.PageFaultCount;
}

qint64 ResidentKiB()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return qint64(counters.WorkingSetSize / 1024);
}

qint64 MonotonicNs()
{
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    const qint64 seconds = now.QuadPart / frequency.QuadPart;
    const qint64 rest = now.QuadPart % frequency.QuadPart;
    return seconds * 1000000000 + rest * 1000000000 / frequency.QuadPart;
}

bool PlaceProgram(const QString &program, const QString &place)
{
    QFile::remove(place);
    return QFile::copy(program, place);
}

QString ProgramFileName(const QString &base)
{
    return base + QStringLiteral(".exe");
}

int ProcessCount()
{
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry))
        ++count;
    ::CloseHandle(snapshot);
    return count;
}

QString QuickProgram()
{
    return QCoreApplication::applicationDirPath() + "/" + ProgramFileName(QStringLiteral("exits_at_once"));
}

bool MakeClip(const QString &path, int seconds)
{
    return CopyBuiltFile(QStringLiteral("%1s.mp4").arg(seconds), path);
}

bool MakeSineMp3(const QString &path, int seconds)
{
    return CopyBuiltFile(QStringLiteral("sine-%1s.mp3").arg(seconds), path);
}

QString DesktopServicesAround()
{
    return QStringLiteral("the taskbar and the notification area");
}

void WaitForDesktopHelpers()
{
    // The shell hands the folder to Explorer, which runs anyway: nothing of the batch's is left.
}
