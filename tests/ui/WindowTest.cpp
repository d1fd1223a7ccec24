#include "WindowFakes.h"
#include "engine/ConverterCommand.h"
#include "engine/UnfinishedOutput.h"
#include "platform/ProcessList.h"
#include "queue/CodePage.h"
#include "queue/TemporaryCopies.h"
#include "settings/AppSettings.h"
#include "ui/HotArea.h"
#include "ui/QtServices.h"
#include "ui/Skin.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Icon = platform::UserMessages::Icon;

// Controls that a batch puts out of reach, and whether each is enabled.
QList<bool> BatchControlsEnabled(frmMain &w)
{
    QList<bool> states;
    for (int index : {0, 1, 2, 3, 4, 6})
        states << w.Ui().imgToolbar[index]->isEnabled();
    for (int i = 0; i < 3; ++i)
        states << w.Ui().imgMenu[i]->isEnabled();
    states << w.Ui().imgConvert->isEnabled() << w.Ui().lblFeed->isEnabled();
    return states;
}
const QList<bool> kAllEnabled(11, true);
const QList<bool> kAllDisabled(11, false);

TEST(Window, FirstStart)
{
    WindowFixture f;
    MakeTemporaryFolder(f.places.tempFolder);
    frmMain &w = f.Start();
    EXPECT_EQ(w.windowTitle(), "Brimwave");
    EXPECT_EQ(w.size(), QSize(696, 495));
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(w.Ui().cmbOF->currentText(), "WMA");
    EXPECT_EQ(w.Ui().cmbBR->currentText(), "192");
    EXPECT_EQ(w.Ui().cmbR->currentText(), "44100");
    EXPECT_EQ(w.Ui().cmbChannel->currentText(), "Stereo");
    EXPECT_EQ(w.Ui().txtPath->text(), Native(f.places.outputParent + "/output"));
    EXPECT_EQ(w.Cutter(), CutterOptions());
    EXPECT_EQ(w.Ui().cmbR->itemText(6), "12000");
    EXPECT_EQ(w.Ui().lblPB->text(), "0%");
    EXPECT_EQ(w.Ui().imgPB->width(), 0);
    EXPECT_TRUE(w.Ui().picDoor->isVisible());
    EXPECT_EQ(w.Ui().picDrop->geometry(), w.Ui().LV->geometry());
    EXPECT_FALSE(QFileInfo::exists(f.places.tempFolder));
    EXPECT_EQ(w.Ui().LV->model()->headerData(0, Qt::Horizontal).toString(), "FileName");
    EXPECT_EQ(w.Ui().LV->columnWidth(0), 361);
    EXPECT_EQ(w.Ui().LV->columnWidth(1), 94);

    // Out of sight until the reveal timer shapes the window and centres it once.
    EXPECT_LT(w.x(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.Timer2().isActive(); }, 2000));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(w.pos(), QPoint((screen.width() - w.width()) / 2, (screen.height() - w.height()) / 2));
    EXPECT_FALSE(w.mask().isEmpty());
    EXPECT_FALSE(w.mask().contains(QPoint(0, 0))); // the key-coloured corner is cut away
    EXPECT_TRUE(w.mask().contains(QPoint(300, 200)));
}

TEST(Window, KeysChangeNothingBehindTheStartPanel)
{
    WindowFixture f;
    frmMain &w = f.Start();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    const auto pressAround = [&] {
        for (int i = 0; i < 12; ++i) {
            QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &w;
            QTest::keyClick(target, Qt::Key_Tab);
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &w, Qt::Key_Down);
        }
    };
    pressAround();
    EXPECT_EQ(w.Ui().cmbOF->currentText(), "WMA");
    EXPECT_EQ(w.Ui().cmbBR->currentText(), "192");
    EXPECT_EQ(w.Ui().cmbR->currentText(), "44100");
    EXPECT_EQ(w.Ui().cmbChannel->currentText(), "Stereo");

    // Once the panel is gone, the same keys reach the pickers.
    w.imgToolbar_Click(0);
    pressAround();
    const AppSettings after = w.CurrentAppSettings();
    EXPECT_TRUE(after.FormatIndex != 1 || after.BitrateIndex != 8 || after.SampleRateIndex != 1 ||
                after.ChannelIndex != 1);
}

