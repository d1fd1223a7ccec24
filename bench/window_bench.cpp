// The main window's figures, each against a baseline from the same run:
// - a batch of ten 3-minute clips converted to MP3 (192k) through the window's own operations,
//   against the same converter command lines run directly one after another;
// - start-up to the window shown (revealed), median of 10 starts of a fresh process;
// - resident memory of the idle window and with 10,000 queued entries.
//
// Usage: window_bench            (runs everything; children are this program itself)
#include "BenchSupport.h"
#include "engine/CommandLineSplitter.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "platform/UserMessages.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

// Answers the open dialog from a list; the desktop does nothing.
class ScriptedDialogs : public platform::Dialogs
{
public:
    std::optional<OpenFileResult> OpenFile(const OpenFileRequest &) override
    {
        if (files.isEmpty())
            return std::nullopt;
        return OpenFileResult{files.takeFirst(), 0};
    }
    std::optional<QString> BrowseForFolder(QObject *, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    QStringList files;
};

class QuietShell : public platform::Shell
{
public:
    void OpenFolder(const QString &) override {}
    void PlaySoundFile(const QString &) override {}
    void EndProcess() override {}
};

platform::ProgramPlaces PlacesIn(const QString &root)
{
    platform::ProgramPlaces places;
    places.programFolder = root + "/program";
    places.tempFolder = root + "/cache/tmp";
    places.defaultOutputFolder = root + "/output";
    places.instanceLock = root + "/cache/lock";
    QDir().mkpath(places.programFolder + "/data");
    QFile::link(QCoreApplication::applicationDirPath() + "/data/conv", places.programFolder + "/data/conv");
    return places;
}

qint64 ResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

void RunUntil(const std::function<bool()> &done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

int Batch()
{
    QTemporaryDir work;
    const platform::ProgramPlaces places = PlacesIn(work.path());
    const QString clip = work.path() + "/clip.mp4";
    if (!MakeClip(clip, 180))
        return 1;
    QStringList inputs;
    for (int i = 0; i < 10; ++i) {
        inputs << work.path() + QStringLiteral("/in/clip %1.mp4").arg(i);
        QDir().mkpath(work.path() + "/in");
        QFile::copy(clip, inputs.last());
    }
    const QString out = work.path() + "/out";
    QDir().mkpath(out);

    platform::ConsoleMessages messages;
    ScriptedDialogs dialogs;
    QuietShell shell;
    frmMain window(places, {messages, dialogs, shell});
    window.cmbOF()->setCurrentIndex(0);
    window.cmbBR()->setCurrentText(QStringLiteral("192"));
    window.txtPath()->setText(out);

    const auto direct = [&] {
        return MillisecondsOf([&] {
            for (const QString &input : inputs) {
                const ConverterCommand cmd =
                    BuildConverterCommand(places.programFolder, input, window.CurrentChoices());
                const QStringList argv = ConverterArgv(
                    SplitConverterCommandLine(cmd.commandLine, ConverterPath(places.programFolder)));
                RunDirectly(argv.first(), argv.mid(1));
            }
        });
    };
    const double directBefore = direct();
    dialogs.files = inputs;
    for (int i = 0; i < inputs.size(); ++i)
        window.imgAdd_Click();
    bool finished = false;
    QObject::connect(&window.Batch(), &BatchConverter::BatchFinished, [&] { finished = true; });
    const double batch = MillisecondsOf([&] {
        window.imgConvert_Click();
        RunUntil([&] { return finished; });
    });
    const double directAfter = direct();
    const double baseline = (directBefore + directAfter) / 2;
    std::printf("Batch of 10 three-minute clips to MP3 192k\n");
    std::printf("  direct, one after another: %8.0f ms (%.0f before, %.0f after the batch)\n", baseline,
                directBefore, directAfter);
    std::printf("  through the window:        %8.0f ms\n", batch);
    std::printf("  overhead per file: %.0f ms   ratio: %.3f   (targets: <= 160 ms, about 1.18)\n",
                (batch - baseline) / inputs.size(), batch / baseline);
    return 0;
}

// Child: start the window, report when it is revealed, then the memory figures.
int Child(bool memory)
{
    QTemporaryDir work;
    const platform::ProgramPlaces places = PlacesIn(work.path());
    platform::ConsoleMessages messages;
    ScriptedDialogs dialogs;
    QuietShell shell;
    frmMain window(places, {messages, dialogs, shell});
    window.show();
    RunUntil([&] { return !window.Timer2().isActive(); });
    std::printf("shown\n");
    std::fflush(stdout);
    if (!memory)
        return 0;
    QTimer::singleShot(200, [] {});
    RunUntil([] { return true; });
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
    const int startUp = StartUp();
    return startUp != 0 ? startUp : Batch();
}
