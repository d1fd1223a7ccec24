#include "TestSupport.h"
#include "engine/ConverterCommand.h"
#include "engine/ConverterJob.h"
#include "engine/DOSOutputs.h"
#include "engine/clsWaitableTimer.h"
#include "platform/ChildProcess.h"
#include "platform/ProcessList.h"
#include "queue/CodePage.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <QTest>

#include <gtest/gtest.h>

namespace {

// Runs `commandLine` with a runner for `converter` and records every event in order.
struct RecordedRun
{
    RecordedRun(const QString &commandLine, const QString &converter)
    {
        DOSOutputs dos(messages, converter);
        Record(dos, commandLine);
    }
    RecordedRun(DOSOutputs &dos, const QString &commandLine) { Record(dos, commandLine); }

    void Record(DOSOutputs &dos, const QString &commandLine)
    {
        QObject::connect(&dos, &DOSOutputs::ReceiveOutputs, [&](const QString &text) { events << text; });
        QObject::connect(&dos, &DOSOutputs::CommandOver, [&] { events << QStringLiteral("<over>"); });
        QElapsedTimer clock;
        clock.start();
        returned = dos.ExecuteCommand(commandLine);
        milliseconds = clock.elapsed();
        end = dos.LastEnd();
    }
    RecordingMessages messages;
    QStringList events;
    QString returned;
    qint64 milliseconds = 0;
    DOSOutputs::ChildEnd end;
};

TEST(Runner, SilentChildThatExits)
{
    FakeProgramFolder program;
    program.WriteConverter("exit 3");
    const RecordedRun run(program.ConverterPath() + " -threads 1", program.ConverterPath());
    EXPECT_EQ(run.events, QStringList{"<over>"});
    EXPECT_TRUE(run.messages.shown.isEmpty());
    EXPECT_TRUE(run.returned.isEmpty());
    EXPECT_EQ(run.end.kind, DOSOutputs::ChildEnd::Kind::Exited);
    EXPECT_EQ(run.end.exitCode, 3);
    EXPECT_LT(run.milliseconds, 1000);
}

TEST(Runner, LongOutputArrivesInOrderInReadsOfAtMost1024Bytes)
{
    FakeProgramFolder program;
    // 6000 numbered lines written at once: the pipe holds them until the reads catch up.
    QString expected;
    for (int i = 0; i < 600; ++i)
        expected += QString::asprintf("line %05d\n", i);
    program.WriteConverter("out " + QString(expected).replace("\n", "\\n"));
    const RecordedRun run(program.ConverterPath(), program.ConverterPath());
    ASSERT_GE(run.events.size(), 7);
    EXPECT_EQ(run.events.last(), "<over>");
    QString joined;
    for (const QString &text : run.events.mid(0, run.events.size() - 1)) {
        EXPECT_LE(text.toUtf8().size(), DOSOutputs::ReadSize);
        joined += text;
    }
    EXPECT_EQ(joined, expected);
    EXPECT_EQ(run.returned, expected);
    EXPECT_EQ(run.end.exitCode, 0);
}

TEST(Runner, HowTheChildEnded)
{
    FakeProgramFolder program;
    struct Case
    {
        const char *script;
        DOSOutputs::ChildEnd::Kind kind;
        int exitCode, signal;
    } cases[] = {
        {"exit 0", DOSOutputs::ChildEnd::Kind::Exited, 0, 0},
        {"exit 3", DOSOutputs::ChildEnd::Kind::Exited, 3, 0},
        {"out x\nexit 255", DOSOutputs::ChildEnd::Kind::Exited, 255, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.script);
        program.WriteConverter(c.script);
        const RecordedRun run(program.ConverterPath(), program.ConverterPath());
        EXPECT_EQ(run.end.kind, c.kind);
        EXPECT_EQ(run.end.exitCode, c.exitCode);
        EXPECT_EQ(run.end.signal, c.signal);
    }
}

TEST(Runner, ALetterCutByAReadBoundaryArrivesWhole)
{
    FakeProgramFolder program;
    // 1023 bytes, then a two-byte letter: the first read ends inside the letter.
    program.WriteConverter("fill 1023 a\nsleep 200\nout \\xc3\\xa9b");
    const RecordedRun run(program.ConverterPath(), program.ConverterPath());
    const QString expected = QString(1023, 'a') + QStringLiteral("\u00e9b");
    EXPECT_EQ(run.returned, expected);
    EXPECT_GE(run.events.size(), 3); // two reads and the end
    // The same watched beside others.
    ConverterJob job(program.ConverterPath());
    ASSERT_TRUE(RunToEnd(job, program.ConverterPath()));
    EXPECT_EQ(job.Outputs(), expected);
}

// A process list that is slow to answer, during which the converter's last words arrive.
class SlowProcessList : public DOSOutputs
{
public:
    using DOSOutputs::DOSOutputs;

private:
    bool IsProcessRunning(const QString &) const override
    {
        QThread::msleep(1500);
        return false;
    }
};

TEST(Runner, OutputThatArrivesWhileTheEndIsCheckedIsStillRead)
{
    FakeProgramFolder program;
    // The converter ends at once; what it left running writes a little later into the pipe.
    program.WriteConverter("later 200 late\nexit 0");
    RecordingMessages messages;
    SlowProcessList dos(messages, program.ConverterPath());
    const RecordedRun run(dos, program.ConverterPath());
    EXPECT_EQ(run.events, QStringList({"late", "<over>"}));
}

TEST(Runner, TheConverterIsAlwaysTheOneInTheProgramFolder)
{
    // The program folder's path holds a space; an executable named by the part before it
    // must never run in the converter's place.
    FakeProgramFolder program;
    program.WriteConverter("out converter\\n");
    const QString impostor = program.Path().section(' ', 0, 0);
    const QString touched = PrivateTestFolder() + "/impostor ran";
    const QString impostorProgram = PlaceFakeNamed(impostor, "append \"" + touched + "\" ran");
    const RecordedRun run(program.ConverterPath() + " -threads 1", program.ConverterPath());
    QFile::remove(impostorProgram);
    EXPECT_EQ(run.returned, "converter\n");
    EXPECT_FALSE(QFileInfo::exists(touched));
}

TEST(Runner, WaitsForEveryProcessOfTheConvertersName)
{
    // Another process of the same name, in other letter case, still running.
    QTemporaryDir other;
    QProcess second;
    ASSERT_TRUE(StartFakeNamed(second, other.path() + "/CONV", "sleep 600"));
    QElapsedTimer sinceStart;
    sinceStart.start();

    FakeProgramFolder program;
    program.WriteConverter("out done\\n");
    const RecordedRun run(program.ConverterPath(), program.ConverterPath());
    EXPECT_GE(sinceStart.elapsed(), 550);
    EXPECT_EQ(run.events, QStringList({"done\n", "<over>"}));
    second.waitForFinished();
}

TEST(Runner, StartFailuresShowTheirMessageAndRaiseNoEvent)
{
    FakeProgramFolder program;
    struct Case
    {
        QString commandLine;
        QString message;
    } cases[] = {
        {QString(), "Command Line empty"},
        {program.Path() + "/data/missing -threads 1 -i \"/a b.mp4\"", "File or command not found"},
        {"   ", "File or command not found"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        const RecordedRun run(c.commandLine, program.ConverterPath());
        EXPECT_TRUE(run.events.isEmpty());
        ASSERT_EQ(run.messages.shown.size(), 1);
        EXPECT_EQ(run.messages.shown[0].text, c.message);
        EXPECT_EQ(run.messages.shown[0].icon, platform::UserMessages::Icon::Error);
        EXPECT_TRUE(run.returned.isEmpty());
    }
}

TEST(Runner, EmptyArgumentKeepsThePropertyAndAnArgumentReplacesIt)
{
    FakeProgramFolder program;
    program.WriteConverter("out {1}\\n");
    RecordingMessages messages;
    DOSOutputs dos(messages, program.ConverterPath());
    dos.SetCommandLine(program.ConverterPath() + " first");
    EXPECT_EQ(dos.ExecuteCommand(), "first\n");
    EXPECT_EQ(dos.ExecuteCommand(program.ConverterPath() + " second"), "second\n");
    EXPECT_EQ(dos.CommandLine(), program.ConverterPath() + " second");
    EXPECT_EQ(dos.Outputs(), "second\n");
}

TEST(Runner, WaitReturnsOnTimeWhileEventsKeepArriving)
{
    int ticks = 0;
    QTimer busy;
    QObject::connect(&busy, &QTimer::timeout, [&] { ++ticks; });
    busy.start(0);
    clsWaitableTimer timer;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer clock;
        clock.start();
        timer.Wait(50);
        EXPECT_GE(clock.elapsed(), 45);
        EXPECT_LT(clock.elapsed(), 250);
    }
    EXPECT_GT(ticks, 3); // the application kept handling its events meanwhile
}

TEST(Runner, EveryNameReachesTheConverterAsExactlyOneArgument)
{
    FakeProgramFolder program;
    QTemporaryDir work;
    const QString argsFile = work.path() + "/args";
    program.WriteConverter("args \"" + argsFile + "\"");

    const QString folder = Native(work.path() + "/out $x `y` -z \u00e9\n");
    const QStringList names = {
        "with \"quotes\".mp4",
        "sp a ce.mp4",
        "-y.mp4",
        "--help.mp4",
        "$HOME.mp4",
        "`id`.mp4",
        "new\nline.mp4",
        "caf\u00e9 \u65e5\u672c.mp4",
        "semi;colon|pipe&amp.mp4",
    };
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        ConversionChoices choices;
        choices.formatIndex = int(OutputFormat::MP3);
        choices.outputFolder = folder;
        const QString input = Native(work.path() + "/") + name;
        const ConverterCommand cmd = BuildConverterCommand(program.Path(), input, choices);
        const RecordedRun run(cmd.commandLine, program.ConverterPath());
        ASSERT_TRUE(run.messages.shown.isEmpty());
        QFile args(argsFile);
        ASSERT_TRUE(args.open(QIODevice::ReadOnly));
        QStringList got = QString::fromUtf8(args.readAll()).split(QChar(0));
        got.removeLast();
        // In the system's narrow form, where a quote cannot be (the form itself is tested elsewhere).
        const QString narrowInput = NarrowForm(QString(input).replace('"', '?'));
        const QString output = NarrowForm(folder + QDir::separator() +
                                          QString(name).replace('"', '?').section('.', 0, -2) + ".mp3");
        EXPECT_EQ(got, QStringList({"-threads", "1", "-i", narrowInput, "-y", "-vn", "-ab", "192k", "-ar",
                                    "44100", "-ac", "2", output}));
    }
}