TEST(Window, SettingsFilesAreReadAtStart)
{
    WindowFixture f;
    f.WriteProgramFile("setup.ini", "\"3\"\r\n\"6\"\r\n\"0\"\r\n\"/music, live\"\r\n\"7\"\r\n");
    f.WriteProgramFile("options.ini", "1\r\n1\r\n90\r\n45\r\n");
    frmMain &w = f.Start();
    EXPECT_EQ(w.Ui().cmbBR->currentText(), "64");
    EXPECT_EQ(w.Ui().cmbR->currentText(), "12000");
    EXPECT_EQ(w.Ui().cmbChannel->currentText(), "Mono");
    EXPECT_EQ(w.Ui().txtPath->text(), "/music, live");
    EXPECT_EQ(w.Ui().cmbOF->currentText(), "AMR");
    EXPECT_EQ(w.Cutter(), (CutterOptions{1, 1, 90, 45}));
    const ConversionChoices c = w.CurrentChoices();
    EXPECT_EQ(c.sampleRateText, "12000");
    EXPECT_EQ(c.channelIndex, 0);

    WindowFixture g;
    g.WriteProgramFile("setup.ini", "-1\r\n-1\r\n-1\r\n\r\n-1\r\n");
    frmMain &empty = g.Start();
    EXPECT_EQ(empty.Ui().cmbBR->currentText(), "");
    EXPECT_EQ(empty.CurrentChoices().channelIndex, -1);
    EXPECT_EQ(empty.Ui().txtPath->text(), Native(g.places.outputParent + "/output"));
}

TEST(Window, OnlyTheExitCommandSavesTheChoices)
{
    WindowFixture f;
    frmMain &w = f.Start();
    w.Ui().cmbOF->setCurrentIndex(0);
    w.Ui().cmbBR->setCurrentIndex(11);
    w.Ui().txtPath->setText("/data/out");
    MakeTemporaryFolder(f.places.tempFolder);
    f.WriteProgramFile("../cache/tmp/tmpfile.wav", "x");
    f.WriteProgramFile("../cache/tmp/tmpfile1.mp3", "x");
    w.close(); // the window system's close: no save
    EXPECT_EQ(f.ReadProgramFile("setup.ini"), "<missing>");
    EXPECT_EQ(f.shell.log, QStringList{"end"});
    EXPECT_FALSE(QFileInfo::exists(f.places.tempFolder + "/tmpfile.wav"));
    EXPECT_FALSE(QFileInfo::exists(f.places.tempFolder + "/tmpfile1.mp3"));

    WindowFixture g;
    const QByteArray options = "0\r\n1\r\n 90 \r\n45";
    g.WriteProgramFile("options.ini", options);
    frmMain &x = g.Start();
    x.Ui().cmbOF->setCurrentIndex(0);
    x.Ui().cmbBR->setCurrentIndex(11);
    x.Ui().cmbR->setCurrentIndex(7);
    x.Ui().cmbChannel->setCurrentIndex(0);
    x.Ui().txtPath->setText("/data/out");
    x.imgToolbar_Click(4);
    EXPECT_EQ(g.ReadProgramFile("setup.ini"), "\"11\"\r\n\"7\"\r\n\"0\"\r\n\"/data/out\"\r\n\"0\"\r\n");
    EXPECT_EQ(g.ReadProgramFile("options.ini"), options); // only the options dialog writes it
    EXPECT_EQ(g.shell.log, QStringList{"end"});
    EXPECT_FALSE(x.Ui().picDoor->isVisible());
}

