#pragma once

#include "BenchSystem.h"

#include <QString>
#include <QStringList>

#include <functional>

// Runs a program to its end with its output merged and read; returns its exit code.
int RunDirectly(const QString &program, const QStringList &arguments);

// The real converter, data/conv beside the benchmark.
QString RealConverter();

// `count` copies of `clip` as "folder/clip N.mp4" (N from 0), and the folder `out` made; the
// copies' paths, in the system's own form.
QStringList CopiesOf(const QString &clip, int count, const QString &folder, const QString &out);

// Wall-clock milliseconds of `work`.
double MillisecondsOf(const std::function<void()> &work);

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
QString Described(const Spread &spread, const char *unit = "ms", int decimals = 1);

// A 10-minute MP3 with a few bytes garbled every 600: the converter warns about nearly every
// frame, some 4 MB of console text, as it does on a damaged download.
bool MakeDamagedMp3(const QString &path);
