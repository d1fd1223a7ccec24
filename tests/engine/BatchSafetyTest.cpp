#include "WindowFakes.h"
#include "platform/ProcessList.h"

#include "ui/HotArea.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

namespace {

using Icon = platform::UserMessages::Icon;

// The converter's arguments, as a fake converter script sees them: $4 is the input and the
// last argument the output. Like the real one, it reports a position once it converts.
const char *const kTakeArguments = "err size= 1kB time=00:00:01.00 bitrate=1\\n\n";

// Queues `paths` through the open dialog and converts them to `format`; true when the batch ended.
bool ConvertAll(WindowFixture &f, const QStringList &paths, int format, const QString &folder)
{
    frmMain &w = f.Window();
    w.Ui().cmbOF->setCurrentIndex(format);
    w.Ui().txtPath->setText(folder);
    for (const QString &path : paths) {
        f.dialogs.files = {path};
        w.imgAdd_Click();
    }
    w.imgConvert_Click();
    return f.WaitForBatchEnd();
}

TEST(BatchSafety, FilesLandInTheChosenFolderOrNowhere)
{
    WindowFixture f;
    const QString clip = f.MakeClip("clip.mp4");
    PutFile(f.work.path() + "/a file", "in the way");
    frmMain &w = f.Start();
    struct Case
    {
        QString typed;
        QString reason;
    } cases[] = {
        {f.work.path() + "/out \"q\"", "its name holds characters the converter cannot take"},
        {f.work.path() + "/a file/out", "Not a directory"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        f.messages.shown.clear();
        f.dialogs.files = {clip};
        w.imgAdd_Click();
        w.Ui().txtPath->setText(c.typed);
        w.imgConvert_Click();
        ASSERT_EQ(f.messages.shown.size(), 1);
        EXPECT_EQ(f.messages.shown[0].title, "Path");
        EXPECT_TRUE(f.messages.shown[0].text.contains(c.typed));
        EXPECT_TRUE(f.messages.shown[0].text.contains(c.reason)) << f.messages.shown[0].text.toStdString();
        EXPECT_FALSE(w.Batch().Timer1().isActive()); // the batch did not start
        EXPECT_TRUE(w.Ui().imgConvert->isEnabled());
        EXPECT_EQ(w.Queue().Count(), 1);
        w.Queue().RemoveAll();
    }
    EXPECT_FALSE(QFileInfo::exists(f.work.path() + "/out ?q?"));

    // Missing parents are made, and the box shows where the files go.
    f.messages.shown.clear();
    ASSERT_TRUE(ConvertAll(f, {clip}, 3, f.work.path() + "/new/deeper/out/."));
    EXPECT_TRUE(f.messages.shown.isEmpty());
    EXPECT_EQ(w.Ui().txtPath->text(), f.work.path() + "/new/deeper/out");
    EXPECT_GT(QFileInfo(f.work.path() + "/new/deeper/out/clip.wav").size(), 0);
}

TEST(BatchSafety, EveryFailureIsNamedWithItsReason)
{
    WindowFixture f;
    f.WriteProgramFile("options.ini", "1\r\n0\r\n0\r\n0\r\n"); // finish sound off
    f.UseFakeConverter(QString(kTakeArguments) + "[silent] exit 0\n"
                                                 "[empty] write\n"
                                                 "[empty] exit 0\n"
                                                 "[crash] write partial\n"
                                                 "[crash] crash 9\n"
                                                 "[talk] fill 3000 x\n"
                                                 "[talk] exit 1\n"
                                                 "write sound");
    QStringList inputs;
    for (const char *name : {"silent", "crash", "good", "empty", "talk 1", "talk 2", "talk 3", "talk 4",
                             "talk 5", "talk 6", "talk 7", "talk 8", "talk 9"})
        inputs << Native(PutFile(f.work.path() + "/in/" + name + ".mp4", "x"));
    const QString out = f.work.path() + "/out";
    f.Start();
    ASSERT_TRUE(ConvertAll(f, inputs, 3, out));

    ASSERT_EQ(f.messages.shown.size(), 1);
    const RecordingMessages::Message &warning = f.messages.shown[0];
    EXPECT_EQ(warning.title, "Convert");
    EXPECT_EQ(warning.icon, Icon::Warning);
    EXPECT_TRUE(warning.text.startsWith("1 of 13 files were converted; these 12 could not be:"))
        << warning.text;
    EXPECT_TRUE(warning.text.contains(inputs[0] + "\n    no output file was written"));
    EXPECT_TRUE(warning.text.contains(inputs[1] + "\n    " + CrashReason(9))) << warning.text;
    // An empty output after an end of 0 is no output, and goes.
    EXPECT_TRUE(warning.text.contains(inputs[3] + "\n    no output file was written"));
    EXPECT_FALSE(QFileInfo::exists(out + "/empty.wav"));
    // Ten files in the text, the rest in the details, and no line longer than the screen is wide.
    EXPECT_EQ(warning.text.count(Native(f.work.path() + "/in/")), 10);
    EXPECT_TRUE(warning.text.contains("and 2 more"));
    EXPECT_EQ(warning.details.count(Native(f.work.path() + "/in/")), 12);
    EXPECT_FALSE(warning.text.contains(inputs[2]));
    for (const QString &line : warning.details.split('\n'))
        EXPECT_LE(line.size(), 300 + 4);
    // The crashed converter's half-written file is gone; the good one stays.
    EXPECT_FALSE(QFileInfo::exists(out + "/crash.wav"));
    EXPECT_TRUE(QFileInfo::exists(out + "/good.wav"));
}

TEST(BatchSafety, ACutWithoutSoundIsAFailure)
{
    struct Case
    {
        QByteArray options;
        QString reason;
    } cases[] = {
        {"1\r\n1\r\n10\r\n5\r\n", "the cut starts after the end of the file"},
        {"1\r\n1\r\n0\r\n0\r\n", "the cut length is 0"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.reason.toStdString());
        WindowFixture f;
        f.WriteProgramFile("options.ini", c.options);
        const QString clip = f.MakeClip("clip.mp4", 2);
        f.Start();
        ASSERT_TRUE(ConvertAll(f, {clip}, 3, f.work.path() + "/out"));
        ASSERT_EQ(f.messages.shown.size(), 1);
        EXPECT_TRUE(f.messages.shown[0].text.contains(Native(clip) + "\n    " + c.reason));
        EXPECT_FALSE(QFileInfo::exists(f.work.path() + "/out/clip.wav"));
    }
}

// A batch of three files to WAV whose second, "slow", converts until something interrupts it.
class InterruptedBatch : public testing::Test
{
protected:
    void SetUp() override
    {
        f.UseFakeConverter(QString(kTakeArguments) + "write sound\n"
                                                     "[slow] out started\\n\n"
                                                     "[slow] sleep 30000");
        for (const char *name : {"quick", "slow", "after"})
            inputs << Native(PutFile(f.work.path() + "/in/" + name + ".mp4", "x"));
        w.Ui().cmbOF->setCurrentIndex(3);
        w.Ui().txtPath->setText(out);
        f.dialogs.files = {inputs[0], inputs[1], inputs[2]};
        for (int i = 0; i < 3; ++i)
            w.imgAdd_Click();
    }
    // Converts; `interrupt` runs as the slow file's converter first speaks, as a user's click would.
    void Convert(const std::function<void()> &interrupt)
    {
        QObject::connect(&w.Batch().objDOS(), &DOSOutputs::ReceiveOutputs, &w,
                         [this, interrupt](const QString &text) {
                             if (text.contains("started") && !std::exchange(interrupted, true))
                                 interrupt();
                         });
        w.imgConvert_Click();
    }

    WindowFixture f;
    frmMain &w = f.Start();
    QStringList inputs;
    QString out = f.work.path() + "/out";
    bool interrupted = false;
};

TEST_F(InterruptedBatch, ClosingLeavesNoCutShortFile)
{
    Convert([this] { w.close(); });
    ASSERT_TRUE(f.WaitForBatchEnd(10000));
    EXPECT_EQ(f.shell.log.first(), "end");
    EXPECT_TRUE(QFileInfo::exists(out + "/quick.wav"));
    EXPECT_FALSE(QFileInfo::exists(out + "/slow.wav"));
    EXPECT_FALSE(platform::IsProcessNameRunning(platform::ConverterProcessName()));
}

TEST_F(InterruptedBatch, StopEndsTheConversionAndKeepsTheRestQueued)
{
    EXPECT_FALSE(w.Ui().imgStop->isVisible());
    bool stopVisible = false;
    QSignalSpy stopped(&w.Batch(), &BatchConverter::BatchStopped);
    Convert([&] {
        stopVisible = w.Ui().imgStop->isVisible();
        QTest::mouseClick(w.Ui().imgStop, Qt::LeftButton);
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !stopped.isEmpty(); }, 10000));
    EXPECT_TRUE(stopVisible);
    EXPECT_EQ(w.Ui().lblPB->text(), "Stopped.");
    EXPECT_EQ(w.Queue().lstFile(), inputs.mid(1));
    // The stopped file waits like the others: no longer marked, and the batch's place is gone.
    EXPECT_FALSE(w.Queue().IsConverting(0));
    EXPECT_EQ(w.windowTitle(), "Brimwave");
    EXPECT_FALSE(w.Ui().lblBatch->isVisible());
    EXPECT_TRUE(QFileInfo::exists(out + "/quick.wav"));
    EXPECT_FALSE(QFileInfo::exists(out + "/slow.wav"));
    EXPECT_FALSE(platform::IsProcessNameRunning(platform::ConverterProcessName()));
    EXPECT_TRUE(w.Ui().imgConvert->isEnabled() && w.Ui().imgToolbar[0]->isEnabled());
    EXPECT_FALSE(w.Ui().imgStop->isVisible());
    EXPECT_TRUE(f.shell.log.isEmpty()); // no end of batch: no folder, no sound
    QTest::qWait(300);                  // and nothing starts again by itself
    EXPECT_EQ(w.Queue().Count(), 2);
}

// What a batch reads and writes: no input of the batch and no earlier output of the same batch
// is ever replaced, a failed file leaves nothing, and every file gets the folder checks.
TEST(BatchSafety, TheOutputsOfABatch)
{
    struct Row
    {
        const char *name;
        int format;
        QStringList inputs;               // each made with its own name as content, queued in order
        QMap<QString, QByteArray> before; // files already there
        QString folder;                   // the output folder, under the work folder
        QString typedMeanwhile;           // typed into the folder box as the first file converts
        QString addedMeanwhile;           // given to the window as the first file converts
        QMap<QString, QByteArray> after;  // what must be there ("" for nothing)
        int failures;
    } rows[] = {
        {"a source queued before its namesake",
         0,
         {"music/song.mp3", "music/song.mp4"},
         {},
         "music",
         {},
         {},
         {{"music/song.mp3", "music/song.mp3"}},
         2},
        {"the inputs' own folder spelled with a dot",
         0,
         {"music/a.mp3", "music/song.mp4", "music/song.mp3"},
         {},
         "music/.",
         {},
         {},
         {{"music/a.mp3", "music/a.mp3"}, {"music/song.mp3", "music/song.mp3"}},
         3},
        {"the inputs' own folder spelled with a doubled separator",
         0,
         {"music/a.mp3", "music/song.mp4", "music/song.mp3"},
         {},
         "music//",
         {},
         {},
         {{"music/a.mp3", "music/a.mp3"}, {"music/song.mp3", "music/song.mp3"}},
         3},
        {"the inputs' own folder through a link",
         0,
         {"music/a.mp3", "music/song.mp4", "music/song.mp3"},
         {},
         "music link",
         {},
         {},
         {{"music/a.mp3", "music/a.mp3"}, {"music/song.mp3", "music/song.mp3"}},
         3},
        {"into another folder the same file converts",
         0,
         {"music/song.mp4"},
         {},
         "out",
         {},
         {},
         {{"out/song.mp3", "music/song.mp4"}},
         0},
        {"one title three times: numbered, the user's own numbered file kept",
         3,
         {"a/clip.mp4", "b/clip.avi", "a/clip.mp4"},
         {{"out/clip.wav", "an earlier batch's"}, {"out/clip (2).wav", "the user's own"}},
         "out",
         {},
         {},
         {{"out/clip.wav", "a/clip.mp4"},
          {"out/clip (2).wav", "the user's own"},
          {"out/clip (3).wav", "b/clip.avi"},
          {"out/clip (4).wav", "a/clip.mp4"}},
         0},
        {"failed files leave nothing they wrote",
         3,
         {"fail.mp4", "nowrite.mp4", "good.mp4"},
         {{"out/nowrite.wav", "an earlier batch's"}},
         "out",
         {},
         {},
         {{"out/fail.wav", ""}, {"out/nowrite.wav", "an earlier batch's"}, {"out/good.wav", "good.mp4"}},
         2},
        {"a folder typed during the batch is checked like at Convert",
         3,
         {"one.mp4", "two.mp4"},
         {},
         "out",
         "bad \"q\"",
         {},
         {{"out/one.wav", "one.mp4"}, {"bad ?q?/two.wav", ""}, {"out/two.wav", ""}},
         1},
        {"a file queued during the batch is protected too",
         0,
         {"music/first.mp4", "music/song.mp4"},
         {{"music/song.mp3", "the user's own"}},
         "music",
         {},
         "music/song.mp3",
         {{"music/first.mp3", "music/first.mp4"}, {"music/song.mp3", "the user's own"}},
         2},
        {"one title through another spelling of the folder",
         3,
         {"a/clip.mp4", "b/clip.avi"},
         {},
         "out",
         "out link",
         {},
         {{"out/clip.wav", "a/clip.mp4"}, {"out/clip (2).wav", "b/clip.avi"}},
         0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        WindowFixture f;
        f.WriteProgramFile("options.ini", "1\r\n0\r\n0\r\n0\r\n");
        f.UseFakeConverter(QString(kTakeArguments) + "out working\\n\n"
                                                     "[nowrite] exit 1\n"
                                                     "[fail] write partial\n"
                                                     "[fail] exit 1\n"
                                                     "copy");
        const QString root = f.work.path() + "/";
        QStringList inputs;
        for (const QString &input : row.inputs)
            inputs << (QFileInfo::exists(root + input) ? root + input
                                                       : PutFile(root + input, input.toUtf8()));
        for (auto it = row.before.cbegin(); it != row.before.cend(); ++it)
            PutFile(root + it.key(), it.value());
        QDir().mkpath(root + "out");
        QFile::link(root + "out", root + "out link");
        QFile::link(root + "music", root + "music link");
        frmMain &w = f.Start();
        bool meanwhile = false;
        QObject::connect(&w.Batch().objDOS(), &DOSOutputs::ReceiveOutputs, &w, [&] {
            if (std::exchange(meanwhile, true))
                return;
            if (!row.typedMeanwhile.isEmpty())
                w.Ui().txtPath->setText(root + row.typedMeanwhile);
            if (!row.addedMeanwhile.isEmpty())
                w.QueueFilesGiven({root + row.addedMeanwhile});
        });
        ASSERT_TRUE(ConvertAll(f, inputs, row.format, root + row.folder));
        EXPECT_EQ(w.Ui().lblPB->text(), "Done.");
        for (auto it = row.after.cbegin(); it != row.after.cend(); ++it) {
            QFile file(root + it.key());
            EXPECT_EQ(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), it.value()) << it.key();
        }
        // The whole list: the details when they hold more than the text, else the text.
        const QString details = f.messages.shown.isEmpty()              ? QString()
                                : f.messages.shown[0].details.isEmpty() ? f.messages.shown[0].text
                                                                        : f.messages.shown[0].details;
        EXPECT_EQ(details.count("\n    "), row.failures) << details;
        if (row.typedMeanwhile.startsWith("bad")) {
            EXPECT_TRUE(
                details.contains(inputs[1] + "\n    the output folder " + root + "bad \"q\" cannot be used"))
                << details;
            EXPECT_FALSE(QFileInfo::exists(root + "bad ?q?"));
        }
    }
}

// A file taken off the queue before Convert is no input of the batch: its name may be written.
// Queued twice and taken off once, it still is one.
TEST(BatchSafety, OnlyWhatIsQueuedAtConvertIsAnInput)
{
    const struct
    {
        const char *name;
        const char *queuedAs; // the song, as it is queued
        int queued;
        bool removeAll;
        QByteArray songAfter;
        int refused;
        bool lookedUpFirst = true; // the queued files looked up before the removal
        bool otherBehind = false;  // another file queued behind the song before the removal
    } cases[] = {
        {"queued, then Remove Selected", "music/song.mp3", 1, false, "song.mp4", 0},
        {"queued through a link, then Remove Selected", "music link/song.mp3", 1, false, "song.mp4", 0},
        {"queued, then Remove All", "music/song.mp3", 1, true, "song.mp4", 0},
        {"queued, then Remove All at once", "music/song.mp3", 1, true, "song.mp4", 0, false},
        {"queued, another behind it, then Remove Selected", "music/song.mp3", 1, false, "song.mp4", 0, true,
         true},
        {"queued twice, one of them removed", "music/song.mp3", 2, false, "the user's own", 2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        WindowFixture f;
        f.UseFakeConverter(QString(kTakeArguments) + "copy");
        const QString music = f.work.path() + "/music";
        const QString song = PutFile(music + "/song.mp3", "the user's own");
        const QString video = PutFile(music + "/song.mp4", "song.mp4");
        QFile::link(music, f.work.path() + "/music link");
        frmMain &w = f.Start();
        for (int i = 0; i < c.queued; ++i) {
            f.dialogs.files = {f.work.path() + "/" + c.queuedAs};
            w.imgAdd_Click();
        }
        if (c.otherBehind) {
            f.dialogs.files = {PutFile(f.work.path() + "/elsewhere/other.mp4", "other")};
            w.imgAdd_Click();
        }
        if (c.lookedUpFirst) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return !w.Batch().IdentifyingQueuedFiles(); }, 20000));
        }
        if (c.removeAll) {
            w.menuRemoveAll_Click();
        } else {
            w.Ui().LV->setCurrentIndex(w.Queue().index(0, 0));
            w.imgRemove_Click();
        }
        ASSERT_TRUE(ConvertAll(f, {video}, 0, music));
        QFile written(song);
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        EXPECT_EQ(written.readAll(), c.songAfter);
        const QString said = f.messages.shown.isEmpty()              ? QString()
                             : f.messages.shown[0].details.isEmpty() ? f.messages.shown[0].text
                                                                     : f.messages.shown[0].details;
        EXPECT_EQ(said.count("\n    "), c.refused) << said;
    }
}

