#pragma once

#include <QList>
#include <QString>

// The benchmarks' stand-in for data/conv (converter_wrapper beside them), which runs the real
// converter and notes when each run started and ended on the monotonic clock.

// Makes `programFolder`/data/conv the wrapper around `realConverter`, noting runs in `logPath`.
bool InstallConverterWrapper(const QString &programFolder, const QString &realConverter,
                             const QString &logPath);

struct ConverterRun
{
    qint64 startNs = 0;
    qint64 endNs = 0;
    qint64 Ns() const { return endNs - startNs; }
};
// The runs noted so far, in order.
QList<ConverterRun> ReadConverterRuns(const QString &logPath);