TEST(ProcessList, FindAndKillByNameInAnyCase)
{
    QTemporaryDir dir;
    QProcess upper, other;
    ASSERT_TRUE(StartFakeNamed(upper, dir.path() + "/CONV", "sleep 30000"));
    ASSERT_TRUE(StartFakeNamed(other, dir.path() + "/conv2", "sleep 30000"));
    EXPECT_TRUE(platform::IsProcessNameRunning(platform::ConverterProcessName()));
    EXPECT_TRUE(platform::IsProcessNameRunning(platform::ConverterProcessName().toUpper()));
    EXPECT_EQ(platform::KillProcessByName(platform::ConverterProcessName()), 1);
    EXPECT_TRUE(upper.waitForFinished(2000));
    EXPECT_EQ(other.state(), QProcess::Running); // another name is left alone
    EXPECT_FALSE(platform::IsProcessNameRunning(platform::ConverterProcessName()));
    other.kill();
    other.waitForFinished();
}

TEST(ProcessList, AnEndedButUnreapedChildDoesNotCount)
{
    QTemporaryDir dir;
    platform::ChildProcess child;
    ASSERT_EQ(child.Start({PlaceFakeNamed(dir.path() + "/conv", "exit 0")}),
              platform::ChildProcess::StartResult::Started);
    // It exits at once but nobody collects it: the list must stop naming it all the same.
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return !platform::IsProcessNameRunning(platform::ConverterProcessName()); }, 20000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return child.Reap(); }, 20000));
    EXPECT_EQ(child.ExitCode(), 0);
}