// The queued files' identities are looked up between the window's events, then it rests.
TEST(BatchSafety, QueuedFilesAreLookedUpBetweenEvents)
{
    WindowFixture f;
    frmMain &w = f.Start();
    QList<QueueEntry> entries;
    for (int i = 0; i < 3 * BatchConverter::kIdentitiesAtOnce; ++i) {
        const QString path = f.work.path() + QStringLiteral("/clip %1.mp4").arg(i);
        entries.append({path, path, "MP4", {}});
    }
    w.Queue().Append(entries);
    EXPECT_TRUE(w.Batch().IdentifyingQueuedFiles());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.Batch().IdentifyingQueuedFiles(); }, 20000));
}

// A signal that asks the program to end (a logout, `kill`, a closed terminal) ends it as closing
// the window does: the converter ended, its cut-short file deleted, the files before it kept.
TEST(BatchSafety, AskedToEndByTheSystemLeavesNoCutShortFile)
{
    for (const EndRequest &request : SystemEndRequests()) {
        SCOPED_TRACE(request.name.toStdString());
        WindowFixture f;
        f.UseFakeConverter(QString(kTakeArguments) + "write sound\n"
                                                     "[slow] out started\\n\n"
                                                     "[slow] sleep 30000");
        const QStringList inputs = {PutFile(f.work.path() + "/in/quick.mp4", "x"),
                                    PutFile(f.work.path() + "/in/slow.mp4", "x")};
        frmMain &w = f.Start();
        bool raised = false;
        QString noted;
        QObject::connect(&w.Batch().objDOS(), &DOSOutputs::ReceiveOutputs, &w, [&](const QString &text) {
            if (!text.contains("started") || std::exchange(raised, true))
                return;
            // The file being written is noted, for a start after a crash.
            QFile note(f.places.unfinishedNote);
            if (note.open(QIODevice::ReadOnly))
                noted = QString::fromUtf8(QByteArray::fromPercentEncoding(note.readAll()));
            request.send();
        });
        ASSERT_TRUE(ConvertAll(f, inputs, 3, f.work.path() + "/out"));
        EXPECT_EQ(f.shell.log.value(0), "end");
        EXPECT_TRUE(QFileInfo::exists(f.work.path() + "/out/quick.wav"));
        EXPECT_FALSE(QFileInfo::exists(f.work.path() + "/out/slow.wav"));
        EXPECT_FALSE(platform::IsProcessNameRunning(platform::ConverterProcessName()));
        EXPECT_TRUE(noted.contains(Native(f.work.path() + "/out/slow.wav"))) << noted;
        EXPECT_FALSE(QFileInfo::exists(f.places.unfinishedNote));
    }
}