TEST(Window, WholeBatchWithTheRealConverter)
{
    WindowFixture f;
    const QString a = f.MakeClip("in/first clip.mp4");
    const QString b = f.MakeClip("in/second.avi");
    const QString late = f.MakeClip("in/added later.mov");
    ASSERT_FALSE(a.isEmpty() || b.isEmpty() || late.isEmpty());
    frmMain &w = f.Start();
    const QString out = f.work.path() + "/out";
    w.Ui().txtPath->setText(out);
    w.Ui().cmbOF->setCurrentIndex(0); // MP3
    f.dialogs.files = {a, b};
    w.imgToolbar_Click(0);
    w.imgToolbar_Click(0);
    ASSERT_EQ(w.Queue().Count(), 2);
    EXPECT_FALSE(w.Ui().picText->isVisible());

    // A file added while the first converts joins the same batch.
    bool added = false;
    QObject::connect(&w.Batch().objDOS(), &DOSOutputs::ReceiveOutputs, [&] {
        if (added)
            return;
        added = true;
        f.dialogs.files = {late};
        w.imgAdd_Click();
    });
    QList<bool> duringSound;
    f.shell.whileSoundPlays = [&] {
        duringSound = BatchControlsEnabled(w);
    };
    QStringList labels;
    QObject::connect(&w.Batch(), &BatchConverter::ProgressChanged, [&] { labels << w.Ui().lblPB->text(); });

    w.imgConvert_Click();
    EXPECT_EQ(BatchControlsEnabled(w), kAllDisabled);
    EXPECT_TRUE(w.Ui().imgBrowse->isEnabled());
    ASSERT_TRUE(f.WaitForBatchEnd());

    EXPECT_TRUE(f.messages.shown.isEmpty()) << f.messages.Texts().join('\n').toStdString();
    EXPECT_EQ(f.shell.log,
              QStringList({"open " + Native(out), "sound " + Native(f.ProgramFile("sound.wav"))}));
    EXPECT_EQ(duringSound, kAllDisabled);
    EXPECT_EQ(BatchControlsEnabled(w), kAllEnabled);
    EXPECT_EQ(w.Ui().lblPB->text(), "Done.");
    EXPECT_EQ(w.Ui().imgPB->width(), 0);
    EXPECT_TRUE(w.Queue().IsEmpty());
    EXPECT_FALSE(labels.isEmpty());
    for (const QString name : {"first clip.mp3", "second.mp3", "added later.mp3"}) {
        const AudioProbe probe = ProbeAudio(out + "/" + name);
        EXPECT_EQ(probe.codec, "mp3") << name;
        EXPECT_EQ(probe.sampleRate, 44100) << name;
        EXPECT_NEAR(probe.seconds, 2.0, 0.15) << name;
    }
}

TEST(Window, EmptyQueueAsksForAFile)
{
    WindowFixture f;
    frmMain &w = f.Start();
    w.imgConvert_Click();
    ASSERT_EQ(f.messages.shown.size(), 1);
    EXPECT_EQ(f.messages.shown[0].text, "Please add a file");
    EXPECT_EQ(f.messages.shown[0].title, "Add");
    EXPECT_EQ(f.messages.shown[0].icon, Icon::Warning);
    EXPECT_EQ(BatchControlsEnabled(w), kAllEnabled);
    EXPECT_FALSE(w.Batch().Timer1().isActive());
    EXPECT_TRUE(f.shell.log.isEmpty());
}

TEST(Window, FailuresAreReportedAfterTheBatch)
{
    WindowFixture f;
    f.WriteProgramFile("options.ini", "1\r\n0\r\n0\r\n0\r\n"); // finish sound off
    const QString good = f.MakeClip("good.mp4");
    const QString junk = PutFile(f.work.path() + "/junk.mp4", "this is not a video");
    frmMain &w = f.Start();
    w.Ui().txtPath->setText(f.work.path() + "/out");
    f.dialogs.files = {junk, good};
    w.imgAdd_Click();
    w.imgAdd_Click();
    w.imgConvert_Click();
    ASSERT_TRUE(f.WaitForBatchEnd());
    EXPECT_EQ(f.shell.log, QStringList{"open " + Native(f.work.path() + "/out")});
    ASSERT_EQ(f.messages.shown.size(), 1);
    const QString warning = f.messages.shown[0].text;
    EXPECT_EQ(f.messages.shown[0].icon, Icon::Warning);
    EXPECT_TRUE(warning.startsWith("1 of 2 files were converted; this file could not be:\n\n")) << warning;
    EXPECT_EQ(f.messages.shown[0].action, "Queue Again");
    // The user looked at the window: no notification on top.
    EXPECT_TRUE(w.isActiveWindow());
    EXPECT_TRUE(f.recordedDesktop.notifications.isEmpty());
    // In plain words, the path once; the converter's own line in the details.
    EXPECT_EQ(warning.count(Native(junk)), 1) << warning.toStdString();
    EXPECT_TRUE(warning.contains("is not an audio or video file")) << warning.toStdString();
    EXPECT_FALSE(warning.contains("Invalid data found when processing input")) << warning.toStdString();
    EXPECT_TRUE(f.messages.shown[0].details.contains("The converter said: "))
        << f.messages.shown[0].details.toStdString();
    EXPECT_TRUE(f.messages.shown[0].details.contains("Invalid data found when processing input"));
    EXPECT_FALSE(warning.contains(good));
    EXPECT_EQ(w.Ui().lblPB->text(), "Done.");
}

