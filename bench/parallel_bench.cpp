// Several files at once, against the same converter command lines run directly:
// 8 clips (video and stereo sound) to MP3 192k, of 3 minutes and of 30 seconds, in rounds that
// alternate Brimwave with 1 file at once, with 2 and with one per core, and the command lines
// run directly one after another and two at a time, every run noted by the converter wrapper (so
// a converter slowed down under the program shows beside the same run made directly). Also the
// program's own CPU time during its batches with 2 files at once, as a share of one core.
//
// Then 20 clips of one second, where the program's own cost per file shows most: its CPU time
// and minor page faults per file, with 1 and with 2 at once.
//
// Last, two damaged MP3s whose converters print some 4 MB of warnings each, side by side.
//
// Usage: parallel_bench [rounds] [short | 30 | talkative]   (default 2 rounds of 3-minute clips,
//        5 of 30-second clips, 4 of 1-second clips, 3 of the damaged MP3s; or only one of them)
#include "BenchSupport.h"
#include "BenchSystem.h"
#include "BenchWindow.h"
#include "ConverterWrapper.h"
#include "engine/BatchConverter.h"
#include "engine/CommandLineSplitter.h"
#include "engine/ConverterCommand.h"
#include "platform/DesktopTask.h"
#include "platform/UserMessages.h"
#include "settings/SettingsFiles.h"
#include "ui/QtServices.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <tuple>

