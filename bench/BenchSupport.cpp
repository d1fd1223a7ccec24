#include "BenchSupport.h"

#include "engine/ConverterCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <algorithm>

int RunDirectly(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.waitForFinished(-1);
    process.readAll();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

double MillisecondsOf(const std::function<void()> &work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    return double(clock.nsecsElapsed()) / 1e6;
}

double Median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

Spread SpreadOf(const QList<double> &values)
{
    Spread spread;
    if (values.isEmpty())
        return spread;
    spread.median = Median(values);
    spread.low = *std::min_element(values.begin(), values.end());
    spread.high = *std::max_element(values.begin(), values.end());
    spread.count = int(values.size());
    return spread;
}

QString Described(const Spread &spread, const char *unit, int decimals)
{
    return QString::asprintf("median %.*f %s (%.*f to %.*f, n = %d)", decimals, spread.median, unit, decimals,
                             spread.low, decimals, spread.high, spread.count);
}

QStringList CopiesOf(const QString &clip, int count, const QString &folder, const QString &out)
{
    QStringList copies;
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        copies << QDir::toNativeSeparators(folder + QStringLiteral("/clip %1.mp4").arg(i));
        QFile::copy(clip, copies.last());
    }
    QDir().mkpath(out);
    return copies;
}

QString RealConverter()
{
    return ConverterPath(QCoreApplication::applicationDirPath());
}

// A 10-minute MP3 with a few bytes garbled every 600: the converter warns about nearly every
// frame, some 4 MB of console text, as it does on a damaged download.
bool MakeDamagedMp3(const QString &path)
{
    if (!MakeSineMp3(path, 600))
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    QByteArray bytes = file.readAll();
    quint32 x = 12345;
    for (qsizetype i = 1000; i + 16 < bytes.size(); i += 600) {
        for (int j = 0; j < 8; ++j) {
            x = (x * 1103515245u + 12345u) & 0x7fffffffu;
            bytes[i + j] = char((x >> 16) & 0xff);
        }
    }
    return file.seek(0) && file.write(bytes) == bytes.size();
}