// Files that failed go back to the end of the queue when the user asks; a file refused because
// its output would replace an input does not, as it would be refused again.
TEST(Window, FailedFilesCanBeQueuedAgain)
{
    WindowFixture f;
    f.WriteProgramFile("options.ini", "1\r\n0\r\n0\r\n0\r\n"); // finish sound off
    f.UseFakeConverter("[broken] err boom\\n\n"
                       "[broken] exit 1\n"
                       "err time=00:00:01.00 \\n\n"
                       "write sound");
    const QString in = f.work.path() + "/in";
    for (const char *name : {"good.mp4", "broken.mp4", "keep.mp3"})
        PutFile(in + "/" + name);
    frmMain &w = f.Start();
    w.Ui().txtPath->setText(in);
    w.Ui().cmbOF->setCurrentIndex(0); // MP3: keep.mp3 would be written over itself
    f.dialogs.files = {in + "/good.mp4", in + "/broken.mp4", in + "/keep.mp3"};
    for (int i = 0; i < 3; ++i)
        w.imgAdd_Click();
    f.messages.answers = {platform::UserMessages::Answer::Action};
    w.imgConvert_Click();
    ASSERT_TRUE(f.WaitForBatchEnd());
    ASSERT_EQ(f.messages.shown.size(), 1);
    const RecordingMessages::Message &warning = f.messages.shown[0];
    EXPECT_EQ(warning.title, "Convert");
    EXPECT_TRUE(warning.text.startsWith("1 of 3 files were converted; these 2 could not be:"))
        << warning.text;
    EXPECT_TRUE(warning.text.contains(Native(in + "/broken.mp4") + "\n    boom")) << warning.text;
    // The text names every file and every reason: no details to open.
    EXPECT_EQ(warning.details, "");
    EXPECT_EQ(warning.action, "Queue Again");
    EXPECT_EQ(w.Queue().lstFile(), QStringList{Native(in + "/broken.mp4")});
    EXPECT_FALSE(w.Queue().IsConverting(0));
    EXPECT_FALSE(w.Ui().picText->isVisible());
    EXPECT_EQ(w.Ui().lblPB->text(), "Done.");
}

TEST(Window, MissingConverterLeavesAUsableWindow)
{
    WindowFixture f;
    const QString clip = f.MakeClip("clip.mp4");
    QFile::remove(::ConverterPath(f.places.programFolder));
    frmMain &w = f.Start();
    w.Ui().txtPath->setText(f.work.path() + "/out");
    f.dialogs.files = {clip};
    w.imgAdd_Click();
    w.imgConvert_Click();
    ASSERT_TRUE(f.WaitForBatchEnd());
    ASSERT_EQ(f.messages.Texts(), QStringList{"File or command not found"});
    EXPECT_EQ(f.messages.shown[0].icon, Icon::Error);
    EXPECT_EQ(BatchControlsEnabled(w), kAllEnabled);
    EXPECT_EQ(w.windowTitle(), "Brimwave"); // the title is given back
    EXPECT_EQ(w.Queue().lstFile(), QStringList{Native(clip)});
    EXPECT_TRUE(f.shell.log.isEmpty());

    // With the converter back, Convert works again without a restart.
    UseRealConverter(::ConverterPath(f.places.programFolder));
    w.imgConvert_Click();
    ASSERT_TRUE(f.WaitForBatchEnd());
    EXPECT_EQ(w.Ui().lblPB->text(), "Done.");
    EXPECT_TRUE(QFileInfo(f.work.path() + "/out/clip.wma").size() > 0);
}

