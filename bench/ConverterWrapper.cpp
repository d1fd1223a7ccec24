#include "ConverterWrapper.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <time.h>

qint64 MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

bool InstallConverterWrapper(const QString &programFolder, const QString &realConverter,
                             const QString &logPath)
{
    qputenv("BRIMWAVE_BENCH_CONVERTER_LOG", QFile::encodeName(logPath));
    qputenv("BRIMWAVE_BENCH_REAL_CONVERTER", QFile::encodeName(QFileInfo(realConverter).canonicalFilePath()));
    QDir().mkpath(programFolder + "/data");
    QFile::remove(programFolder + "/data/conv");
    return QFile::link(QCoreApplication::applicationDirPath() + "/converter_wrapper",
                       programFolder + "/data/conv");
}

QList<ConverterRun> ReadConverterRuns(const QString &logPath)
{
    QList<ConverterRun> runs;
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly))
        return runs;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() == 2)
            runs.append({fields[0].toLongLong(), fields[1].toLongLong()});
    }
    return runs;
}