// The converter started a helper of its own name that holds the pipe, then ended: Stop still
// stops, ending every converter of the user.
TEST(BatchSafety, StopEndsAConverterLeftBehind)
{
    WindowFixture f;
    f.UseFakeConverter(QString(kTakeArguments) + "helper\n"
                                                 "out started\\n\n"
                                                 "write sound");
    frmMain &w = f.Start();
    QSignalSpy stopped(&w.Batch(), &BatchConverter::BatchStopped);
    bool clicked = false;
    QObject::connect(&w.Batch().objDOS(), &DOSOutputs::ReceiveOutputs, &w, [&] {
        if (!std::exchange(clicked, true))
            w.imgStop_Click();
    });
    f.dialogs.files = {PutFile(f.work.path() + "/in/clip.mp4", "x")};
    w.imgAdd_Click();
    w.Ui().txtPath->setText(f.work.path() + "/out");
    // Should Stop not stop, the helper is ended later, so that the test ends anyway.
    QTimer::singleShot(6000, [] { platform::KillProcessByName(platform::ConverterProcessName()); });
    QElapsedTimer clock;
    clock.start();
    w.imgConvert_Click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !stopped.isEmpty(); }, 10000));
    EXPECT_LT(clock.elapsed(), 4000);
    EXPECT_FALSE(platform::IsProcessNameRunning(platform::ConverterProcessName()));
    EXPECT_EQ(w.Queue().Count(), 1);
}

