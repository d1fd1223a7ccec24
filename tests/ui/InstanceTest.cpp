#include "WindowFakes.h"
#include "platform/ProcessEnd.h"
#include "platform/SingleInstance.h"
#include "ui/HotArea.h"
#include "ui/InstanceChannel.h"
#include "ui/QtServices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Outcome = platform::SingleInstance::Outcome;

QString Program()
{
    return QCoreApplication::applicationDirPath() + "/brimwave";
}

TEST(Instance, OnlyAnotherLiveProcessKeepsTheProgramOut)
{
    QTemporaryDir dir;
    const QString lock = dir.path() + "/cache/instance.lock";

    // A lock left by an earlier run that ended at once and had this very process id.
    {
        QLockFile earlier(lock);
        QDir().mkpath(dir.path() + "/cache");
        ASSERT_TRUE(earlier.tryLock(0));
        QFile file(lock);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray left = file.readAll();
        file.close();
        earlier.unlock();
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(left);
    }
    platform::SingleInstance first(lock);
    EXPECT_EQ(first.Result(), Outcome::First);

    // No lock can be made: the program starts all the same.
    PutFile(dir.path() + "/file");
    EXPECT_EQ(platform::SingleInstance(dir.path() + "/file/instance.lock").Result(), Outcome::Unguarded);
    QDir().mkpath(dir.path() + "/locked");
    const FolderWithoutNewFiles locked(dir.path() + "/locked");
    if (locked.Active()) {
        EXPECT_EQ(platform::SingleInstance(dir.path() + "/locked/instance.lock").Result(),
                  Outcome::Unguarded);
    }
}

TEST(Instance, EndingAtOnceGivesTheLockBack)
{
    QTemporaryDir dir;
    const QString lock = dir.path() + "/instance.lock";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The program's way out: the lock taken at start, then the end from the exit button.
        platform::SingleInstance instance(lock);
        if (instance.Result() != Outcome::First)
            ::_exit(3);
        platform::DoBeforeProcessEnd([&instance] { instance.Release(); });
        QtShell().EndProcess();
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(QFileInfo::exists(lock));
}

TEST(Instance, ALaterStartBringsTheRunningWindowToTheFront)
{
    QTemporaryDir cache;
    const QString folder = cache.path() + "/Brimwave";
    QDir().mkpath(folder);
    platform::SingleInstance held(folder + "/instance.lock");
    ASSERT_EQ(held.Result(), Outcome::First);
    WindowFixture f;
    frmMain &w = f.Start();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CACHE_HOME", cache.path());
    // Nobody takes the files yet: the later start says so, once it has tried for a while.
    QProcess untaken;
    untaken.setProcessEnvironment(env);
    untaken.start(Program(), {cache.path() + "/clip.mp4"});
    EXPECT_TRUE(untaken.waitForFinished(20000));
    EXPECT_EQ(untaken.exitCode(), 1);

    InstanceChannel channel(folder + "/instance.socket");
    w.AcceptLaterStarts(channel);
    ASSERT_TRUE(channel.Listen());
    w.showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.isMinimized(); }, 2000));

    // A later start with files to open, one named relative to where it was started.
    for (const char *name : {"b.mp4", "a.avi"})
        PutFile(cache.path() + "/media/" + name);
    QProcess later;
    later.setProcessEnvironment(env);
    later.setWorkingDirectory(cache.path() + "/media");
    later.start(Program(), {cache.path() + "/media/b.mp4", "a.avi"});
    // The later start waits for its request to be taken, so the test keeps the loop running.
    EXPECT_TRUE(QTest::qWaitFor([&] { return later.state() == QProcess::NotRunning; }, 10000));
    EXPECT_EQ(later.exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.isMinimized(); }, 2000));
    // Its files are queued in the running window, in order, as if dropped on the start panel.
    EXPECT_EQ(w.Queue().lstFile(),
              QStringList({cache.path() + "/media/b.mp4", cache.path() + "/media/a.avi"}));
    EXPECT_FALSE(w.Ui().picDoor->isVisible());
}

// A session bus that takes the connection and never answers holds up neither the window's
// start nor later starts handing it their files, and the program still ends when asked.
TEST(Instance, ASilentSessionBusHoldsNothingUp)
{
    QTemporaryDir cache;
    QLocalServer silentBus;
    ASSERT_TRUE(silentBus.listen(cache.path() + "/bus"));
    QList<QLocalSocket *> held;
    QObject::connect(&silentBus, &QLocalServer::newConnection,
                     [&] { held << silentBus.nextPendingConnection(); });
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CACHE_HOME", cache.path());
    env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + cache.path() + "/bus");
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(Program());
    // The program has reached the bus: that is where it used to wait.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !held.isEmpty(); }, 20000));

    PutFile(cache.path() + "/clip.mp4");
    QProcess later;
    later.setProcessEnvironment(env);
    later.start(Program(), {cache.path() + "/clip.mp4"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return later.state() == QProcess::NotRunning; }, 20000));
    EXPECT_EQ(later.exitCode(), 0); // the running window took the file

    first.terminate();
    EXPECT_TRUE(QTest::qWaitFor([&] { return first.state() == QProcess::NotRunning; }, 20000));
    EXPECT_FALSE(QFileInfo::exists(cache.path() + "/Brimwave/instance.lock"));
}

// The line a later start talks over is in a place only this user can write: the cache folder
// (the user's own, 0700), the runtime folder, or a 0700 folder of the user's own; never a
// name in the shared temporary folder that another user could take first.
TEST(Instance, NoOtherUserCanTakeTheInstanceLine)
{
    const QByteArray savedCache = qgetenv("XDG_CACHE_HOME"), savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    QTemporaryDir dir;
    const QString deep = dir.path() + "/" + QString(120, 'c');
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString own = QDir::tempPath() + QStringLiteral("/brimwave-%1").arg(::geteuid());
    struct Case
    {
        const char *name;
        QString cache, runtime;
        QString expectedFolder; // empty: no line at all
        bool ownFolderOpenToAll;
    } cases[] = {
        {"a short cache path", dir.path(), {}, dir.path() + "/Brimwave", false},
        {"a long one, with a runtime folder", deep, runtime.path(), runtime.path(), false},
        {"a long one, no runtime folder", deep, {}, own, false},
        {"a long one, and the own folder is open to all", deep, {}, {}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        qputenv("XDG_CACHE_HOME", c.cache.toUtf8());
        if (c.runtime.isEmpty())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", c.runtime.toUtf8());
        QDir().mkpath(own);
        QFile::setPermissions(own, c.ownFolderOpenToAll
                                       ? QFileDevice::Permissions(0x7777)
                                       : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const platform::ProgramPlaces places = platform::ProgramPlaces::ForThisProgram();
        EXPECT_EQ(QFileInfo(places.instanceSocket).absolutePath(), c.expectedFolder) << places.instanceSocket;
        if (c.cache == dir.path()) {
            platform::SingleInstance instance(places.instanceLock);
            EXPECT_EQ(QFileInfo(QFileInfo(places.instanceLock).absolutePath()).permissions() & 0x0077, 0);
            EXPECT_EQ(QFileInfo(places.instanceLock).permissions() & 0x0077, 0);
        }
    }
    QFile::setPermissions(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_CACHE_HOME", savedCache);
    if (savedRuntime.isEmpty())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", savedRuntime);
}

} // namespace
