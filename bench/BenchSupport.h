#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Runs a program to its end with its output merged and read; returns its exit code.
int RunDirectly(const QString &program, const QStringList &arguments);

// A clip of `seconds` with video and stereo audio, made by the system's ffmpeg.
bool MakeClip(const QString &path, int seconds);

// `count` copies of `clip` as "folder/clip N.mp4" (N from 0), and the folder `out` made; the
// copies' paths.
QStringList CopiesOf(const QString &clip, int count, const QString &folder, const QString &out);

// Wall-clock milliseconds of `work`.
double MillisecondsOf(const std::function<void()> &work);

// CPU time (user + system) this process has used so far, in milliseconds.
double OwnCpuMilliseconds();

double Median(QList<double> values);

// Median and range of a set of figures.
struct Spread
{
    double median = 0;
    double low = 0;
    double high = 0;
    int count = 0;
};
Spread SpreadOf(const QList<double> &values);
// "median 12.3 ms (10.1 to 15.0, n = 9)".
QString Described(const Spread &spread, const char *unit = "ms");
