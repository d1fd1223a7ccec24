#include "QueueInputSupport.h"
#include "WindowFakes.h"
#include "queue/CodePage.h"
#include "queue/QueueDrops.h"
#include "ui/HotArea.h"
#include "ui/frmOptions.h"
#include "ui/frmSuggest.h"

#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QMimeData *FilesData(const QStringList &paths)
{
    auto *data = new QMimeData;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    return data;
}

QMimeData *TextData()
{
    auto *data = new QMimeData;
    data->setText("just some words");
    data->setUrls({QUrl("https://example.org/clip.mp4")});
    return data;
}

void DragOver(QWidget *target)
{
    QMimeData data;
    DragEnter(target, &data);
    QDragMoveEvent move(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
}

enum class Target { Door, Overlay, List };

QWidget *TargetWidget(frmMain &w, Target target)
{
    switch (target) {
    case Target::Door:
        return w.Ui().picDoor;
    case Target::Overlay:
        w.Drops().LV_OLEDragOver();
        return w.Ui().picDrop;
    case Target::List:
        return w.Ui().LV->viewport();
    }
    return nullptr;
}

TEST(Drops, EachTargetQueuesWhatItIsGiven)
{
    struct Case
    {
        Target target;
        const char *what;
    } cases[] = {{Target::Door, "start panel"}, {Target::Overlay, "overlay"}, {Target::List, "list"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        WindowFixture f;
        CodePage::SetActive(CodePage::Ascii());
        const QString a = PutFile(f.work.path() + "/in/a.mp4");
        const QString mov = PutFile(f.work.path() + "/in/b.MOV");
        const QString foreign = PutFile(f.work.path() + "/in/caf\u00e9.avi", "foreign");
        frmMain &w = f.Start();

        // Text and web links: taken and ignored; the start panel goes all the same.
        EXPECT_EQ(Drop(TargetWidget(w, c.target), TextData()), Qt::CopyAction);
        EXPECT_TRUE(w.Queue().IsEmpty());
        EXPECT_TRUE(w.Ui().picText->isVisible());
        EXPECT_EQ(w.Ui().picDoor->isVisible(), c.target != Target::Door);
        EXPECT_EQ(w.Ui().picDrop->isVisible(), c.target == Target::List);

        EXPECT_EQ(Drop(TargetWidget(w, c.target), FilesData({a, mov, foreign})), Qt::CopyAction);
        ASSERT_EQ(w.Queue().Count(), 3);
        EXPECT_EQ(w.Queue().At(0).inputPath, a);
        EXPECT_EQ(w.Queue().At(1).formatCode, "MOV");
        EXPECT_FALSE(w.Ui().picText->isVisible());
        // The overlay goes with a drop on itself; a drag over the list brought it.
        EXPECT_EQ(w.Ui().picDrop->isVisible(), c.target == Target::List);
        const QueueEntry &third = w.Queue().At(2);
        if (c.target == Target::List) {
            // The list takes the names as they stand, in their narrow form.
            EXPECT_EQ(third.inputPath, f.work.path() + "/in/caf?.avi");
            EXPECT_EQ(third.rowText, third.inputPath);
        } else {
            EXPECT_EQ(third.inputPath, f.places.tempFolder + "/caf .tmp");
            EXPECT_EQ(third.rowText, f.work.path() + "/in/caf .avi");
            EXPECT_EQ(third.formatCode, "AVI");
        }
    }
}

TEST(Drops, TheOverlayComesWithADragAndGoes)
{
    WindowFixture f;
    frmMain &w = f.Start();
    w.imgToolbar_Click(0); // the start panel goes
    DragOver(w.Ui().LV->viewport());
    EXPECT_TRUE(w.Ui().picDrop->isVisible());
    QMouseEvent move(QEvent::MouseMove, QPointF(300, 20), w.mapToGlobal(QPointF(300, 20)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &move); // over bare skin
    EXPECT_FALSE(w.Ui().picDrop->isVisible());
    DragOver(w.Ui().LV->viewport());
    QTest::mouseClick(w.Ui().picDrop, Qt::LeftButton);
    EXPECT_FALSE(w.Ui().picDrop->isVisible());
}

TEST(Drops, ADropDuringABatchJoinsIt)
{
    WindowFixture f;
    const QString first = f.MakeClip("in/first.mp4");
    const QString dropped = f.MakeClip("in/dropped.mp4");
    frmMain &w = f.Start();
    w.Ui().txtPath->setText(f.work.path() + "/out");
    f.dialogs.files = {first};
    w.imgAdd_Click();
    bool done = false;
    QObject::connect(&w.Batch().objDOS(), &DOSOutputs::ReceiveOutputs, &w, [&] {
        if (!std::exchange(done, true))
            Drop(TargetWidget(w, Target::Overlay), FilesData({dropped}));
    });
    w.imgConvert_Click();
    ASSERT_TRUE(f.WaitForBatchEnd());
    EXPECT_TRUE(f.messages.shown.isEmpty());
    EXPECT_GT(QFileInfo(f.work.path() + "/out/dropped.wma").size(), 0);
}

TEST(Drops, AFailedCopyNeverSharesItsPlace)
{
    WindowFixture f;
    CodePage::SetActive(CodePage::Ascii());
    f.WriteProgramFile("options.ini", "1\r\n0\r\n0\r\n0\r\n");
    const QString vanished = f.work.path() + "/in/x\u00e9.mp4"; // never there: its copy fails
    const QString real = f.MakeClip("in/x\u00e8.mp4");
    frmMain &w = f.Start();
    Drop(w.Ui().picDoor, FilesData({vanished, real}));
    ASSERT_EQ(w.Queue().Count(), 2);
    EXPECT_NE(w.Queue().At(0).inputPath, w.Queue().At(1).inputPath);
    w.Ui().txtPath->setText(f.work.path() + "/out");
    w.Ui().cmbOF->setCurrentIndex(3);
    w.imgConvert_Click();
    ASSERT_TRUE(f.WaitForBatchEnd());
    ASSERT_EQ(f.messages.shown.size(), 1);
    EXPECT_TRUE(f.messages.shown[0].text.startsWith("1 of 2 files were converted; this file could not be:"));
    // Queued again, it would fail again: no button offers it.
    EXPECT_EQ(f.messages.shown[0].action, "");
    EXPECT_TRUE(f.messages.shown[0].text.contains(
        f.work.path() + "/in/x .mp4\n    the file could not be copied to a name the converter can read"));
    // The second file kept its own copy, so its sound came out, named after its title.
    EXPECT_GT(QFileInfo(f.work.path() + "/out/x .wav").size(), 1000);
}

TEST_F(AddFolder, OwnFilesFirstInNameOrderThenEachSubfolderTree)
{
    for (const char *name :
         {"b.mp4", "A.avi", "c.wmv", ".hidden/d.mp3", "sub/z.mp4", "sub/deeper/y.ogg", "Sub2/x.mp4"})
        PutFile(root + "/" + name);
    QDir().mkpath(root + "/empty");
    QFile::link(root, root + "/sub/loop"); // a link back up: searched once already, so the walk ends
    PutFile(f.work.path() + "/elsewhere/clip.mp4");
    QFile::link(f.work.path() + "/elsewhere", root + "/elsewhere link"); // a link to a folder: a folder
    QFile::link(root + "/b.mp4", root + "/sub/deeper/b link");           // a link to a file: a file
    const QStringList found = Add(root + "/");
    const QString r = root + "//"; // the folder as picked, then a separator: doubled here
    EXPECT_EQ(found, QStringList({r + "A.avi", r + "b.mp4", r + "c.wmv", r + ".hidden/d.mp3",
                                  r + "elsewhere link/clip.mp4", r + "sub/z.mp4", r + "sub/deeper/b link",
                                  r + "sub/deeper/y.ogg", r + "Sub2/x.mp4"}));
    EXPECT_EQ(w.Queue().At(3).formatCode, "MP3");
    EXPECT_FALSE(w.Ui().picText->isVisible());
    EXPECT_EQ(w.Ui().lblText->text(), "Drag & Drop Files Here");
    EXPECT_EQ(f.dialogs.folderPrompts, QStringList{"Please select a folder:"});
    // The folder chosen may itself be a link to one.
    QFile::link(root, f.work.path() + "/library link");
    w.Queue().RemoveAll();
    EXPECT_EQ(Add(f.work.path() + "/library link").size(), 9);
}

TEST_F(AddFolder, EverySubfolderIsSearched)
{
    for (int i = 0; i < 250; ++i)
        PutFile(root + QStringLiteral("/album %1/track.mp3").arg(i, 3, 10, QLatin1Char('0')));
    EXPECT_EQ(Add(root).size(), 250);
    // A second search queues only what it finds itself.
    EXPECT_EQ(Add(root).size(), 500);
}

TEST_F(AddFolder, ExitWorksWhileItSearches)
{
    for (int i = 0; i < 40; ++i)
        PutFile(root + QStringLiteral("/f%1.mp4").arg(i));
    QTimer::singleShot(0, &w, [this] { w.imgExit_Click(); });
    Add(root);
    EXPECT_EQ(f.shell.log, QStringList{"end"});
    EXPECT_NE(f.ReadProgramFile("setup.ini"), "<missing>");
}

TEST_F(AddFolder, NothingFoundOrCancelledLeavesTheIdleHint)
{
    QDir().mkpath(root);
    EXPECT_TRUE(Add(root).isEmpty());
    EXPECT_TRUE(w.Ui().picText->isVisible());
    EXPECT_EQ(w.Ui().lblText->text(), "Drag & Drop Files Here");
    f.dialogs.folders = {std::nullopt};
    w.AddFolderToQueue();
    EXPECT_TRUE(w.Queue().IsEmpty());
    EXPECT_TRUE(w.Ui().picText->isVisible());
}

TEST_F(AddFolder, NoOtherQueueCommandRunsWhileItSearches)
{
    for (int i = 0; i < 40; ++i)
        PutFile(root + QStringLiteral("/f%1.mp4").arg(i));
    f.dialogs.folders = {root, root};
    f.dialogs.files = {PutFile(f.work.path() + "/other.mp4")};
    const QString earlier = PutFile(f.work.path() + "/earlier.mp4");
    w.Drops().LV_OLEDragDrop(std::unique_ptr<QMimeData>(FilesData({earlier})).get());
    QString caption;
    bool hintOnTop = false;
    QTimer meanwhile;
    QObject::connect(&meanwhile, &QTimer::timeout, &w, [&] {
        meanwhile.stop();
        caption = w.Ui().lblText->text();
        // The hint says what is going on, over the list.
        QWidget *top = w.childAt(w.Ui().picText->geometry().center());
        hintOnTop = top == w.Ui().picText || w.Ui().picText->isAncestorOf(top);
        w.AddFolderToQueue();
        w.imgAdd_Click();
        w.menuRemoveAll_Click();
        w.Ui().LV->setCurrentIndex(w.Queue().index(0, 0));
        w.imgRemove_Click();
        Drop(w.Ui().picDoor, FilesData({earlier}));
        Drop(w.Ui().LV->viewport(), FilesData({earlier}));
    });
    meanwhile.start(0);
    w.AddFolderToQueue();
    EXPECT_EQ(caption, "Searching Files...");
    EXPECT_TRUE(hintOnTop);
    EXPECT_EQ(f.dialogs.folderPrompts.size(), 1);
    EXPECT_TRUE(f.dialogs.fileRequests.isEmpty());
    EXPECT_EQ(w.Queue().Count(), 41); // the earlier entry and the 40 found, nothing else
    EXPECT_TRUE(w.Ui().picDoor->isVisible());
    // Afterwards every command works again.
    w.menuRemoveAll_Click();
    EXPECT_TRUE(w.Queue().IsEmpty());
}

// Only the three drop targets take drops: a file dropped on a text box is no text.
TEST(Drops, TextBoxesTakeNoDrops)
{
    WindowFixture f;
    frmMain &w = f.Start();
    const QString before = w.Ui().txtPath->text();
    Drop(w.Ui().txtPath, FilesData({f.work.path() + "/clip.mp4"}));
    EXPECT_EQ(w.Ui().txtPath->text(), before);
    EXPECT_FALSE(w.Ui().txtPath->acceptDrops());
    frmOptions options(const_cast<CutterOptions &>(w.Cutter()), f.work.path() + "/options.ini", f.messages);
    for (QLineEdit *box : options.findChildren<QLineEdit *>())
        EXPECT_FALSE(box->acceptDrops());
    frmSuggest form(QStringLiteral("http://127.0.0.1:9"));
    for (QLineEdit *box : form.findChildren<QLineEdit *>())
        EXPECT_FALSE(box->acceptDrops());
}

} // namespace