// A converter that prints a lot at once is never held up on a full pipe until the next poll:
// more than the pipe holds, at one read of 1,024 bytes per poll, would take minutes.
TEST(Runner, AChattyConverterIsReadAsFastAsItWrites)
{
    FakeProgramFolder program;
    program.WriteConverter("fill 1572864 x\nout \\nthe end\\n");
    const RecordedRun run(program.ConverterPath(), program.ConverterPath());
    qsizetype read = 0;
    for (const QString &text : run.events) {
        EXPECT_LE(text.size(), DOSOutputs::ReadSize);
        read += text == "<over>" ? 0 : text.size();
    }
    EXPECT_EQ(read, 1572864 + 1 + 8);
    EXPECT_LT(run.milliseconds, 10000);
    // Only the end is kept: a converter that prints without end must not fill the memory.
    EXPECT_TRUE(run.returned.endsWith("x\nthe end\n"));
    EXPECT_LE(run.returned.size(), 2 * DOSOutputs::KeptOutputChars);
}

// The same for a converter watched beside others.
TEST(Runner, AConverterWatchedBesideOthersKeepsOnlyTheEndOfItsOutput)
{
    FakeProgramFolder program;
    program.WriteConverter("fill 1572864 x\nout \\nthe end\\n");
    ConverterJob job(program.ConverterPath());
    qsizetype read = 0;
    QObject::connect(&job, &ConverterJob::ReceiveOutputs, [&](const QString &text) { read += text.size(); });
    ASSERT_TRUE(RunToEnd(job, program.ConverterPath()));
    EXPECT_EQ(read, 1572864 + 1 + 8);
    EXPECT_TRUE(job.Outputs().endsWith("x\nthe end\n"));
    EXPECT_LE(job.Outputs().size(), 2 * DOSOutputs::KeptOutputChars);
}