// The converter's own start and end, as the fake converter notes them in `log`.
QList<std::pair<qint64, qint64>> ConverterRuns(const QString &log)
{
    QFile file(log);
    file.open(QIODevice::ReadOnly);
    QList<std::pair<qint64, qint64>> runs;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() == 2)
            runs.append({fields[0].toLongLong(), fields[1].toLongLong()});
    }
    return runs;
}

// Each finished file arms the batch timer: the next starts 100 ms later, never sooner.
TEST(BatchSafety, FilesFollowOneAnotherAtTheBatchTimersPace)
{
    WindowFixture f;
    const QString log = f.work.path() + "/runs.log";
    f.UseFakeConverter(QString(kTakeArguments) + "write sound\nappend \"" + log + "\" {start} {clock}");
    QStringList inputs;
    for (const char *name : {"a", "b", "c"})
        inputs << Native(PutFile(f.work.path() + "/in/" + name + ".mp4", "x"));
    f.Start();
    ASSERT_TRUE(ConvertAll(f, inputs, 3, f.work.path() + "/out"));
    const auto runs = ConverterRuns(log);
    ASSERT_EQ(runs.size(), 3);
    for (int i = 1; i < 3; ++i)
        EXPECT_GE((runs[i].first - runs[i - 1].second) / 1000000, 100) << i;
}

