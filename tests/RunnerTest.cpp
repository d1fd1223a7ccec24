#include "TestSupport.h"
#include "engine/ConverterCommand.h"
#include "engine/DOSOutputs.h"
#include "engine/clsWaitableTimer.h"
#include "platform/ChildProcess.h"
#include "platform/ProcessList.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Runs `commandLine` and records every event in order.
struct RecordedRun
{
    explicit RecordedRun(const QString &commandLine)
    {
        DOSOutputs dos(messages);
        QObject::connect(&dos, &DOSOutputs::ReceiveOutputs, [&](const QString &text) { events << text; });
        QObject::connect(&dos, &DOSOutputs::CommandOver, [&] { events << QStringLiteral("<over>"); });
        QElapsedTimer clock;
        clock.start();
        returned = dos.ExecuteCommand(commandLine);
        milliseconds = clock.elapsed();
        exitCode = dos.LastExitCode();
    }
    RecordingMessages messages;
    QStringList events;
    QString returned;
    qint64 milliseconds = 0;
    std::optional<int> exitCode;
};

TEST(Runner, SilentChildThatExits)
{
    FakeProgramFolder program;
    program.WriteConverter("exit 3");
    const RecordedRun run(program.ConverterPath() + " -threads 1");
    EXPECT_EQ(run.events, QStringList{"<over>"});
    EXPECT_TRUE(run.messages.shown.isEmpty());
    EXPECT_TRUE(run.returned.isEmpty());
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_LT(run.milliseconds, 1000);
}

TEST(Runner, LongOutputArrivesInOrderInReadsOfAtMost1024Bytes)
{
    FakeProgramFolder program;
    // 6000 numbered lines written at once: the pipe holds them until the reads catch up.
    program.WriteConverter("i=0; while [ $i -lt 600 ]; do printf 'line %05d\\n' $i; i=$((i+1)); done");
    const RecordedRun run(program.ConverterPath());
    ASSERT_GE(run.events.size(), 7);
    EXPECT_EQ(run.events.last(), "<over>");
    QString joined;
    for (const QString &text : run.events.mid(0, run.events.size() - 1)) {
        EXPECT_LE(text.toUtf8().size(), DOSOutputs::ReadSize);
        joined += text;
    }
    QString expected;
    for (int i = 0; i < 600; ++i)
        expected += QString::asprintf("line %05d\n", i);
    EXPECT_EQ(joined, expected);
    EXPECT_EQ(run.returned, expected);
    EXPECT_EQ(run.exitCode, 0);
}

TEST(Runner, WaitsForEveryProcessOfTheConvertersName)
{
    // Another process of the same name, in other letter case, still running.
    QTemporaryDir other;
    const QString otherPath = other.path() + "/CONV";
    ASSERT_TRUE(QFile::link("/bin/sleep", otherPath));
    QProcess second;
    second.start(otherPath, {"0.6"});
    ASSERT_TRUE(second.waitForStarted());
    QElapsedTimer sinceStart;
    sinceStart.start();

    FakeProgramFolder program;
    program.WriteConverter("echo done");
    const RecordedRun run(program.ConverterPath());
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
        const RecordedRun run(c.commandLine);
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
    program.WriteConverter("echo \"$1\"");
    RecordingMessages messages;
    DOSOutputs dos(messages);
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
    program.WriteConverter("printf '%s\\0' \"$@\" > '" + argsFile + "'");

    const QString folder = work.path() + "/out $x `y` -z \u00e9\n";
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
        const QString input = work.path() + "/" + name;
        const ConverterCommand cmd = BuildConverterCommand(program.Path(), input, choices);
        const RecordedRun run(cmd.commandLine);
        ASSERT_TRUE(run.messages.shown.isEmpty());
        QFile args(argsFile);
        ASSERT_TRUE(args.open(QIODevice::ReadOnly));
        QStringList got = QString::fromUtf8(args.readAll()).split(QChar(0));
        got.removeLast();
        const QString narrowInput = QString(input).replace('"', '?');
        const QString output = folder + "/" + QString(name).replace('"', '?').section('.', 0, -2) + ".mp3";
        EXPECT_EQ(got, QStringList({"-threads", "1", "-i", narrowInput, "-y", "-vn", "-ab", "192k", "-ar",
                                    "44100", "-ac", "2", output}));
    }
}

} // namespace

namespace {

// A process of the given name: the system's "sleep" under that name.
QString SleeperNamed(const QTemporaryDir &dir, const QString &name)
{
    const QString path = dir.path() + "/" + name;
    QFile::link("/bin/sleep", path);
    return path;
}

TEST(ProcessList, FindAndKillByNameInAnyCase)
{
    QTemporaryDir dir;
    QProcess upper, other;
    upper.start(SleeperNamed(dir, "CONV"), {"30"});
    other.start(SleeperNamed(dir, "conv2"), {"30"});
    ASSERT_TRUE(upper.waitForStarted() && other.waitForStarted());
    EXPECT_TRUE(platform::IsProcessNameRunning("conv"));
    EXPECT_TRUE(platform::IsProcessNameRunning("Conv"));
    EXPECT_EQ(platform::KillProcessByName("conv"), 1);
    EXPECT_TRUE(upper.waitForFinished(2000));
    EXPECT_EQ(other.state(), QProcess::Running); // another name is left alone
    EXPECT_FALSE(platform::IsProcessNameRunning("conv"));
    other.kill();
    other.waitForFinished();
}

TEST(ProcessList, AnEndedButUnreapedChildDoesNotCount)
{
    QTemporaryDir dir;
    QFile::link("/bin/true", dir.path() + "/conv");
    platform::ChildProcess child;
    ASSERT_EQ(child.Start({dir.path() + "/conv"}), platform::ChildProcess::StartResult::Started);
    QThread::msleep(300); // it has exited, but nobody has collected it yet
    EXPECT_FALSE(platform::IsProcessNameRunning("conv"));
    EXPECT_TRUE(child.Reap());
    EXPECT_EQ(child.ExitCode(), 0);
}

} // namespace
