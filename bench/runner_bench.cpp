// The runner's cost per converted file: converters run through DOSOutputs against the same
// command lines run directly, one after another, in the same run.
#include "BenchSupport.h"
#include "engine/CommandLineSplitter.h"
#include "engine/ConverterCommand.h"
#include "engine/DOSOutputs.h"
#include "platform/UserMessages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {

struct Figures
{
    double directMs = 0;
    double runnerMs = 0;
    double runnerCpuMs = 0;
};

Figures Compare(const QString &converter, const QList<QString> &commandLines)
{
    platform::ConsoleMessages messages;
    DOSOutputs dos(messages, converter);
    Figures f;
    // Alternate the two ways, so that drift of the machine touches both alike.
    for (const QString &line : commandLines) {
        const QStringList argv = ConverterArgv(SplitConverterCommandLine(line, converter));
        f.directMs += MillisecondsOf([&] { RunDirectly(argv.first(), argv.mid(1)); });
        const double cpuBefore = OwnCpuMilliseconds();
        f.runnerMs += MillisecondsOf([&] { dos.ExecuteCommand(line); });
        f.runnerCpuMs += OwnCpuMilliseconds() - cpuBefore;
    }
    return f;
}

void Report(const char *title, const Figures &f, int runs)
{
    std::printf("%s (%d runs)\n", title, runs);
    std::printf("  direct:  %8.1f ms in all, %7.1f ms per run\n", f.directMs, f.directMs / runs);
    std::printf("  runner:  %8.1f ms in all, %7.1f ms per run\n", f.runnerMs, f.runnerMs / runs);
    std::printf("  overhead per run: %.1f ms   ratio: %.3f\n", (f.runnerMs - f.directMs) / runs,
                f.runnerMs / f.directMs);
    std::printf("  program's own CPU: %.2f ms per run, %.2f%% of one core over the runner's time\n",
                f.runnerCpuMs / runs, 100.0 * f.runnerCpuMs / f.runnerMs);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir work;

    // A converter that exits at once: the system's "true" under the converter's name.
    const QString quickFolder = work.path() + "/quick";
    QDir().mkpath(quickFolder + "/data");
    QFile::link(QStringLiteral("/bin/true"), ConverterPath(quickFolder));
    QList<QString> quick;
    for (int i = 0; i < 50; ++i)
        quick << ConverterPath(quickFolder) + " -threads 1";
    Report("Converter that exits at once", Compare(ConverterPath(quickFolder), quick), int(quick.size()));

    const QString clip = work.path() + "/clip.mp4";
    if (!MakeClip(clip, 180)) {
        std::fprintf(stderr, "could not make the 3-minute clip\n");
        return 1;
    }
    ConversionChoices choices;
    choices.formatIndex = int(OutputFormat::MP3);
    choices.bitrateText = QStringLiteral("192");
    choices.outputFolder = work.path() + "/out";
    QDir().mkpath(choices.outputFolder);
    QList<QString> real;
    for (int i = 0; i < 10; ++i)
        real << BuildConverterCommand(QCoreApplication::applicationDirPath(), clip, choices).commandLine;
    Report("Real MP3 192k conversions of a 3-minute clip",
           Compare(ConverterPath(QCoreApplication::applicationDirPath()), real), int(real.size()));
    std::printf(
        "targets: overhead <= 60 ms per run, ratio <= 1.06 and CPU < 2%% of one core on real conversions\n");
    return 0;
}