namespace {

constexpr int kFiles = 8;
constexpr int kShortClips = 20;

// What one batch cost the program itself.
struct OwnCost
{
    double cpuMs = 0;
    qint64 minorFaults = 0;
    qint64 convertNs = 0; // the click on Convert, on the clock the converter runs are noted on
};

// One batch through the window, shown as a person sees it, with `filesAtOnce`; returns its
// wall-clock milliseconds and adds the program's own cost to `cost`.
double ThroughTheWindow(const platform::ProgramPlaces &places, const QStringList &inputs, const QString &out,
                        int filesAtOnce, OwnCost &cost)
{
    CutterOptions options;
    options.FinishSoundIndex = 1;
    options.FilesAtOnce = qint16(filesAtOnce);
    SaveCutterOptions(places.programFolder + QStringLiteral("/options.ini"), options);
    BenchServices services;
    ScriptedDialogs &dialogs = services.dialogs;
    frmMain window(places, services.All());
    ChooseMp3At192(window, out);
    window.show();
    dialogs.files = inputs;
    for (int i = 0; i < inputs.size(); ++i)
        window.imgAdd_Click();
    QEventLoop loop;
    QObject::connect(&window.Batch(), &BatchConverter::BatchFinished, &loop, &QEventLoop::quit);
    const double cpuBefore = OwnCpuMilliseconds();
    const qint64 faultsBefore = OwnMinorFaults();
    cost.convertNs = MonotonicNs();
    const double ms = MillisecondsOf([&] {
        window.imgConvert_Click();
        loop.exec();
    });
    cost.cpuMs += OwnCpuMilliseconds() - cpuBefore;
    cost.minorFaults += OwnMinorFaults() - faultsBefore;
    WaitForDesktopHelpers();
    return ms;
}

// For each converter run that took a slot another had left: how long after that end it started.
QList<double> EndToNextStartMs(const QList<ConverterRun> &runs, int atOnce)
{
    QList<double> gaps;
    for (int i = atOnce; i < runs.size(); ++i) {
        qint64 lastEnd = 0;
        for (const ConverterRun &run : runs) {
            if (run.endNs <= runs[i].startNs)
                lastEnd = std::max(lastEnd, run.endNs);
        }
        if (lastEnd > 0)
            gaps << (runs[i].startNs - lastEnd) / 1e6;
    }
    return gaps;
}

// Each converter run's wall time, CPU time and context switches, under `how`.
void NoteRuns(const QList<ConverterRun> &runs, const QString &how, std::map<QString, QList<double>> &figures)
{
    for (const ConverterRun &run : runs) {
        figures["~run " + how] << run.Ns() / 1e6;
        if (run.cpuUs < 0)
            continue;
        figures["~run cpu " + how] << run.cpuUs / 1e3;
        figures["~run voluntary " + how] << double(run.voluntarySwitches);
        figures["~run forced " + how] << double(run.forcedSwitches);
    }
}

// The same command lines run directly, `atOnce` at a time, each next one as soon as one ends.
double Directly(const QList<QStringList> &argvs, int atOnce)
{
    return MillisecondsOf([&] {
        QEventLoop loop;
        int next = 0, running = 0;
        std::function<void()> startNext = [&] {
            while (running < atOnce && next < argvs.size()) {
                auto *process = new QProcess;
                // Started as the program starts its converters: output merged, no input.
                process->setProcessChannelMode(QProcess::MergedChannels);
                process->setStandardInputFile(QProcess::nullDevice());
                QObject::connect(process, &QProcess::readyRead, process, [process] { process->readAll(); });
                QObject::connect(process, &QProcess::finished, process, [&, process] {
                    process->deleteLater();
                    --running;
                    if (next == argvs.size() && running == 0)
                        loop.quit();
                    else
                        startNext();
                });
                process->start(argvs[next].first(), argvs[next].mid(1));
                ++next;
                ++running;
            }
        };
        startNext();
        loop.exec();
    });
}

void Run(int seconds, int files, int rounds, double target)
{
    QTemporaryDir work;
    const platform::ProgramPlaces places = PlacesIn(work.path());
    const QString clip = work.path() + "/clip.mp4";
    if (!MakeClip(clip, seconds))
        return;
    const QString out = work.path() + "/out";
    // Every converter run, through the window or direct, goes through the wrapper that notes it.
    const QString log = work.path() + "/converter.log";
    InstallConverterWrapper(places.programFolder, RealConverter(), log);
    const QStringList inputs = CopiesOf(clip, files, work.path() + "/in", out);
    // The command lines the window builds, to the letter.
    ConversionChoices choices;
    {
        BenchServices services;
        frmMain window(places, services.All());
        ChooseMp3At192(window, out);
        choices = window.CurrentChoices();
    }
    QList<QStringList> argvs;
    for (const QString &input : inputs) {
        QStringList argv = ConverterArgv(
            SplitConverterCommandLine(BuildConverterCommand(places.programFolder, input, choices).commandLine,
                                      ConverterPath(places.programFolder)));
        argv[0] = ConverterPath(places.programFolder);
        argvs << argv;
    }

    const int cores = MostFilesAtOnce();
    std::map<QString, QList<double>> figures;
    for (int round = 0; round < rounds; ++round) {
        OwnCost one, two, unused;
        figures["Brimwave, 1 at once"] << ThroughTheWindow(places, inputs, out, 1, one);
        QFile::remove(log);
        const double twoMs = ThroughTheWindow(places, inputs, out, 2, two);
        figures["Brimwave, 2 at once"] << twoMs;
        const QList<ConverterRun> underProgram = ReadConverterRuns(log);
        NoteRuns(underProgram, "under Brimwave", figures);
        figures["~end to next start under Brimwave"] << EndToNextStartMs(underProgram, 2);
        if (!underProgram.isEmpty()) {
            figures["~Convert to the first start"] << (underProgram.first().startNs - two.convertNs) / 1e6;
            qint64 lastEnd = 0;
            for (const ConverterRun &run : underProgram)
                lastEnd = std::max(lastEnd, run.endNs);
            figures["~last end to the batch's end"] << (two.convertNs + qint64(twoMs * 1e6) - lastEnd) / 1e6;
        }
        figures["~cpu"] << two.cpuMs / twoMs * 100;
        figures["~cpu per file, 1 at once"] << one.cpuMs / files;
        figures["~cpu per file, 2 at once"] << two.cpuMs / files;
        figures["~faults per file, 1 at once"] << double(one.minorFaults) / files;
        figures["~faults per file, 2 at once"] << double(two.minorFaults) / files;
        if (cores != 2) {
            figures[QStringLiteral("Brimwave, %1 at once (one per core)").arg(cores)]
                << ThroughTheWindow(places, inputs, out, cores, unused);
        }
        figures["direct, one after another"] << Directly(argvs, 1);
        QFile::remove(log);
        const double directTwoMs = Directly(argvs, 2);
        figures["direct, two at a time"] << directTwoMs;
        // Each round's own ratio: a slow spell of the machine weighs on both sides of it.
        figures["~two against direct"] << twoMs / directTwoMs;
        const QList<ConverterRun> direct = ReadConverterRuns(log);
        NoteRuns(direct, "direct", figures);
        figures["~end to next start direct"] << EndToNextStartMs(direct, 2);
    }
    std::printf("%d clips of %d s to MP3 192k, %d rounds alternated, %d cores, the window shown\n", files,
                seconds, rounds, cores);
    for (const auto &[name, values] : figures) {
        if (!name.startsWith('~'))
            std::printf("  %-38s %s\n", qPrintable(name), qPrintable(Described(SpreadOf(values))));
    }
    const double two = Median(figures["Brimwave, 2 at once"]);
    const double one = Median(figures["Brimwave, 1 at once"]);
    std::printf("  Brimwave with 2 against direct two at a time, round by round: %s (target <= %.2f)\n",
                qPrintable(Described(SpreadOf(figures["~two against direct"]), "x", 3)), target);
    std::printf("  Brimwave with 1 against Brimwave with 2:      %.2f x faster with 2 (target >= 1.8)\n",
                one / two);
    std::printf("  the program's own CPU during its batches with 2: %s of one core (target < 2 %%)\n",
                qPrintable(Described(SpreadOf(figures["~cpu"]), "%")));
    for (const auto &[what, key, unit] :
         {std::tuple{"one converter run", "run", "ms"}, std::tuple{"  its own CPU", "run cpu", "ms"},
          std::tuple{"  its voluntary switches", "run voluntary", "switches"},
          std::tuple{"  its forced switches", "run forced", "switches"}}) {
        const QList<double> under = figures[QStringLiteral("~%1 under Brimwave").arg(key)];
        if (under.isEmpty())
            continue;
        std::printf("  %s, under Brimwave with 2: %s;  direct two at a time: %s\n", what,
                    qPrintable(Described(SpreadOf(under), unit)),
                    qPrintable(Described(SpreadOf(figures[QStringLiteral("~%1 direct").arg(key)]), unit)));
    }
    std::printf("  a converter's end to the next one's start, under Brimwave with 2: %s;  direct two at a "
                "time: %s\n",
                qPrintable(Described(SpreadOf(figures["~end to next start under Brimwave"]))),
                qPrintable(Described(SpreadOf(figures["~end to next start direct"]))));
    std::printf("  with 2: Convert to the first start %s;  the last end to the batch's end %s\n",
                qPrintable(Described(SpreadOf(figures["~Convert to the first start"]))),
                qPrintable(Described(SpreadOf(figures["~last end to the batch's end"]))));
    for (const char *atOnce : {"1 at once", "2 at once"}) {
        std::printf(
            "  own CPU per file, %s: %s;  minor page faults per file: %s\n", atOnce,
            qPrintable(Described(SpreadOf(figures[QStringLiteral("~cpu per file, ") + atOnce]), "ms")),
            qPrintable(
                Described(SpreadOf(figures[QStringLiteral("~faults per file, ") + atOnce]), "faults")));
    }
}

// Two damaged 10-minute MP3s side by side, their converters printing some 4 MB of warnings each:
// the program's own CPU while it reads them, as a share of one core.
void TalkativeSideBySide(int rounds)
{
    QTemporaryDir work;
    const platform::ProgramPlaces places = PlacesIn(work.path());
    const QString damaged = work.path() + "/damaged.mp3";
    if (!MakeDamagedMp3(damaged))
        return;
    const QString out = work.path() + "/out";
    const QStringList inputs = CopiesOf(damaged, 2, work.path() + "/in", out);
    QList<double> share;
    for (int round = 0; round < rounds; ++round) {
        OwnCost cost;
        const double ms = ThroughTheWindow(places, inputs, out, 2, cost);
        share << cost.cpuMs / ms * 100;
    }
    std::printf("2 damaged 10-minute MP3s side by side (some 4 MB of warnings each), the window shown\n");
    std::printf("  the program's own CPU: %s of one core (target < 5 %%)\n",
                qPrintable(Described(SpreadOf(share), "%")));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brimwave"));
    PrintDesktopAround();
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 2;
    // "short": the 1-second clips only; "30": the 30-second clips only.
    const QByteArray only = argc > 2 ? QByteArray(argv[2]) : QByteArray();
    if (only.isEmpty())
        Run(180, kFiles, rounds, 1.10);
    if (only.isEmpty() || only == "30")
        Run(30, kFiles, rounds + 3, 1.10);
    if (only.isEmpty() || only == "short")
        Run(1, kShortClips, rounds + 2, 1.10);
    if (only.isEmpty() || only == "talkative")
        TalkativeSideBySide(rounds + 1);
    return 0;
}