TEST(Window, AddingFilesThroughTheOpenDialog)
{
    WindowFixture f;
    CodePage::SetActive(CodePage::Ascii());
    const QString plain = Native(f.work.path() + "/media/clip.rm");
    const QString foreign = Native(f.work.path() + "/media/caf\u00e9.mp4");
    QDir().mkpath(f.work.path() + "/media");
    for (const QString &path : {plain, foreign})
        PutFile(path, "x");
    frmMain &w = f.Start();

    f.dialogs.files = {std::nullopt}; // cancelled
    w.imgAdd_Click();
    EXPECT_TRUE(w.Queue().IsEmpty());
    EXPECT_TRUE(w.Ui().picText->isVisible());
    ASSERT_EQ(f.dialogs.fileRequests.size(), 1);
    const platform::Dialogs::OpenFileRequest &request = f.dialogs.fileRequests[0];
    ASSERT_EQ(request.fileTypes.size(), 13);
    EXPECT_EQ(request.fileTypes[0].description, "All Media Formats(*.*)");
    EXPECT_EQ(request.fileTypes[12].description, "WMA Audio(*.wma)");
    EXPECT_EQ(request.selectedFileType, 0);
    EXPECT_EQ(request.proposedName, "");
    EXPECT_EQ(request.initialFolder, QDir::homePath()); // nothing added yet in this run

    f.dialogs.files = {plain, plain, foreign};
    w.imgAdd_Click();
    w.imgAdd_Click();
    w.imgAdd_Click();
    ASSERT_EQ(w.Queue().Count(), 3);
    EXPECT_EQ(w.Queue().At(0).inputPath, plain);
    EXPECT_EQ(w.Queue().At(1).inputPath, plain); // the same file twice is queued twice
    EXPECT_EQ(w.Queue().At(0).formatCode, ".RM");
    EXPECT_EQ(w.Queue().At(2).inputPath, Native(f.places.tempFolder + "/caf .tmp"));
    EXPECT_EQ(w.Queue().At(2).rowText, Native(f.work.path() + "/media/caf .mp4"));
    EXPECT_EQ(w.Queue().At(2).formatCode, "MP4");
    EXPECT_EQ(QDir::fromNativeSeparators(f.dialogs.fileRequests.last().initialFolder),
              f.work.path() + "/media"); // where the last came from
    EXPECT_FALSE(w.Ui().picText->isVisible());
    // Added through the menu's path, the start panel stays; through the door button it goes.
    EXPECT_TRUE(w.Ui().picDoor->isVisible());
    f.dialogs.files = {plain};
    emit w.Ui().imgDoorButton->Clicked();
    EXPECT_FALSE(w.Ui().picDoor->isVisible());
    EXPECT_EQ(w.Queue().Count(), 4);

    // Remove Selected takes exactly the selected row; with no row selected nothing goes.
    w.imgRemove_Click();
    EXPECT_EQ(w.Queue().Count(), 4);
    w.Ui().LV->setCurrentIndex(w.Queue().index(2, 0));
    w.imgRemove_Click();
    EXPECT_EQ(w.Queue().lstFile(), QStringList({plain, plain, plain}));
}

TEST(Window, BrowseForTheOutputFolder)
{
    WindowFixture f;
    frmMain &w = f.Start();
    const QString chosen = Native(f.work.path() + "/music");
    QDir().mkpath(chosen);
    const QString fallbackMessage = "The path has unknown characters.\r\nChanged to the default path " +
                                    f.places.browseFallbackName + ".";
    struct Case
    {
        std::optional<QString> answer;
        QString expected;
        bool message;
    } cases[] = {
        {chosen, chosen, false},
        {std::nullopt, Native("/previous"), false}, // cancelled: nothing changes
        {f.work.path() + "/vanished", f.places.browseFallbackFolder, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        w.Ui().txtPath->setText(Native("/previous"));
        f.messages.shown.clear();
        f.dialogs.folders = {c.answer};
        w.imgBrowse_Click();
        EXPECT_EQ(w.Ui().txtPath->text(), c.expected);
        EXPECT_EQ(f.messages.Texts(), c.message ? QStringList{fallbackMessage} : QStringList{});
        if (c.message) {
            EXPECT_EQ(f.messages.shown[0].title, "Path");
        }
    }
    EXPECT_EQ(f.dialogs.folderPrompts.first(), "Please select a folder:");
    EXPECT_EQ(f.dialogs.folderStarts.first(),
              Native("/previous")); // the browser starts at the current folder
}

TEST(Window, StartUpClearsTheTemporaryFolderAndStaleConverters)
{
    WindowFixture f;
    const QString temp = f.places.tempFolder;
    MakeTemporaryFolder(temp);
    QDir().mkpath(temp + "/nested/deeper");
    for (const char *name : {"/a.tmp", "/.hidden.tmp", "/nested/deeper/b.tmp"})
        PutFile(temp + name);
    QFile::setPermissions(temp + "/a.tmp", QFile::ReadOwner);
    const QString precious = PutFile(f.work.path() + "/precious.txt", "keep");
    QFile::link(precious, temp + "/link");

    // A converter left running by an earlier run.
    QProcess old;
    ASSERT_TRUE(StartStaleConverter(old, f.work.path() + "/stale"));

    // A run that crashed while it converted two files side by side, and a save that was
    // stopped midway.
    const QString cutShort = f.work.path() + "/out/cut short.wav";
    const QString secondCutShort = f.work.path() + "/out/beside it.wav";
    const QString lastCutShort = f.work.path() + "/out/the last place.wav"; // the 16th note
    QDir().mkpath(f.work.path() + "/out");
    for (int slot : {0, 1, UnfinishedOutput::kMostNotes - 1}) {
        const QString output = slot == 0 ? cutShort : slot == 1 ? secondCutShort : lastCutShort;
        UnfinishedOutput crashed(UnfinishedOutput::NoteOf(f.places.unfinishedNote, slot));
        crashed.Note(output, platform::StampOf(output));
        PutFile(output, "RIFF");
    }
    f.WriteProgramFile("setup.ini.k3Xq9Z", "\"8\"\r\n");

    f.housekeeping.endConvertersForReal = true;
    f.Start();
    EXPECT_FALSE(QFileInfo::exists(cutShort));
    EXPECT_FALSE(QFileInfo::exists(secondCutShort));
    EXPECT_FALSE(QFileInfo::exists(lastCutShort));
    EXPECT_FALSE(QFileInfo::exists(f.ProgramFile("setup.ini.k3Xq9Z")));
    EXPECT_FALSE(QFileInfo::exists(temp));
    EXPECT_TRUE(QFileInfo(precious).size() == 4);
    EXPECT_TRUE(old.state() == QProcess::NotRunning || old.waitForFinished(2000));
    EXPECT_EQ(old.exitStatus(), QProcess::CrashExit);
    EXPECT_FALSE(platform::IsProcessNameRunning(platform::ConverterProcessName()));
}

// Pointer events as the window system delivers them to one control.
void Send(QWidget *target, QEvent::Type type, Qt::MouseButtons buttons, QPointF at = {3, 3})
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, target->mapToGlobal(at), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}
void Move(QWidget *target, Qt::MouseButtons held = Qt::NoButton)
{
    Send(target, QEvent::MouseMove, held);
}
void Press(QWidget *target)
{
    Send(target, QEvent::MouseButtonPress, Qt::LeftButton);
}

