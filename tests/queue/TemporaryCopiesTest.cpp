#include "queue/TemporaryCopies.h"
#include "TestSupport.h"
#include "engine/UnfinishedOutput.h"
#include "platform/FileSystem.h"
#include "platform/TextEncoding.h"
#include "queue/PathHelpers.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <gtest/gtest.h>

namespace {

const QDateTime kNow(QDate(2026, 12, 8), QTime(19, 5, 7));

class TemporaryCopies : public testing::Test
{
protected:
    QString Make(const QString &name, const QByteArray &content = "media")
    {
        return Native(PutFile(m_sources.path() + "/" + name, content));
    }
    QString Queue(const QString &path)
    {
        return QueueInputPath(path, TempFolder(), kNow, CodePage::Ascii()).path;
    }
    // As the program's places give it: with the system's separators.
    QString TempFolder() const { return Native(m_temp.path() + "/tmp"); }
    static QByteArray Content(const QString &path)
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

    QTemporaryDir m_sources;
    QTemporaryDir m_temp;
};

TEST_F(TemporaryCopies, ReachableFileIsQueuedAsItIs)
{
    const QString path = Make("clip.mp4");
    EXPECT_EQ(Queue(path), path);
    EXPECT_FALSE(QFileInfo::exists(TempFolder() + "/clip.tmp"));
}

TEST_F(TemporaryCopies, UnreachableNamesAreCopiedUnderTheirCleanedTitle)
{
    struct Case
    {
        QString name;
        QString copyName; // relative to the temporary folder
    } cases[] = {
        {"caf\u00e9 live.mp4", "caf  live.tmp"},
        {"\u65e5\u672c.mp4", "20261208-190507.tmp"}, // nothing left of the title
        {"sub/\u00fc", "1/20261208-190507.tmp"},     // no dot: no title; taken already this second
        {".\u00fc", "2/20261208-190507.tmp"},        // only a leading dot
        {"x\u00e9<y>.a.b", "x  y .a.tmp"},           // "<", ">" and the foreign letter become spaces
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString source = Make(c.name, c.name.toUtf8());
        const QString queued = Queue(source);
        EXPECT_EQ(queued, Native(TempFolder() + "/" + c.copyName));
        EXPECT_EQ(Content(queued), c.name.toUtf8());
    }
}

TEST_F(TemporaryCopies, LongTitlesAreCutTo200Characters)
{
    const QString title = QString(249, 'a') + QChar(0xe9);
    const QString queued = Queue(Make(title + ".mp4"));
    EXPECT_EQ(FileNameOfPath(queued), QString(200, 'a') + ".tmp");
    EXPECT_EQ(TitleOfPath(queued).size(), 200);

    // In a code page that holds every letter, a long title is also cut to what one name may hold.
    const QString wide = QString::fromUcs4(std::u32string(200, U'\U0001F3B5').c_str());
    const QString vanished =
        QueueInputPath(Native(m_sources.path() + "/" + wide + ".mp4"), TempFolder(), kNow, CodePage::System())
            .path;
    EXPECT_LE(QFile::encodeName(FileNameOfPath(vanished)).size(), 255);
    EXPECT_TRUE(FileNameOfPath(vanished).startsWith(QString::fromUcs4(U"\U0001F3B5")));
}

TEST_F(TemporaryCopies, CollidingNamesEachKeepTheirOwnCopy)
{
    const QString a = Make("one/x\u00e9.mp4", "first");
    const QString b = Make("two/x\u00e8.avi", "second");
    const QString c = Make("three/x\u00ea.wmv", "third");
    const QStringList queued = {Queue(a), Queue(b), Queue(c)};
    EXPECT_EQ(queued, QStringList({Native(TempFolder() + "/x .tmp"), Native(TempFolder() + "/1/x .tmp"),
                                   Native(TempFolder() + "/2/x .tmp")}));
    EXPECT_EQ(Content(queued[0]), "first");
    EXPECT_EQ(Content(queued[1]), "second");
    EXPECT_EQ(Content(queued[2]), "third");
    for (const QString &path : queued)
        EXPECT_EQ(TitleOfPath(path), "x "); // every output is still named after its title
}

// Copies of a read-only file, made either way, go with the temporary folder.
TEST_F(TemporaryCopies, CopiesOfAReadOnlyFileGoWithTheFolder)
{
    const QString source = Make("x\u00e9.mp4", "read-only");
    QFile::setPermissions(source, QFile::ReadOwner);
    const QString copied = Queue(source);
    const QString byName = TempFolder() + "/by name.tmp";
    ASSERT_TRUE(platform::CopyFileByName(platform::NameBytes(source), byName));
    EXPECT_EQ(Content(copied), "read-only");
    EXPECT_EQ(Content(byName), "read-only");
    DeleteFolderTree(TempFolder());
    EXPECT_FALSE(QFileInfo::exists(TempFolder()));
    QFile::setPermissions(source, QFile::ReadOwner | QFile::WriteOwner);
}

TEST_F(TemporaryCopies, AFailedCopyKeepsItsPlaceAndIsKnownToHaveFailed)
{
    // A folder and a vanished file cannot be copied: each entry still owns its copy path, so a
    // later file with the same cleaned title gets a path of its own.
    QDir().mkpath(m_sources.path() + "/x\u00e9.d");
    const QueuedInput folder =
        QueueInputPath(Native(m_sources.path() + "/x\u00e9.d"), TempFolder(), kNow, CodePage::Ascii());
    const QueuedInput vanished =
        QueueInputPath(Native(m_sources.path() + "/x\u00ea.mp4"), TempFolder(), kNow, CodePage::Ascii());
    const QueuedInput real =
        QueueInputPath(Make("x\u00e8.avi", "real"), TempFolder(), kNow, CodePage::Ascii());
    EXPECT_EQ(folder.path, Native(TempFolder() + "/x .tmp"));
    EXPECT_TRUE(folder.copyFailed);
    EXPECT_TRUE(vanished.copyFailed);
    EXPECT_FALSE(real.copyFailed);
    EXPECT_EQ(QSet<QString>({folder.path, vanished.path, real.path}).size(), 3);
    EXPECT_EQ(Content(real.path), "real");
    EXPECT_EQ(Content(folder.path), "");
}

TEST_F(TemporaryCopies, DeleteFolderTreeRemovesEverythingButTouchesNothingElse)
{
    const QString root = TempFolder();
    MakeTemporaryFolder(root);
    PutFile(root + "/plain.tmp");
    PutFile(root + "/.hidden.tmp");
    PutFile(root + "/a/b/c/deep.tmp");
    PutFile(root + "/.hidden dir/f");
    PutFile(root + "/closed/f");
    QFile::setPermissions(root + "/plain.tmp", QFile::ReadOwner);
    QFile::setPermissions(root + "/a/b", QFile::ReadOwner | QFile::ExeOwner); // a read-only folder
    QFile::setPermissions(root + "/closed", {});                              // not even listable

    // Links inside the folder pointing out of it: the links go, their targets stay.
    const QString outsideFile = Make("keep/precious.txt", "keep me");
    QFile::link(outsideFile, root + "/file link");
    QFile::link(QFileInfo(outsideFile).absolutePath(), root + "/a/folder link");
    // A read-only file elsewhere, hard-linked in: its rights are shared, and must stay.
    const QString shared = Make("keep/shared.txt", "shared");
    QFile::setPermissions(shared, QFile::ReadOwner);
    ASSERT_TRUE(MakeHardLink(shared, root + "/hard"));

    DeleteFolderTree(root);
    EXPECT_FALSE(QFileInfo::exists(root));
    EXPECT_EQ(Content(outsideFile), "keep me");
    EXPECT_TRUE(QFileInfo::exists(QFileInfo(outsideFile).absolutePath()));
    EXPECT_EQ(QFile::permissions(shared) & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther), 0);