// A converter of an earlier run, started after this window's start, is ended before the next
// file converts: the batch does not wait for it.
TEST(BatchSafety, EachFileEndsConvertersLeftRunning)
{
    WindowFixture f;
    f.UseFakeConverter(QString(kTakeArguments) + "write sound");
    frmMain &w = f.Start();
    QProcess stray;
    ASSERT_TRUE(StartFakeNamed(stray, f.work.path() + "/stray/conv", "sleep 30000"));
    // Gone before the file's converter speaks, not only by the batch's end.
    bool strayGoneFirst = false;
    QObject::connect(&w.Batch().objDOS(), &DOSOutputs::ReceiveOutputs, &w, [&] {
        if (!strayGoneFirst)
            strayGoneFirst = stray.state() == QProcess::NotRunning || stray.waitForFinished(0);
    });
    ASSERT_TRUE(ConvertAll(f, {PutFile(f.work.path() + "/in/a.mp4", "x")}, 3, f.work.path() + "/out"));
    EXPECT_TRUE(strayGoneFirst);
    stray.kill();
}

// Stop pressed while the batch timer's tick lets the window handle its events: no next file.
TEST(BatchSafety, StopDuringTheTickStartsNoFile)
{
    WindowFixture f;
    const QString log = f.work.path() + "/runs.log";
    f.UseFakeConverter("append \"" + log + "\" run");
    frmMain &w = f.Start();
    f.dialogs.files = {PutFile(f.work.path() + "/in/a.mp4", "x")};
    w.imgAdd_Click();
    w.Ui().txtPath->setText(f.work.path() + "/out");
    QSignalSpy stopped(&w.Batch(), &BatchConverter::BatchStopped);
    w.imgConvert_Click();
    // The tick is taken by hand, with the Stop waiting among the window's events.
    w.Batch().Timer1().stop();
    QMetaObject::invokeMethod(
        &w, [&] { w.imgStop_Click(); }, Qt::QueuedConnection);
    w.Batch().Timer1_Timer();
    EXPECT_EQ(stopped.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(log));
    EXPECT_EQ(w.Queue().Count(), 1);
}