// A picture the skin lacks is reported, not shown as an empty button.
QStringList g_reported;
TEST(Window, AMissingPictureIsReported)
{
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type == QtCriticalMsg)
                g_reported << text;
        });
    const QPixmap missing = Skin::Picture(PictureName("imgNoSuchPicture"));
    const QPixmap present = Skin::Picture(Pictures::imgConvertData);
    qInstallMessageHandler(previous);
    EXPECT_TRUE(missing.isNull());
    EXPECT_FALSE(present.isNull());
    EXPECT_EQ(g_reported, QStringList{"The skin picture imgNoSuchPicture is missing"});
}

// Each toolbar button shows its own pictures, greyed while a batch runs; Help goes back to idle.
TEST(Window, EachButtonShowsItsOwnPictures)
{
    using Look = HotArea::Look;
    WindowFixture f;
    frmMain &w = f.Start();
    QList<QImage> hovers;
    for (int index : {0, 1, 2, 3, 4, 6}) {
        SCOPED_TRACE(index);
        HotArea *button = w.Ui().imgToolbar[index];
        button->SetLook(Look::Hover);
        const QImage hover = button->ShownPicture().toImage();
        EXPECT_EQ(hover, Skin::Picture(Pictures::imgButtonData(index)).toImage());
        EXPECT_FALSE(hovers.contains(hover));
        hovers << hover;
        button->setEnabled(false);
        EXPECT_EQ(button->ShownPicture().toImage(),
                  Skin::Picture(Pictures::imgButtonDisabled(index)).toImage());
        button->setEnabled(true);
        button->Idle();
    }
    w.Ui().imgHelp->SetLook(Look::Hover);
    w.imgHelp_Click();
    EXPECT_EQ(w.Ui().imgHelp->CurrentLook(), Look::Idle);
}