    DeleteFolderTree(root); // a missing folder is fine
}

TEST_F(TemporaryCopies, DeleteFolderTreeDeletesOnlyTheProgramsOwnFolder)
{
    const QString documents = m_sources.path() + "/Documents";
    const QString letter = PutFile(documents + "/tmp/letter.txt");
    DeleteFolderTree(documents + "/tmp"); // a folder the program did not make
    EXPECT_TRUE(QFileInfo::exists(letter));

    // The program's cache folder is a link to the user's documents, and the program once made
    // its folder through it.
    QFile::link(documents, m_temp.path() + "/cache link");
    MakeTemporaryFolder(m_temp.path() + "/cache link/made");
    const QString note = PutFile(documents + "/made/note.txt");
    DeleteFolderTree(m_temp.path() + "/cache link/made");
    EXPECT_TRUE(QFileInfo::exists(note));

    // The folder itself is a link to a folder of the program's.
    const QString marked = m_temp.path() + "/marked";
    MakeTemporaryFolder(marked);
    const QString copy = PutFile(marked + "/x.tmp");
    QFile::link(marked, m_temp.path() + "/folder link");
    DeleteFolderTree(m_temp.path() + "/folder link");
    EXPECT_TRUE(QFileInfo::exists(copy));
}

TEST_F(TemporaryCopies, DeleteFolderTreeNeverEntersAnotherMount)
{
    // Another file system, and a bind mount of a folder of the same file system (same device).
    const QString documents = PutFile(m_sources.path() + "/Documents/letter.txt");
    const QStringList mounts[] = {{"-t", "tmpfs", "-o", "size=1m", "tmpfs"},
                                  {"--bind", QFileInfo(documents).absolutePath()}};
    for (const QStringList &how : mounts) {
        SCOPED_TRACE(how.join(' ').toStdString());
        const QString root = TempFolder();
        MakeTemporaryFolder(root);
        QDir().mkpath(root + "/deeper/mounted");
        int code = -1;
        RunProgram("mount", how + QStringList{root + "/deeper/mounted"}, &code);
        if (code != 0)
            GTEST_SKIP() << "no right to mount a file system here";
        PutFile(root + "/deeper/mounted/other.txt");
        DeleteFolderTree(root);
        const bool survived = QFileInfo::exists(root + "/deeper/mounted/other.txt");
        RunProgram("umount", {root + "/deeper/mounted"});
        EXPECT_TRUE(survived);
    }
    EXPECT_TRUE(QFileInfo::exists(documents));
}