// However a conversion ends early (Stop, a crash, the window closed), a file of an earlier
// batch that it never wrote stays.
TEST(BatchSafety, AnEarlyEndDeletesOnlyWhatTheConversionWrote)
{
    struct Row
    {
        const char *name;
        const char *converter;
        std::function<void(frmMain &)> interrupt;
    } rows[] = {
        {"Stop", "sleep 30000",
         [](frmMain &w) {
             w.imgStop_Click();
         }},
        {"a crash", "crash 9",
         [](frmMain &) {
         }},
        {"closing", "sleep 30000",
         [](frmMain &w) {
             w.close();
         }},
    };
    for (const char *atOnce : {"1", "2"}) {
        for (const Row &row : rows) {
            SCOPED_TRACE(std::string(row.name) + ", files at once: " + atOnce);
            WindowFixture f;
            f.WriteProgramFile("options.ini", QByteArray("1\r\n0\r\n0\r\n0\r\n") +
                                                  (QByteArray(atOnce) == "1" ? "" : "2\r\n"));
            const QString started = f.work.path() + "/started";
            f.UseFakeConverter("append \"" + started + "\"\n" + row.converter);
            const QString earlier = PutFile(f.work.path() + "/out/clip.wav", "an earlier batch's");
            frmMain &w = f.Start();
            // Every way the batch can end is watched from before it starts: an end that comes
            // while the test is busy elsewhere is still seen.
            QSignalSpy stopped(&w.Batch(), &BatchConverter::BatchStopped);
            QSignalSpy finished(&w.Batch(), &BatchConverter::BatchFinished);
            QSignalSpy halted(&w.Batch(), &BatchConverter::BatchHalted);
            f.dialogs.files = {PutFile(f.work.path() + "/in/clip.mp4", "x")};
            w.imgAdd_Click();
            w.Ui().cmbOF->setCurrentIndex(3);
            w.Ui().txtPath->setText(f.work.path() + "/out");
            w.imgConvert_Click();
            ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(started); }, 20000));
            row.interrupt(w);
            ASSERT_TRUE(QTest::qWaitFor(
                [&] {
                    return !stopped.isEmpty() || !finished.isEmpty() || !halted.isEmpty() || !w.isVisible();
                },
                120000));
            QFile file(earlier);
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), "an earlier batch's");
        }
    }
}

