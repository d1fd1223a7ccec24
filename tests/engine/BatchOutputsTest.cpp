#include "engine/BatchOutputs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A queued file is an input under any spelling of its path at once, also before its identity
// was looked up between events; taken off the queue as often as it was queued, it is none.
TEST(BatchOutputs, AQueuedFileIsAnInputUnderAnyNameUntilItLeavesTheQueue)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + "/music");
    const QString song = dir.path() + "/music/song.mp3";
    QFile(song).open(QIODevice::WriteOnly);
    const QString linked = dir.path() + "/music link/song.mp3";
    if (!QFile::link(dir.path() + "/music", dir.path() + "/music link") ||
        !QFileInfo(dir.path() + "/music link").isSymbolicLink())
        GTEST_SKIP() << "no links on this system";

    BatchOutputs files;
    files.Queued({dir.path() + "/another.mp4"}); // the queue never runs empty here
    files.Queued({linked});
    files.Queued({linked});
    EXPECT_TRUE(files.IsInput(song));
    EXPECT_TRUE(files.IsInput(dir.path() + "/music/../music/song.mp3"));
    EXPECT_FALSE(files.IsInput(dir.path() + "/music/other.mp3"));
    files.Unqueued(linked);
    EXPECT_TRUE(files.IsInput(song));
    files.Unqueued(linked);
    EXPECT_FALSE(files.IsInput(song));

    // Queued, taken off and queued again before it was looked up: it counts once.
    files.Queued({linked});
    EXPECT_TRUE(files.IsInput(linked));
    files.Unqueued(linked);
    files.Queued({linked});
    EXPECT_FALSE(files.IdentifySome(2));
    EXPECT_TRUE(files.IsInput(song));
    files.Unqueued(linked);
    EXPECT_FALSE(files.IsInput(song));

    // Taken off under another spelling before it was looked up.
    files.Queued({song});
    files.Unqueued(dir.path() + "/music/./song.mp3");
    EXPECT_FALSE(files.IsInput(song));
    // Queued again before the first entry was taken off: one entry leaves, one stays.
    files.Queued({song});
    EXPECT_TRUE(files.IsInput(song));
    files.Queued({song});
    files.Unqueued(song);
    EXPECT_TRUE(files.IsInput(song));
    files.Unqueued(song);
    EXPECT_FALSE(files.IsInput(song));

    // Queued under both names and taken off under one: an input under either name still.
    files.Queued({song, linked});
    EXPECT_FALSE(files.IdentifySome(2)); // both looked up
    files.Unqueued(linked);
    EXPECT_TRUE(files.IsInput(linked));
    files.Unqueued(song);
    EXPECT_FALSE(files.IsInput(linked));

    // Of two files queued together, the one taken off before either was taken up leaves.
    files.Queued({song, dir.path() + "/music/other.mp3"});
    files.Unqueued(dir.path() + "/music/other.mp3");
    EXPECT_TRUE(files.IsInput(song));
    EXPECT_FALSE(files.IsInput(dir.path() + "/music/other.mp3"));
}

// Files queued together are taken up between events as many at a time as asked, and there is
// work left until the last of them has been.
TEST(BatchOutputs, QueuedFilesAreTakenUpAsManyAtATimeAsAsked)
{
    BatchOutputs files;
    files.Queued({"/a.mp4", "/b.mp4", "/c.mp4"});
    EXPECT_TRUE(files.IdentifySome(1));
    EXPECT_TRUE(files.IdentifySome(1));
    EXPECT_FALSE(files.IdentifySome(1));
}

} // namespace