TEST(Window, PointerLooks)
{
    WindowFixture f;
    frmMain &w = f.Start();
    using Look = HotArea::Look;
    Move(w.Ui().imgToolbar[0]);
    Move(w.Ui().imgToolbar[6]);
    EXPECT_EQ(w.Ui().imgToolbar[0]->CurrentLook(), Look::Idle); // one toolbar button lit at a time
    EXPECT_EQ(w.Ui().imgToolbar[6]->CurrentLook(), Look::Hover);
    Press(w.Ui().imgToolbar[6]);
    EXPECT_EQ(w.Ui().imgToolbar[6]->CurrentLook(), Look::Idle);
    Move(w.Ui().imgConvert);
    Move(w.Ui().LV->viewport()); // straight onto the list: the hover stays
    EXPECT_EQ(w.Ui().imgConvert->CurrentLook(), Look::Hover);
    Press(w.Ui().imgConvert);
    EXPECT_EQ(w.Ui().imgConvert->CurrentLook(), Look::Idle);
    Press(w.Ui().imgBrowse);
    EXPECT_EQ(w.Ui().imgBrowse->CurrentLook(), Look::Pressed);
    Move(w.Ui().imgBrowse, Qt::LeftButton); // the pressed look lasts until the pointer moves
    EXPECT_EQ(w.Ui().imgBrowse->CurrentLook(), Look::Hover);
    Move(w.Ui().picButtonR);
    EXPECT_EQ(w.Ui().picButtonR->CurrentLook(), Look::Hover);
    Move(w.Ui().lblFeed);
    EXPECT_TRUE(w.Ui().lblFeed->IsBold());
    Move(&w); // bare skin puts every look back
    EXPECT_EQ(w.Ui().imgBrowse->CurrentLook(), Look::Idle);
    EXPECT_EQ(w.Ui().picButtonR->CurrentLook(), Look::Idle);
    EXPECT_FALSE(w.Ui().lblFeed->IsBold());

    // Restored after minimising, the minimise button shows no hover look.
    Move(w.Ui().imgMin);
    ASSERT_EQ(w.Ui().imgMin->CurrentLook(), Look::Hover);
    QTest::mouseClick(w.Ui().imgMin, Qt::LeftButton);
    EXPECT_TRUE(w.isMinimized());
    w.showNormal();
    EXPECT_EQ(w.Ui().imgMin->CurrentLook(), Look::Idle);
}

TEST(Window, ToolTipsAndPointers)
{
    WindowFixture f;
    frmMain &w = f.Start();
    struct Case
    {
        QWidget *control;
        QString tip;
        bool hand;
    } cases[] = {
        {w.Ui().imgToolbar[0], "", false},
        {w.Ui().imgToolbar[4], "", false},
        {w.Ui().imgMenu[1], "", false},
        {w.Ui().imgConvert, "", false},
        {w.Ui().imgDoorButton, "", false},
        {w.Ui().imgBrowse, "Select an Output Folder", false},
        {w.Ui().imgHelp, "Help & Tutorial", true},
        {w.Ui().imgMin, "Minimize Window", true},
        {w.Ui().imgExit, "Exit", true},
        {w.Ui().lblFeed, "", true},
        {w.Ui().picButtonOF, "Output Format", false},
        {w.Ui().picButtonBR, "MP3 Audio Bitrate", false},
        {w.Ui().picButtonR, "MP3 Audio Rate", false},
        {w.Ui().picButtonChannel, "MP3 Audio Channel(Stereo or Mono)", false},
        {w.Ui().cmbOF, "Output Format", false},
        {w.Ui().cmbChannel, "MP3 Audio Channel(Stereo or Mono)", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tip.toStdString() + " " + c.control->metaObject()->className());
        EXPECT_EQ(c.control->toolTip(), c.tip);
        const QCursor cursor = c.control->cursor();
        if (c.hand) {
            EXPECT_EQ(cursor.shape(), Qt::BitmapCursor);
            EXPECT_EQ(cursor.pixmap().size(), QSize(32, 32));
            EXPECT_EQ(cursor.hotSpot(), QPoint(6, 0));
        } else {
            EXPECT_EQ(cursor.shape(), Qt::ArrowCursor);
        }
    }
    // The folder box: its tip holds the whole path, and a long path shows its start.
    EXPECT_EQ(w.Ui().txtPath->toolTip(), "Select a Folder to Output\n" + w.Ui().txtPath->text());
    const QString longFolder = f.work.path() + "/" + QString(80, 'x');
    QDir().mkpath(longFolder);
    f.dialogs.folders = {longFolder};
    w.imgBrowse_Click();
    EXPECT_EQ(w.Ui().txtPath->toolTip(), "Select a Folder to Output\n" + longFolder);
    EXPECT_EQ(w.Ui().txtPath->cursorPosition(), 0);
    // Typed, then Convert with the text it already had: the start again (the folder is one
    // the converter cannot take, so nothing converts).
    f.dialogs.files = {f.work.path() + "/clip.mp4"};
    w.imgAdd_Click();
    w.Ui().txtPath->setFocus();
    w.Ui().txtPath->setText(longFolder + "/\"q\"");
    w.Ui().txtPath->end(false);
    w.imgConvert_Click();
    EXPECT_EQ(w.Ui().txtPath->text(), longFolder + "/\"q\"");
    EXPECT_EQ(w.Ui().txtPath->cursorPosition(), 0);
}

