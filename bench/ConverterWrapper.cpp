#include "ConverterWrapper.h"

#include "BenchSystem.h"
#include "engine/ConverterCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

bool InstallConverterWrapper(const QString &programFolder, const QString &realConverter,
                             const QString &logPath)
{
    qputenv("BRIMWAVE_BENCH_CONVERTER_LOG", QFile::encodeName(logPath));
    qputenv("BRIMWAVE_BENCH_REAL_CONVERTER",
            QFile::encodeName(QDir::toNativeSeparators(QFileInfo(realConverter).canonicalFilePath())));
    QDir().mkpath(programFolder + "/data");
    return PlaceProgram(QCoreApplication::applicationDirPath() + "/" + ProgramFileName("converter_wrapper"),
                        ConverterPath(programFolder));
}

QList<ConverterRun> ReadConverterRuns(const QString &logPath)
{
    QList<ConverterRun> runs;
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly))
        return runs;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 2)
            continue;
        ConverterRun run{fields[0].toLongLong(), fields[1].toLongLong()};
        if (fields.size() == 5) {
            run.cpuUs = fields[2].toLongLong();
            run.voluntarySwitches = fields[3].toLongLong();
            run.forcedSwitches = fields[4].toLongLong();
        }
        runs.append(run);
    }
    return runs;
}