TEST_F(TemporaryCopies, DeleteFolderTreeEndsWhenSomethingCannotBeDeleted)
{
    const QString root = TempFolder();
    MakeTemporaryFolder(root);
    QDir().mkpath(root + "/stuck");
    QDir().mkpath(root + "/other");
    const QString stuck = PutFile(root + "/stuck/held.tmp");
    int code = -1;
    RunProgram("chattr", {"+i", stuck}, &code);
    if (code != 0)
        GTEST_SKIP() << "this file system cannot make a file undeletable";
    DeleteFolderTree(root);
    RunProgram("chattr", {"-i", stuck});
    EXPECT_TRUE(QFileInfo::exists(stuck));
    EXPECT_FALSE(QFileInfo::exists(root + "/other"));
    DeleteFolderTree(root);
    EXPECT_FALSE(QFileInfo::exists(root));
}

// The start after a crash deletes the file the crashed run was writing, and only when it is
// still that file.
TEST(UnfinishedOutputs, AStartAfterACrashRemovesOnlyWhatTheCrashedRunWrote)
{
    struct Row
    {
        const char *name;
        bool existedBefore;
        bool writtenByTheRun;
        bool replacedSince; // another file took its name after the crash
        bool removed;
        bool olderSince = false; // the earlier file changed, but with a time before the run
    } rows[] = {
        {"a new file cut short", false, true, false, true},
        {"an earlier file rewritten and cut short", true, true, false, true},
        {"an earlier file the run never touched", true, false, false, false},
        {"a file put there since", false, true, true, false},
        {"an earlier file put back with its own older time", true, false, false, false, true},
    };
    // Quotes and a line end in the output's name, where the system holds them (Windows does not).
    const QString oddName = "/out \"x\"\n.wav";
    QTemporaryDir probe;
    const QString name = QFile(probe.path() + oddName).open(QIODevice::WriteOnly) ? oddName : "/out x.wav";
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        const QString output = dir.path() + name;
        const QString note = dir.path() + "/unfinished-output";
        if (row.existedBefore)
            PutFile(output, "an earlier batch's");
        {
            UnfinishedOutput unfinished(note);
            unfinished.Note(output, platform::StampOf(output));
            if (row.writtenByTheRun) {
                PutFile(output, "cut sh");
                unfinished.NoteWhenWritten();
            }
            // The program dies here: the note stays.
        }
        if (row.olderSince) {
            QFile older(output);
            ASSERT_TRUE(older.open(QIODevice::WriteOnly | QIODevice::Append));
            older.write(" and more");
            older.flush();
            older.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
        }
        if (row.replacedSince) {
            ASSERT_TRUE(QFile::remove(output));
            ASSERT_TRUE(QFile::rename(PutFile(dir.path() + "/other", "the user's"), output));
        }
        ASSERT_TRUE(QFileInfo::exists(note));
        UnfinishedOutput::RemoveLeftover(note);
        EXPECT_EQ(!QFileInfo::exists(output), row.removed);
        EXPECT_FALSE(QFileInfo::exists(note));
    }
    // A conversion that ended leaves no note.
    QTemporaryDir dir;
    UnfinishedOutput unfinished(dir.path() + "/note");
    unfinished.Note(dir.path() + "/a.wav", {});
    unfinished.Clear();
    EXPECT_FALSE(QFileInfo::exists(dir.path() + "/note"));
}

// The window stays alive while the temporary folder is deleted: its events are handled.
TEST(StartUp, DeletingTheTemporaryFolderKeepsTheWindowAlive)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + "/tmp";
    MakeTemporaryFolder(folder);
    PutFile(folder + "/a.tmp");
    bool handled = false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { handled = true; }, Qt::QueuedConnection);
    DeleteFolderTree(folder);
    EXPECT_TRUE(handled);
    EXPECT_FALSE(QFileInfo::exists(folder));
    QCoreApplication::processEvents();
}

} // namespace