TEST(Window, EachPickerButtonOpensItsOwnList)
{
    WindowFixture f;
    frmMain &w = f.Start();
    w.imgToolbar_Click(0); // the start panel goes
    const std::pair<HotArea *, QComboBox *> pairs[] = {{w.Ui().picButtonOF, w.Ui().cmbOF},
                                                       {w.Ui().picButtonBR, w.Ui().cmbBR},
                                                       {w.Ui().picButtonR, w.Ui().cmbR},
                                                       {w.Ui().picButtonChannel, w.Ui().cmbChannel}};
    for (const auto &[button, picker] : pairs) {
        SCOPED_TRACE(picker->toolTip().toStdString());
        QTest::mouseClick(button, Qt::LeftButton);
        for (const auto &[otherButton, other] : pairs)
            EXPECT_EQ(other->view()->isVisible(), other == picker);
        picker->hidePopup();
    }
}

TEST(Window, TheTitleBarExitSavesTheChoices)
{
    WindowFixture f;
    frmMain &w = f.Start();
    w.Ui().cmbOF->setCurrentIndex(2);
    w.Ui().txtPath->setText("/data/out");
    QTest::mouseClick(w.Ui().imgExit, Qt::LeftButton);
    EXPECT_EQ(f.ReadProgramFile("setup.ini"), "\"8\"\r\n\"1\"\r\n\"1\"\r\n\"/data/out\"\r\n\"2\"\r\n");
    EXPECT_EQ(f.shell.log, QStringList{"end"});
}

TEST(Window, OnlyBareSkinDragsTheWindow)
{
    WindowFixture f;
    frmMain &w = f.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.Timer2().isActive(); }, 2000));
    w.imgToolbar_Click(0); // the start panel goes, so the hint and the progress label show
    const auto drag = [&](QWidget *target, QPointF at) {
        const QPoint before = w.pos();
        Send(target, QEvent::MouseButtonPress, Qt::LeftButton, at);
        const QPointF global = target->mapToGlobal(at) + QPointF(40, 30);
        QMouseEvent move(QEvent::MouseMove, w.mapFromGlobal(global), global, Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(&w, &move);
        Send(&w, QEvent::MouseButtonRelease, Qt::NoButton, w.mapFromGlobal(global));
        return w.pos() - before;
    };
    EXPECT_EQ(drag(&w, QPointF(300, 20)), QPoint(40, 30)); // the header's bare skin
    EXPECT_EQ(drag(w.Ui().lblPB, QPointF(5, 5)), QPoint(0, 0));
    EXPECT_EQ(drag(w.Ui().lblText, QPointF(5, 5)), QPoint(0, 0));
    EXPECT_EQ(drag(w.Ui().imgConvert, QPointF(5, 5)), QPoint(0, 0));
}

TEST(Window, SecondStartEndsAtOnce)
{
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CACHE_HOME", home.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    const QString program = QCoreApplication::applicationDirPath() + "/brimwave";
    // A running instance holds the lock, which names its process.
    const auto holdsTheLock = [lock = home.path() + "/Brimwave/instance.lock"](const QProcess &process) {
        return QTest::qWaitFor(
            [&] {
                QFile file(lock);
                return file.open(QIODevice::ReadOnly) &&
                       file.readLine().trimmed().toLongLong() == process.processId();
            },
            5000);
    };
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(program, {});
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(holdsTheLock(first));
    ASSERT_EQ(first.state(), QProcess::Running);

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(program, {});
    EXPECT_TRUE(second.waitForFinished(5000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running); // the first one is untouched
    first.kill();
    first.waitForFinished();

    // A lock left behind by an instance that was killed does not keep the program out.
    QProcess third;
    third.setProcessEnvironment(env);
    third.start(program, {});
    ASSERT_TRUE(third.waitForStarted());
    EXPECT_TRUE(holdsTheLock(third));
    EXPECT_EQ(third.state(), QProcess::Running);
    third.kill();
    third.waitForFinished();
}

TEST(Window, FinishSoundNeverHangs)
{
    QtShell shell;
    QElapsedTimer clock;
    clock.start();
    shell.PlaySoundFile(QCoreApplication::applicationDirPath() + "/sound.wav");
    EXPECT_LT(clock.elapsed(), 1100 + 500 + 1000); // at most the chime, the margin, and some slack
    clock.restart();
    shell.PlaySoundFile(QCoreApplication::applicationDirPath() + "/missing.wav");
    EXPECT_LT(clock.elapsed(), 500);
}

} // namespace
