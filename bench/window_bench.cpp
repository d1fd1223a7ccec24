// The main window's figures, each against a baseline from the same run:
// - the program's own time per file in a batch of ten 3-minute clips converted to MP3 (192k)
//   through the window's own operations, measured directly: the converter is a wrapper that
//   notes its start and end on the monotonic clock, so the gaps between converter runs are the
//   program's; rounds alternate with the same command lines run directly;
// - start-up to the window shown (revealed), median of 10 starts of a fresh process, against a
//   bare process of the same program;
// - resident memory of the idle window and with 10,000 queued entries.
//
// Usage: window_bench            (runs everything; children are this program itself)
#include "BenchSupport.h"
#include "BenchSystem.h"
#include "BenchWindow.h"
#include "ConverterWrapper.h"
#include "engine/BatchConverter.h"
#include "engine/CommandLineSplitter.h"
#include "engine/ConverterCommand.h"
#include "platform/DesktopTask.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "platform/UserMessages.h"
#include "ui/QtServices.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// Runs the event loop until `signal` of `sender` arrives (no polling: the loop sleeps).
template <typename Sender, typename Signal> void WaitFor(Sender *sender, Signal signal)
{
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, &QEventLoop::quit);
    loop.exec();
}

int Batch()
{
    constexpr int kFiles = 10;
    constexpr int kRounds = 3;
    QTemporaryDir work;
    const platform::ProgramPlaces places = PlacesIn(work.path());
    const QString log = work.path() + "/converter.log";
    InstallConverterWrapper(places.programFolder, RealConverter(), log);
    const QString clip = work.path() + "/clip.mp4";
    if (!MakeClip(clip, 180))
        return 1;
    const QString out = work.path() + "/out";
    const QStringList inputs = CopiesOf(clip, kFiles, work.path() + "/in", out);

    BenchServices services;
    ScriptedDialogs &dialogs = services.dialogs;
    frmMain window(places, services.All());
    ChooseMp3At192(window, out);

    QList<double> directPerFile, windowPerFile, converterMs, ownPerFile, toFirst, between, afterLast;
    for (int round = 0; round < kRounds; ++round) {
        // The same command lines, run directly one after another.
        directPerFile << MillisecondsOf([&] {
                             for (const QString &input : inputs) {
                                 const ConverterCommand cmd = BuildConverterCommand(
                                     places.programFolder, input, window.CurrentChoices());
                                 QStringList argv = ConverterArgv(SplitConverterCommandLine(
                                     cmd.commandLine, ConverterPath(places.programFolder)));
                                 RunDirectly(RealConverter(), argv.mid(1));
                             }
                         }) / kFiles;

        QFile::remove(log);
        dialogs.files = inputs;
        for (int i = 0; i < kFiles; ++i)
            window.imgAdd_Click();
        const qint64 convert = MonotonicNs();
        window.imgConvert_Click();
        WaitFor(&window.Batch(), &BatchConverter::BatchFinished);
        const qint64 finished = MonotonicNs();
        WaitForDesktopHelpers();
        const QList<ConverterRun> runs = ReadConverterRuns(log);
        if (runs.size() != kFiles) {
            std::fprintf(stderr, "expected %d converter runs, saw %lld\n", kFiles, (long long)runs.size());
            return 1;
        }
        qint64 converterTotal = 0;
        for (int i = 0; i < kFiles; ++i) {
            converterTotal += runs[i].Ns();
            converterMs << runs[i].Ns() / 1e6;
            if (i > 0)
                between << (runs[i].startNs - runs[i - 1].endNs) / 1e6;
        }
        toFirst << (runs.first().startNs - convert) / 1e6;
        afterLast << (finished - runs.last().endNs) / 1e6;
        windowPerFile << (finished - convert) / 1e6 / kFiles;
        ownPerFile << (finished - convert - converterTotal) / 1e6 / kFiles;
    }
    std::printf("Batch of %d three-minute clips to MP3 192k, %d rounds alternated with direct runs\n", kFiles,
                kRounds);
    std::printf("  direct, per file:              %s\n", qPrintable(Described(SpreadOf(directPerFile))));
    std::printf("  through the window, per file:  %s\n", qPrintable(Described(SpreadOf(windowPerFile))));
    std::printf("  the converter's own runs:      %s\n", qPrintable(Described(SpreadOf(converterMs))));
    std::printf("  program's own time per file:   %s\n", qPrintable(Described(SpreadOf(ownPerFile))));
    std::printf("    Convert to the first start:  %s\n", qPrintable(Described(SpreadOf(toFirst))));
    std::printf("    between two files:           %s\n", qPrintable(Described(SpreadOf(between))));
    std::printf("    last end to the batch's end: %s\n", qPrintable(Described(SpreadOf(afterLast))));
    std::printf("  ratio of medians, window to direct: %.3f\n",
                Median(windowPerFile) / Median(directPerFile));
    std::printf("  targets: program's own time <= 160 ms per file, ratio about 1.18\n");
    return 0;
}

// Child: start the window, report when it is revealed, then the memory figures.
int Child(bool memory)
{
    QTemporaryDir work;
    const platform::ProgramPlaces places = PlacesIn(work.path());
    BenchServices services;
    ScriptedDialogs &dialogs = services.dialogs;
    frmMain window(places, services.All());
    window.show();
    WaitFor(&window.Timer2(), &QTimer::timeout);
    std::printf("shown\n");
    std::fflush(stdout);
    if (!memory)
        return 0;
    QTimer settle;
    settle.setSingleShot(true);
    settle.start(200);
    WaitFor(&settle, &QTimer::timeout);
    const qint64 idle = ResidentKiB();
    const QString file = work.path() + "/clip.mp4";
    QFile(file).open(QIODevice::WriteOnly);
    for (int i = 0; i < 10000; ++i)
        dialogs.files << file;
    for (int i = 0; i < 10000; ++i)
        window.imgAdd_Click();
    QCoreApplication::processEvents();
    std::printf("%lld %lld %d\n", idle, ResidentKiB(), window.Queue().Count());
    return 0;
}

int StartUp()
{
    QList<double> starts;
    for (int i = 0; i < 10; ++i) {
        QProcess child;
        double ms = 0;
        ms = MillisecondsOf([&] {
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child")});
            child.waitForReadyRead(10000);
        });
        child.waitForFinished();
        starts << ms;
    }
    // Baseline: a process of the same program that starts and ends without a window.
    QList<double> bare;
    for (int i = 0; i < 10; ++i)
        bare << MillisecondsOf([] {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--bare")});
            child.waitForFinished();
        });
    std::printf("Start-up to the window shown, median of 10: %.0f ms (target <= 300 ms)\n", Median(starts));
    std::printf("  of which starting a bare process of the same program: %.0f ms\n", Median(bare));

    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--memory")});
    child.waitForFinished(120000);
    const QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
    const QList<QByteArray> figures = lines.value(1).split(' ');
    std::printf("Resident memory: idle window %lld KiB, with %s queued entries %lld KiB\n",
                figures.value(0).toLongLong(), figures.value(2).constData(), figures.value(1).toLongLong());
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "--bare")
        return 0;
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brimwave"));
    if (mode == "--child" || mode == "--memory")
        return Child(mode == "--memory");
    PrintDesktopAround();
    const int startUp = StartUp();
    return startUp != 0 ? startUp : Batch();
}
