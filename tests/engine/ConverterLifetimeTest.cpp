// How the converter's process relates to the program's on Linux: it never outlives the program,
// reads nothing of the program's input, and ends by a signal as the system reports it.
#include "TestSupport.h"
#include "engine/ConverterJob.h"
#include "engine/DOSOutputs.h"
#include "platform/ChildProcess.h"
#include "platform/ProcessList.h"

#include <QFile>
#include <QProcess>
#include <QTest>
#include <QThread>

#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(Runner, HowACrashedChildEnded)
{
    FakeProgramFolder program;
    for (const int signal : {SIGKILL, SIGSEGV}) {
        SCOPED_TRACE(signal);
        program.WriteConverter("out x\ncrash " + QString::number(signal));
        RecordingMessages messages;
        DOSOutputs dos(messages, program.ConverterPath());
        EXPECT_EQ(dos.ExecuteCommand(program.ConverterPath()), "x");
        EXPECT_EQ(dos.LastEnd().kind, DOSOutputs::ChildEnd::Kind::Signalled);
        EXPECT_EQ(dos.LastEnd().exitCode, 0);
        EXPECT_EQ(dos.LastEnd().signal, signal);
    }
}

TEST(ProcessList, OtherUsersProcessesAreNeitherWaitedForNorKilled)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "starting another user's process needs the administrator";
    // A folder every user may enter, with the converter's name in it.
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadOther | QFile::ExeOther);
    const QString conv = PlaceFakeNamed(dir.path() + "/conv", "sleep 30000");
    QProcess other;
    other.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", conv});
    ASSERT_TRUE(other.waitForStarted());
    // setpriv becomes the converter once it has changed user.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            QFile comm(QStringLiteral("/proc/%1/comm").arg(other.processId()));
            return comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "conv";
        },
        20000));
    EXPECT_FALSE(platform::IsProcessNameRunning(platform::ConverterProcessName()));
    EXPECT_EQ(platform::KillProcessByName(platform::ConverterProcessName()), 0);
    EXPECT_EQ(other.state(), QProcess::Running);
    other.kill();
    other.waitForFinished();
}

// Whether the process `pid` still runs (an ended one may linger unreaped as a zombie).
bool Alive(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close > 0 && close + 2 < text.size() && text.at(close + 2) != 'Z';
}

// Whether the converter `pid` ends soon; one that does not is ended, so no test leaves it behind.
bool EndsSoon(qint64 pid)
{
    const bool ended = QTest::qWaitFor([&] { return !Alive(pid); }, 3000);
    if (!ended)
        ::kill(pid_t(pid), SIGKILL);
    return ended;
}

// Even a program killed without a chance to clean up takes its converter with it.
TEST(Runner, TheConverterEndsWithTheProgram)
{
    FakeProgramFolder program;
    const QString pidFile = program.Path() + "/converter.pid";
    program.WriteConverter("append \"" + pidFile + "\" {pid}\nsleep 30000");
    const QByteArray pidPath = QFile::encodeName(pidFile);
    const pid_t runner = ::fork();
    if (runner == 0) {
        platform::ChildProcess child;
        child.Start({program.ConverterPath()});
        for (int i = 0; i < 500 && ::access(pidPath.constData(), F_OK) != 0; ++i)
            ::usleep(10000);
        ::usleep(50000);
        ::kill(::getpid(), SIGKILL);
    }
    ASSERT_GT(runner, 0);
    ::waitpid(runner, nullptr, 0);
    QFile file(pidFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const qint64 converter = file.readAll().trimmed().toLongLong();
    ASSERT_GT(converter, 0);
    EXPECT_TRUE(EndsSoon(converter));
}

// Converters watched side by side end with the program too, even when it is killed.
TEST(Runner, ConvertersSideBySideEndWithTheProgram)
{
    FakeProgramFolder program;
    const QString pids = program.Path() + "/converters.pid";
    program.WriteConverter("append \"" + pids + "\" {pid}\nsleep 30000");
    const pid_t runner = ::fork();
    if (runner == 0) {
        ConverterJob first(program.ConverterPath());
        ConverterJob second(program.ConverterPath());
        first.Start(program.ConverterPath());
        second.Start(program.ConverterPath());
        QFile file(pids);
        for (int i = 0; i < 500 && !(file.open(QIODevice::ReadOnly) && file.readAll().count('\n') >= 2);
             ++i) {
            file.close();
            ::usleep(10000);
        }
        ::kill(::getpid(), SIGKILL);
    }
    ASSERT_GT(runner, 0);
    ::waitpid(runner, nullptr, 0);
    QFile file(pids);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    for (const QByteArray &line : lines) {
        const qint64 converter = line.toLongLong();
        ASSERT_GT(converter, 0);
        EXPECT_TRUE(EndsSoon(converter));
    }
}

// The converter reads nothing from the program's own standard input, whichever way it runs:
// whatever waits there is the user's, not the converter's.
TEST(Runner, TheConverterReadsNothingFromTheProgramsInput)
{
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ASSERT_EQ(::write(fds[1], "secret\n", 7), 7);
    const int savedInput = ::dup(STDIN_FILENO);
    ::dup2(fds[0], STDIN_FILENO);
    FakeProgramFolder program;
    program.WriteConverter("stdin");
    RecordingMessages messages;
    DOSOutputs dos(messages, program.ConverterPath());
    const QString alone = dos.ExecuteCommand(program.ConverterPath());
    ConverterJob job(program.ConverterPath());
    const bool jobEnded = RunToEnd(job, program.ConverterPath());
    ::dup2(savedInput, STDIN_FILENO);
    for (const int fd : {savedInput, fds[0], fds[1]})
        ::close(fd);
    EXPECT_EQ(alone, "nothing\n");
    ASSERT_TRUE(jobEnded);
    EXPECT_EQ(job.Outputs(), "nothing\n");
}

} // namespace