// One at a time, a file that failed before Stop is still reported.
TEST(BatchSafety, FailuresBeforeStopAreReported)
{
    WindowFixture f;
    f.UseFakeConverter(QString(kTakeArguments) + "[broken] err boom\\n\n"
                                                 "[broken] exit 1\n"
                                                 "[slow] out started\\n\n"
                                                 "[slow] sleep 30000");
    frmMain &w = f.Start();
    QObject::connect(&w.Batch().objDOS(), &DOSOutputs::ReceiveOutputs, &w, [&](const QString &text) {
        if (text.contains("started"))
            w.imgStop_Click();
    });
    QSignalSpy stopped(&w.Batch(), &BatchConverter::BatchStopped);
    for (const char *name : {"broken.mp4", "slow.mp4"}) {
        f.dialogs.files = {PutFile(f.work.path() + "/in/" + name, "x")};
        w.imgAdd_Click();
    }
    w.Ui().txtPath->setText(f.work.path() + "/out");
    w.imgConvert_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !stopped.isEmpty(); }, 20000));
    ASSERT_EQ(f.messages.shown.size(), 1);
    EXPECT_TRUE(f.messages.shown[0].text.contains(Native(f.work.path() + "/in/broken.mp4") + "\n    boom"))
        << f.messages.shown[0].text;
}

// Media that holds no sound, as found in the wild: an AIFF whose sound chunk is missing, and
// an MP4 audio init segment (a fragmented file cut before its first fragment).
QByteArray AiffWithoutSound()
{
    const QByteArray comm =
        QByteArray("COMM\0\0\0\x12\0\x02\0\0\xac\x44\0\x10\x40\x0e\xac\x44\0\0\0\0\0\0", 26);
    QByteArray form = "AIFF" + comm;
    const quint32 size = quint32(form.size());
    return "FORM" + QByteArray(1, char(size >> 24)) + char(size >> 16) + char(size >> 8) + char(size) + form;
}

