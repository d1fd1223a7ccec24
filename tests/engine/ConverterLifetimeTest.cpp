// How the converter's process relates to the program's on Linux: it never outlives the program,
// reads nothing of the program's input, takes none of its signal state or descriptors, is always
// collected, and ends by a signal as the system reports it.
#include "TestSupport.h"
#include "engine/ConverterJob.h"
#include "engine/DOSOutputs.h"
#include "platform/ChildProcess.h"
#include "platform/ProcessList.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTest>
#include <QThread>

#include <csignal>
#include <fcntl.h>
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

// Everything a child of this process prints, to its end.
QByteArray OutputToEnd(platform::ChildProcess &child)
{
    QByteArray all;
    char buffer[4096];
    for (qint64 got; (got = child.Read(buffer, sizeof buffer)) > 0;)
        all.append(buffer, int(got));
    return all;
}

// The descriptors of this process that a program it starts inherits.
QSet<int> InheritedDescriptors()
{
    QSet<int> fds;
    for (const QString &entry : QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System)) {
        const int flags = ::fcntl(entry.toInt(), F_GETFD);
        if (flags >= 0 && !(flags & FD_CLOEXEC))
            fds.insert(entry.toInt());
    }
    return fds;
}

// A converter starts as from a fresh shell, however the program has set up its own signals: no
// signal blocked, the end signals handled the standard way; and it holds no descriptor of the
// program's but those every child may have, not even the pipe of a converter beside it.
TEST(Runner, TheConverterGetsNoneOfTheProgramsSignalStateOrDescriptors)
{
    struct sigaction ignore = {}, handled = {}, savedTerm = {}, savedInt = {};
    ignore.sa_handler = SIG_IGN;
    handled.sa_handler = [](int) {
    };
    ::sigaction(SIGTERM, &ignore, &savedTerm);
    ::sigaction(SIGINT, &handled, &savedInt);
    sigset_t blocked, savedMask;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGUSR2);
    ::pthread_sigmask(SIG_BLOCK, &blocked, &savedMask);
    const QSet<int> inherited = InheritedDescriptors();

    platform::ChildProcess beside, signalState, descriptors;
    ASSERT_EQ(beside.Start({"/bin/sleep", "30"}), platform::ChildProcess::StartResult::Started);
    ASSERT_EQ(signalState.Start({"/bin/grep", "-E", "^Sig(Blk|Ign)", "/proc/self/status"}),
              platform::ChildProcess::StartResult::Started);
    ASSERT_EQ(descriptors.Start({"/bin/sh", "-c", "ls /proc/$$/fd"}),
              platform::ChildProcess::StartResult::Started);
    const QList<QByteArray> lines = OutputToEnd(signalState).split('\n');
    const QList<QByteArray> fds = OutputToEnd(descriptors).split('\n');
    beside.Kill();
    ::pthread_sigmask(SIG_SETMASK, &savedMask, nullptr);
    ::sigaction(SIGTERM, &savedTerm, nullptr);
    ::sigaction(SIGINT, &savedInt, nullptr);

    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], "SigBlk:\t0000000000000000");
    const quint64 ignored = lines[1].mid(lines[1].indexOf('\t') + 1).toULongLong(nullptr, 16);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        EXPECT_FALSE(ignored & (quint64(1) << (signal - 1))) << "signal " << signal;
    }
    for (const QByteArray &fd : fds) {
        const bool foreign = fd.toInt() > STDERR_FILENO && !inherited.contains(fd.toInt());
        EXPECT_FALSE(foreign) << "descriptor " << fd.constData();
    }
}

// How many descriptors this process holds.
int OpenDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

// Every way a converter runs gives back each descriptor it took, so that a batch of any length
// never runs out of them: alone, beside others, killed, and when it cannot be run.
TEST(Runner, ConvertersLeaveNoDescriptorBehind)
{
    FakeProgramFolder program;
    program.WriteConverter("out done");
    const QString notRunnable = program.Path() + "/not-runnable";
    QFile(notRunnable).open(QIODevice::WriteOnly);
    const int before = OpenDescriptors();
    for (int round = 0; round < 3; ++round) {
        {
            platform::ChildProcess alone, killed, failed;
            ASSERT_EQ(alone.Start({program.ConverterPath()}), platform::ChildProcess::StartResult::Started);
            // Read once it has ended, without waiting for the pipe's end: a leaked write end
            // would hold that off for ever.
            ASSERT_TRUE(QTest::qWaitFor([&] { return alone.Reap(); }, 30000));
            char said[8] = {};
            EXPECT_EQ(alone.Read(said, sizeof said - 1), 4);
            EXPECT_STREQ(said, "done");
            ASSERT_EQ(killed.Start({"/bin/sleep", "30"}), platform::ChildProcess::StartResult::Started);
            killed.Kill();
            EXPECT_EQ(failed.Start({notRunnable}), platform::ChildProcess::StartResult::NotFound);
        }
        {
            RecordingMessages messages;
            DOSOutputs dos(messages, program.ConverterPath());
            EXPECT_EQ(dos.ExecuteCommand(program.ConverterPath()), "done");
        }
        {
            ConverterJob beside(program.ConverterPath()), killed(program.ConverterPath());
            ASSERT_TRUE(RunToEnd(beside, program.ConverterPath()));
            ASSERT_TRUE(killed.Start(program.ConverterPath()));
        }
        EXPECT_EQ(OpenDescriptors(), before) << "round " << round;
    }
}

// This process's children that never ran a program (still named as this process), collected or
// not: a child whose program could not be run may still be on its way out.
int ChildrenThatRanNothing()
{
    int count = 0;
    QFile ownStat(QStringLiteral("/proc/self/stat"));
    ownStat.open(QIODevice::ReadOnly);
    const QByteArray own = ownStat.readAll();
    const QByteArray ownName = own.left(own.lastIndexOf(')') + 1).mid(own.indexOf(' ') + 1);
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (entry.toInt() <= 0 || !stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...": the name may hold spaces and parentheses.
        const QByteArray text = stat.readAll();
        const qsizetype nameEnd = text.lastIndexOf(')') + 1;
        const QList<QByteArray> fields = text.mid(nameEnd + 1).split(' ');
        const QByteArray name = text.left(nameEnd).mid(text.indexOf(' ') + 1);
        count += fields.size() > 1 && name == ownName && fields[1].toLongLong() == ::getpid() ? 1 : 0;
    }
    return count;
}

// A converter that could not be run and one that was killed are collected at once: nothing is
// left behind in the process table, whatever the batch does next.
TEST(Runner, EveryConverterIsCollected)
{
    FakeProgramFolder program;
    const QString notRunnable = program.Path() + "/not-runnable";
    QFile(notRunnable).open(QIODevice::WriteOnly);
    const int before = ChildrenThatRanNothing();
    platform::ChildProcess failed;
    EXPECT_EQ(failed.Start({notRunnable}), platform::ChildProcess::StartResult::NotFound);
    EXPECT_EQ(failed.LastError(), EACCES);
    EXPECT_EQ(ChildrenThatRanNothing(), before);

    platform::ChildProcess killed;
    ASSERT_EQ(killed.Start({"/bin/sleep", "30"}), platform::ChildProcess::StartResult::Started);
    const qint64 pid = killed.ProcessId();
    killed.Kill();
    EXPECT_FALSE(QFile::exists(QStringLiteral("/proc/%1").arg(pid)));
    EXPECT_EQ(killed.EndSignal(), SIGKILL);
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