// A converter watched beside others is read while it runs, not only at its end: each thing it
// prints reaches the program before it prints the next (so its progress shows, and its pipe
// never fills up).
TEST(Runner, AConverterBesideOthersIsReadWhileItRuns)
{
    FakeProgramFolder program;
    const QString seen = program.Path() + "/seen-";
    program.WriteConverter(
        QString("out one\nawait \"%1one\"\nout two\nawait \"%1two\"\nout three").arg(seen));
    ConverterJob job(program.ConverterPath());
    QObject::connect(&job, &ConverterJob::ReceiveOutputs, [&](const QString &text) {
        for (const char *word : {"one", "two"}) {
            if (text.contains(word))
                QFile(seen + word).open(QIODevice::WriteOnly);
        }
    });
    ASSERT_TRUE(RunToEnd(job, program.ConverterPath()));
    EXPECT_EQ(job.Outputs(), "onetwothree");
}

// A converter watched beside others tells its end once, however long the program goes on after it.
TEST(Runner, AConverterBesideOthersEndsOnce)
{
    FakeProgramFolder program;
    program.WriteConverter("out done");
    ConverterJob first(program.ConverterPath()), second(program.ConverterPath());
    int firstEnds = 0;
    QObject::connect(&first, &ConverterJob::Ended, [&] { ++firstEnds; });
    ASSERT_TRUE(RunToEnd(first, program.ConverterPath()));
    ASSERT_TRUE(RunToEnd(second, program.ConverterPath()));
    EXPECT_EQ(firstEnds, 1);
}