QByteArray Mp4InitSegment(const QString &folder)
{
    const QString whole = folder + "/fragmented.mp4";
    RunProgram("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i", "sine=duration=1", "-c:a", "aac",
                          "-movflags", "frag_keyframe+empty_moov+default_base_moof", whole});
    QFile file(whole);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    return bytes.left(bytes.indexOf("moof") - 4);
}

// What the real converter prints when it fails, read as a person would say it; the statistics
// and "Conversion failed!" that follow its reason never stand in for it.
TEST(BatchSafety, TheRealConvertersFailuresInPlainWords)
{
    enum class Input { Clip, AiffWithoutSound, InitSegment, NoMedia };
    enum class Trouble { None, DiskFull, FolderLocked, FolderRemoved };
    struct Row
    {
        const char *name;
        Input input;
        int format;
        const char *extension;
        Trouble trouble;
        const char *reason;
        const char *converterSaid; // in the details; empty: no details
    } rows[] = {
        {"an AIFF without its sound chunk", Input::AiffWithoutSound, 3, ".wav", Trouble::None,
         "has no sound to convert", ""},
        {"the same to AMR", Input::AiffWithoutSound, 7, ".amr", Trouble::None, "has no sound to convert", ""},
        {"an MP4 init segment", Input::InitSegment, 0, ".mp3", Trouble::None, "has no sound to convert", ""},
        {"a file that is no media", Input::NoMedia, 3, ".wav", Trouble::None, "is not an audio or video file",
         "Invalid data found when processing input"},
        {"a full disk", Input::Clip, 3, ".wav", Trouble::DiskFull, "the output folder's disk is full",
         "No space left on device"},
        {"a full disk, the converter ending with 0", Input::Clip, 0, ".mp3", Trouble::DiskFull,
         "the output folder's disk is full", "No space left on device"},
        {"a folder that takes no new file", Input::Clip, 3, ".wav", Trouble::FolderLocked,
         "the output folder cannot be written: permission denied", "/out/clip.wav: "},
        {"a folder removed while the file converts", Input::Clip, 3, ".wav", Trouble::FolderRemoved,
         "the output folder is gone", ""},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        WindowFixture f;
        f.WriteProgramFile("options.ini", "1\r\n0\r\n0\r\n0\r\n"); // finish sound off
        const QString out = f.work.path() + "/out";
        QDir().mkpath(out);
        QString input;
        switch (row.input) {
        case Input::Clip:
            input = f.MakeClip("clip.mp4", 2);
            break;
        case Input::AiffWithoutSound:
            input = PutFile(f.work.path() + "/clip.aiff", AiffWithoutSound());
            break;
        case Input::InitSegment:
            input = PutFile(f.work.path() + "/clip.mp4", Mp4InitSegment(f.work.path()));
            break;
        case Input::NoMedia:
            input = PutFile(f.work.path() + "/clip.mp4", "no media at all");
            break;
        }
        // A full disk, on demand: the output is the system's device that is always full.
        const QString output = out + "/clip" + row.extension;
        if (row.trouble == Trouble::DiskFull)
            QFile::link("/dev/full", output);
        std::optional<FolderWithoutNewFiles> locked;
        if (row.trouble == Trouble::FolderLocked) {
            locked.emplace(out);
            if (!locked->Active())
                GTEST_SKIP() << "no way to lock a folder here";
        }
        frmMain &w = f.Start();
        if (row.trouble == Trouble::FolderRemoved) {
            QObject::connect(&w.Batch().objDOS(), &DOSOutputs::ReceiveOutputs, &w, [&](const QString &text) {
                if (text.contains("Output #0"))
                    QDir(out).removeRecursively();
            });
        }
        ASSERT_TRUE(ConvertAll(f, {input}, row.format, out));
        ASSERT_EQ(f.messages.shown.size(), 1);
        const RecordingMessages::Message &warning = f.messages.shown[0];
        EXPECT_TRUE(warning.text.startsWith("0 of 1 files were converted"));
        EXPECT_TRUE(warning.text.contains(input + "\n    " + row.reason)) << warning.text;
        if (QByteArray(row.converterSaid).isEmpty()) {
            EXPECT_TRUE(warning.details.isEmpty()) << warning.details;
        } else {
            EXPECT_TRUE(warning.details.contains(row.converterSaid)) << warning.details;
        }
        // A failed file leaves no output of its own behind.
        if (row.trouble == Trouble::None) {
            EXPECT_FALSE(QFileInfo::exists(output));
        }
        locked.reset();
    }
}

} // namespace
