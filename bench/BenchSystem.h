#pragma once

#include <QString>

// What the benchmarks need of the system they run on (BenchSystem.cpp on Linux,
// BenchSystem_win.cpp on Windows).

// CPU time (user + system) this process has used so far, in milliseconds.
double OwnCpuMilliseconds();

// Minor page faults this process has taken so far (all its page faults on Windows).
qint64 OwnMinorFaults();

// The process's resident memory (its working set on Windows), in KiB.
qint64 ResidentKiB();

// The clock every process of the machine shares, in nanoseconds: the converter wrapper notes
// its runs on it.
qint64 MonotonicNs();

// Puts `program` at `place` so it runs from there: a link on Linux, a copy on Windows (where a
// program's run-time libraries are found beside it or on the path).
bool PlaceProgram(const QString &program, const QString &place);

// The file name of the program `base`, as the system names programs ("conv" or "conv.exe").
QString ProgramFileName(const QString &base);

// How many processes the machine runs now.
int ProcessCount();

// A program that exits at once, with its name for the report.
QString QuickProgram();

// A clip of `seconds` with video and stereo audio. Linux makes it with the system's ffmpeg;
// the Windows build made it at build time (clips/ beside the benchmark).
bool MakeClip(const QString &path, int seconds);

// A stereo MP3 (128 kbit/s) of a `seconds` long sine, made the same way.
bool MakeSineMp3(const QString &path, int seconds);

// The desktop services the program's desktop calls reach here, for the report: on Linux the
// session bus and whether a notification service answers on it (or can be started by it).
QString DesktopServicesAround();

// Runs the application's events until the helpers the desktop started at a batch's end (xdg-open
// opening the output folder on Linux) are gone, so they do not run into the next measurement.
void WaitForDesktopHelpers();