// Beside others, a converter is read as it talks, but not once per line: after each read its
// pipe is left to fill for a while (a busy machine only makes that longer), and nothing is lost.
// One that closes its output and works on costs no wake-up until it ends.
TEST(Runner, AConverterBesideOthersWakesTheProgramSeldom)
{
    const struct
    {
        const char *name;
        QString script;
        QString outputs;
        int mostWakeUps;
    } cases[] = {
        {"a warning a millisecond", QString("err warning\\n\nsleep 1\n").repeated(300),
         QString("warning\n").repeated(300), 300},
        {"closed output", "out started\nclose\nsleep 1000\nexit 0", "started", 20},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FakeProgramFolder program;
        program.WriteConverter(c.script);
        ConverterJob job(program.ConverterPath());
        QElapsedTimer clock;
        clock.start();
        QList<qint64> readAt;
        // One wake-up may read twice (more came meanwhile): reads close together count once.
        QObject::connect(&job, &ConverterJob::ReceiveOutputs, [&] {
            if (readAt.isEmpty() || clock.elapsed() - readAt.last() > 5)
                readAt << clock.elapsed();
        });
        struct WakeUps : QObject
        {
            int count = 0;
            bool eventFilter(QObject *, QEvent *event) override
            {
                count += event->type() == QEvent::SockAct;
                return false;
            }
        } wakeUps;
        QCoreApplication::instance()->installEventFilter(&wakeUps);
        ASSERT_TRUE(RunToEnd(job, program.ConverterPath()));
        QCoreApplication::instance()->removeEventFilter(&wakeUps);
        EXPECT_EQ(job.Outputs(), c.outputs);
        EXPECT_LT(wakeUps.count, c.mostWakeUps);
        // The last read may come with the converter's end, sooner.
        for (int i = 1; i + 1 < readAt.size(); ++i)
            EXPECT_GE(readAt[i] - readAt[i - 1], 15) << "read " << i;
    }
}

// The pipe holds what a talkative converter prints between two polls: it never waits on it.
TEST(Runner, ThePipeHoldsHalfAMegabyteUnread)
{
    FakeProgramFolder program;
    const QString done = program.Path() + "/done";
    program.WriteConverter("fill 524288 x\nappend \"" + done + "\" done");
    platform::ChildProcess child;
    ASSERT_EQ(child.Start({program.ConverterPath()}), platform::ChildProcess::StartResult::Started);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(done); }, 3000));
    child.Kill();
}

// The runner looks at the pipe every 50 ms: never more often (a busy machine only makes the
// gaps longer), and often enough that a converter talking in small pieces is read as it goes.
TEST(Runner, PollsTwentyTimesASecond)
{
    FakeProgramFolder program;
    program.WriteConverter(QString("out x\nsleep 20\n").repeated(35));
    RecordingMessages messages;
    DOSOutputs dos(messages, program.ConverterPath());
    QElapsedTimer clock;
    clock.start();
    QList<qint64> readAt;
    QObject::connect(&dos, &DOSOutputs::ReceiveOutputs, [&] { readAt << clock.elapsed(); });
    EXPECT_EQ(dos.ExecuteCommand(program.ConverterPath()).size(), 35);
    // The last read may follow the converter's end at once; within one poll, what arrives while it
    // reads is read at once too (a few milliseconds apart, more where pipes are slow, as under Wine).
    ASSERT_GE(readAt.size(), 3);
    for (int i = 1; i + 1 < readAt.size(); ++i) {
        const qint64 gap = readAt[i] - readAt[i - 1];
        EXPECT_TRUE(gap < 10 || gap >= DOSOutputs::PollMilliSeconds - 10) << i << ": " << gap;
    }
    EXPECT_GE(readAt.size(), 5) << "the converter's pieces were read all at once";
}

} // namespace
