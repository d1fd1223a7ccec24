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
    // The converter's own CPU time and its voluntary and forced context switches (-1 where the
    // wrapper cannot tell).
    qint64 cpuUs = -1;
    qint64 voluntarySwitches = -1;
    qint64 forcedSwitches = -1;
    qint64 Ns() const { return endNs - startNs; }
};
// The runs noted so far, in order.
QList<ConverterRun> ReadConverterRuns(const QString &logPath);
