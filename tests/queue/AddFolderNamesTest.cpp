// Adding folders whose names only Linux can hold: bytes that are no text, pipes, paths past the
// system's limit.
#include "QueueInputSupport.h"
#include "queue/CodePage.h"
#include "queue/QueueDrops.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Every file of a folder is reached, whatever its name and however deep it lies; what is no
// file to convert is not queued.
TEST_F(AddFolder, EveryFileIsReachedAndNoPipeIsQueued)
{
    QDir().mkpath(root);
    // A Latin-1 name, no text in the system's UTF-8.
    const QByteArray latin = QFile::encodeName(root) + "/a\xe9"
                                                       "b.mp4";
    {
        const int fd = ::open(latin.constData(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, "latin", 5), 5);
        ::close(fd);
    }
    QString deep = root + "/deep";
    for (int level = 0; level < 300; ++level)
        deep += "/d";
    ASSERT_TRUE(QDir().mkpath(deep));
    const QString bottom = PutFile(deep + "/bottom.mp3");
    ASSERT_EQ(::mkfifo(QFile::encodeName(root + "/pipe.mp4").constData(), 0600), 0);
    // Names the converter's command line cannot carry as they are, beside the name they become.
    PutFile(root + "/\"a\".wav", "quoted");
    PutFile(root + "/?a?.wav", "plain");
    PutFile(root + "/\"q\"/inner.mp3", "inner");
    // A name beyond ASCII that is text: reached by its own path, no copy.
    const QString summer = PutFile(root + "/zz/\u00e9t\u00e9.mp3");

    const QStringList found = Add(root);
    ASSERT_EQ(found.size(), 6);
    // Each is reached by its own bytes: no file is queued under another's name.
    const struct
    {
        int row;
        QString shown;
        QByteArray content;
    } rows[] = {
        {0, root + "/?a?.wav", "quoted"},
        {1, root + "/?a?.wav", "plain"},
        {2, root + "/a\ufffdb.mp4", "latin"},
        {3, root + "/?q?/inner.mp3", "inner"},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(w.Queue().At(row.row).rowText, row.shown) << row.row;
        QFile copy(found[row.row]);
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly)) << found[row.row];
        EXPECT_EQ(copy.readAll(), row.content) << row.row;
    }
    EXPECT_EQ(found[1], root + "/?a?.wav");
    EXPECT_EQ(found[4], bottom);
    EXPECT_EQ(found[5], summer);

    // Dropped, the same file is reached by the bytes its address carries.
    auto *data = new QMimeData;
    data->setUrls({QUrl::fromEncoded("file://" + latin.toPercentEncoding("/"))});
    Drop(w.Ui().picDoor, data);
    ASSERT_EQ(w.Queue().Count(), 7);
    QFile dropped(w.Queue().At(6).inputPath);
    ASSERT_TRUE(dropped.open(QIODevice::ReadOnly));
    EXPECT_EQ(dropped.readAll(), "latin");
    EXPECT_TRUE(w.Queue().At(6).problem.isEmpty());

    // The folder chosen may hold such a name itself.
    w.Queue().RemoveAll();
    const QStringList inner = Add(root + "/\"q\"");
    ASSERT_EQ(inner.size(), 1);
    EXPECT_EQ(NarrowForm(inner[0]), inner[0]); // the converter takes the name as it is
    QFile copy(inner[0]);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly)) << inner[0];
    EXPECT_EQ(copy.readAll(), "inner");
    RunProgram("rm", {"-rf", root}); // a name that is no text is beyond QTemporaryDir
}

// A tree deeper than any path the system takes: what cannot be searched is named with the
// reason, and the rest is queued.
TEST_F(AddFolder, FoldersTooDeepToSearchAreNamed)
{
    PutFile(root + "/near.mp4");
    // Folders of 250-byte names, made one inside the other without ever naming the whole path.
    const std::string name(250, 'd');
    int fd = ::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int level = 0; level < 18; ++level) {
        ASSERT_EQ(::mkdirat(fd, name.c_str(), 0700), 0);
        const int next = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        fd = next;
        ASSERT_GE(fd, 0);
    }
    const int file = ::openat(fd, "deep.mp4", O_WRONLY | O_CREAT, 0600);
    ::close(file);
    ::close(fd);

    EXPECT_EQ(Add(root), QStringList{root + "/near.mp4"});
    ASSERT_EQ(f.messages.shown.size(), 1);
    const RecordingMessages::Message &told = f.messages.shown[0];
    EXPECT_EQ(told.title, "Add Folder");
    EXPECT_EQ(told.icon, platform::UserMessages::Icon::Warning);
    EXPECT_TRUE(
        told.text.startsWith("The files in this folder could not be queued: their paths are longer than "
                             "the system takes (4,096 bytes).\n\n" +
                             root.left(60)))
        << told.text;
    RunProgram("rm", {"-rf", root});
}

} // namespace
