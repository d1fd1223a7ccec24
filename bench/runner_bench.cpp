// The runner's own cost per converted file, measured directly: the converter (a wrapper that
// notes its start and end on the monotonic clock) runs through DOSOutputs, and the runner's
// time is what ExecuteCommand takes beyond the converter's own life. The same command lines
// run directly, alternated with the runner's runs, are the baseline. Also the cost of one walk
// of the process list, beside the number of processes it saw.
#include "BenchSupport.h"
#include "ConverterWrapper.h"
#include "engine/CommandLineSplitter.h"
#include "engine/ConverterCommand.h"
#include "engine/DOSOutputs.h"
#include "platform/ProcessList.h"
#include "platform/UserMessages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

struct Figures
{
    QList<double> directMs;
    QList<double> runnerMs;
    QList<double> runnerOwnMs; // the runner's time beyond the converter's own life
    double runnerCpuMs = 0;
    double runnerWallMs = 0;
};

// Runs `line` `runs` times through the runner and directly, alternated.
Figures Compare(const QString &programFolder, const QString &realConverter, const QString &line, int runs,
                const QString &log)
{
    InstallConverterWrapper(programFolder, realConverter, log);
    platform::ConsoleMessages messages;
    DOSOutputs dos(messages, ConverterPath(programFolder));
    QStringList direct = ConverterArgv(SplitConverterCommandLine(line, ConverterPath(programFolder)));
    direct.first() = realConverter;
    Figures f;
    for (int i = 0; i < runs; ++i) {
        f.directMs << MillisecondsOf([&] { RunDirectly(direct.first(), direct.mid(1)); });
        QFile::remove(log);
        const double cpuBefore = OwnCpuMilliseconds();
        const qint64 start = MonotonicNs();
        dos.ExecuteCommand(line);
        const qint64 end = MonotonicNs();
        f.runnerCpuMs += OwnCpuMilliseconds() - cpuBefore;
        f.runnerWallMs += (end - start) / 1e6;
        f.runnerMs << (end - start) / 1e6;
        const QList<ConverterRun> converter = ReadConverterRuns(log);
        if (converter.size() == 1)
            f.runnerOwnMs << (end - start - converter[0].Ns()) / 1e6;
    }
    return f;
}

void Report(const char *title, const Figures &f)
{
    std::printf("%s\n", title);
    std::printf("  direct:            %s\n", qPrintable(Described(SpreadOf(f.directMs))));
    std::printf("  through the runner: %s\n", qPrintable(Described(SpreadOf(f.runnerMs))));
    std::printf("  runner's own time:  %s\n", qPrintable(Described(SpreadOf(f.runnerOwnMs))));
    std::printf("  ratio of medians:   %.3f\n", Median(f.runnerMs) / Median(f.directMs));
    std::printf("  program's CPU while the runner ran: %.2f%% of one core (%.1f ms per run)\n",
                100.0 * f.runnerCpuMs / f.runnerWallMs, f.runnerCpuMs / f.runnerMs.size());
}

void ProcessListWalk()
{
    const int all = ProcessCount();
    QList<double> walks;
    for (int i = 0; i < 100; ++i)
        walks << MillisecondsOf([] { platform::IsProcessNameRunning(platform::ConverterProcessName()); });
    std::printf("One walk of the process list with %d processes on the machine: %s\n", all,
                qPrintable(Described(SpreadOf(walks))));
    std::printf("  (a file takes two walks: the kill before it starts and the end test after it)\n\n");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir work;
    ProcessListWalk();

    const QString quick = work.path() + "/quick program";
    Report(
        qPrintable(QStringLiteral("Converter that exits at once (%1), 40 runs").arg(QuickProgram())),
        Compare(quick, QuickProgram(), ConverterPath(quick) + " -threads 1", 40, work.path() + "/quick.log"));

    const QString clip = QDir::toNativeSeparators(work.path() + "/clip.mp4");
    if (!MakeClip(clip, 180)) {
        std::fprintf(stderr, "could not make the 3-minute clip\n");
        return 1;
    }
    const QString real = work.path() + "/real program";
    ConversionChoices choices;
    choices.formatIndex = int(OutputFormat::MP3);
    choices.bitrateText = QStringLiteral("192");
    choices.outputFolder = QDir::toNativeSeparators(work.path() + "/out");
    QDir().mkpath(choices.outputFolder);
    const QString line = BuildConverterCommand(real, clip, choices).commandLine;
    std::printf("\n");
    Report("Real MP3 192k conversions of a 3-minute clip, 8 runs",
           Compare(real, RealConverter(), line, 8, work.path() + "/real.log"));

    const QString damaged = QDir::toNativeSeparators(work.path() + "/damaged.mp3");
    if (!MakeDamagedMp3(damaged)) {
        std::fprintf(stderr, "could not make the damaged MP3\n");
        return 1;
    }
    choices.formatIndex = int(OutputFormat::WAV);
    const QString chatty = BuildConverterCommand(real, damaged, choices).commandLine;
    std::printf("\n");
    platform::ConsoleMessages messages;
    DOSOutputs counter(messages, ConverterPath(real));
    InstallConverterWrapper(real, RealConverter(), work.path() + "/count.log");
    const qsizetype printed = counter.ExecuteCommand(chatty).toUtf8().size();
    Report(qPrintable(QStringLiteral(
                          "A damaged 10-minute MP3 to WAV: the converter prints %1 MB of warnings, 5 runs")
                          .arg(printed / 1e6, 0, 'f', 1)),
           Compare(real, RealConverter(), chatty, 5, work.path() + "/chatty.log"));
    std::printf("\ntargets: the runner's own time <= 60 ms per run; ratio <= 1.06 and CPU < 2%% of one core "
                "on real conversions; ratio <= 1.2 for the damaged MP3\n");
    return 0;
}
