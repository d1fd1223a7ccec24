#include "WindowFakes.h"
#include "engine/ConverterCommand.h"
#include "engine/UnfinishedOutput.h"
#include "platform/ProcessList.h"
#include "platform/TextEncoding.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace {

// Three files at once (more than this machine's cores, as the window is told it may), through a
// fake converter that notes in a log when each file starts and
// ends. It writes a partial output at once, reports a length of 10 s and a position at 5 s;
// "slow" files take long, "broken" ones fail.
class SeveralAtOnce : public testing::Test
{
protected:
    static constexpr int kAtOnce = 3;
    void SetUp() override
    {
        f.mostFilesAtOnce = kAtOnce;
        f.WriteProgramFile("options.ini", "1\r\n0\r\n0\r\n0\r\n3\r\n"); // no finish sound, three at once
        log = f.work.path() + "/log";
        f.UseFakeConverter("append \"" + log +
                           "\" start {name}\n"
                           "write partial\n"
                           "err   Duration: 00:00:10.00, start: 0.000000\\n\n"
                           "[slow] sleep 30000\n"
                           "sleep 300\n"
                           "err size= 1kB time=00:00:05.00 bitrate=1\\n\n"
                           "append \"" +
                           log +
                           "\" end {name}\n"
                           "[broken] err boom\\n\n"
                           "[broken] exit 1\n"
                           "[crash] crash 9\n"
                           "write sound");
    }
    // Queues files of these names (under `folder` in the work folder) and starts the batch;
    // `prepare` runs on the window just before.
    void Convert(const QStringList &names, const std::function<void(frmMain &)> &prepare = {})
    {
        frmMain &w = f.Start();
        w.Ui().cmbOF->setCurrentIndex(3); // WAV
        w.Ui().txtPath->setText(out);
        for (const QString &name : names) {
            inputs << Native(PutFile(f.work.path() + "/in/" + name));
            f.dialogs.files = {inputs.last()};
            w.imgAdd_Click();
        }
        QObject::connect(&w.Batch(), &BatchConverter::StandingChanged, &w,
                         [this, &w] { captions << w.Ui().lblBatch->text(); });
        QObject::connect(&w.Batch(), &BatchConverter::ProgressChanged, &w,
                         [this](const ProgressDisplay &display) { shares << display.barShare; });
        // The order in which the batch starts the files, as it marks their rows.
        QObject::connect(&w.Queue(), &QueueModel::dataChanged, &w, [this, &w](const QModelIndex &from) {
            if (w.Queue().IsConverting(from.row()))
                starts << QFileInfo(w.Queue().At(from.row()).inputPath).fileName();
        });
        if (prepare)
            prepare(w);
        w.imgConvert_Click();
    }
    QStringList Log() const
    {
        QFile file(log);
        return file.open(QIODevice::ReadOnly)
                   ? QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts)
                   : QStringList();
    }
    bool WaitForStarts(int count)
    {
        return QTest::qWaitFor([&] { return Log().filter("start ").size() >= count; }, 10000);
    }

    WindowFixture f;
    QString log;
    QString out = f.work.path() + "/out";
    QStringList inputs;
    QStringList captions;
    QList<double> shares;
    QStringList starts;
};

TEST_F(SeveralAtOnce, ThreeRunAtOnceNeverFourInQueueOrder)
{
    // A converter an earlier run left behind is ended once, as the batch starts.
    QProcess old;
    ASSERT_TRUE(StartStaleConverter(old, f.work.path() + "/stale"));
    std::optional<bool> endedBeforeTheFirstStart;
    Convert({"a.mp4", "b.mp4", "c.mp4", "d.mp4", "e.mp4", "f.mp4", "g.mp4"}, [&](frmMain &w) {
        QObject::connect(&w.Batch(), &BatchConverter::StandingChanged, &w, [&] {
            if (!endedBeforeTheFirstStart)
                endedBeforeTheFirstStart = old.state() == QProcess::NotRunning || old.waitForFinished(2000);
        });
    });
    ASSERT_TRUE(f.WaitForBatchEnd());
    EXPECT_EQ(endedBeforeTheFirstStart, std::optional<bool>(true));
    const QStringList events = Log();
    int running = 0, most = 0;
    for (const QString &event : events) {
        running += event.startsWith("start ") ? 1 : -1;
        most = std::max(most, running);
    }
    EXPECT_EQ(most, kAtOnce) << events.join('\n');
    EXPECT_EQ(starts, QStringList({"a.mp4", "b.mp4", "c.mp4", "d.mp4", "e.mp4", "f.mp4", "g.mp4"}));
    for (const char *name : {"a", "b", "c", "d", "e", "f", "g"})
        EXPECT_EQ(QFileInfo(out + "/" + name + ".wav").size(), 5) << name;
    frmMain &w = f.Window();
    EXPECT_TRUE(w.Queue().IsEmpty());
    EXPECT_EQ(w.Ui().lblPB->text(), "Done.");
    EXPECT_EQ(f.shell.log, QStringList{"open " + Native(out)}); // the folder is opened once
    EXPECT_TRUE(f.messages.shown.isEmpty());
    // Where the batch stands names the files being converted; the bar shows the whole batch, so
    // it never goes back.
    EXPECT_TRUE(captions.filter("Files 1\u20133 of 7 \u00b7 ").size() > 0) << captions.join('\n');
    ASSERT_FALSE(shares.isEmpty());
    EXPECT_TRUE(std::is_sorted(shares.cbegin(), shares.cend()));
    EXPECT_GE(shares.last(), 0.85);
}

TEST_F(SeveralAtOnce, FailuresAndASuccessSideBySide)
{
    Convert({"broken.mp4", "good.mp4", "crash.mp4"});
    ASSERT_TRUE(f.WaitForBatchEnd());
    EXPECT_EQ(QFileInfo(out + "/good.wav").size(), 5);
    // Their partial outputs are gone.
    EXPECT_FALSE(QFileInfo::exists(out + "/broken.wav"));
    EXPECT_FALSE(QFileInfo::exists(out + "/crash.wav"));
    ASSERT_EQ(f.messages.shown.size(), 1);
    const QString warning = f.messages.shown[0].text;
    EXPECT_TRUE(warning.startsWith("1 of 3 files were converted; these 2 could not be:")) << warning;
    EXPECT_TRUE(warning.contains(inputs[0] + "\n    boom")) << warning;
    EXPECT_TRUE(warning.contains(inputs[2] + "\n    " + CrashReason(9))) << warning;
    EXPECT_TRUE(f.Window().Queue().IsEmpty());
}

TEST_F(SeveralAtOnce, TwoQueuedFilesOfOneTitleGetTwoOutputs)
{
    Convert({"x/clip.mp4", "y/clip.avi"});
    ASSERT_TRUE(f.WaitForBatchEnd());
    EXPECT_EQ(QFileInfo(out + "/clip.wav").size(), 5);
    EXPECT_EQ(QFileInfo(out + "/clip (2).wav").size(), 5);
    EXPECT_TRUE(f.messages.shown.isEmpty()) << f.messages.Texts().join('\n');
}

// The folder box changed while a file converts, to another name of the same folder (a link):
// a file of the same title that starts then still gets an output of its own.
TEST_F(SeveralAtOnce, OneOutputPerFileWhateverTheFolderIsCalled)
{
    QDir().mkpath(out);
    QFile::link(out, f.work.path() + "/link");
    // As the first file starts, the user types the other name of the folder.
    Convert({"slow/clip.mp4", "quick.mp4", "b/clip.mp4"}, [this](frmMain &w) {
        QObject::connect(&w.Queue(), &QueueModel::dataChanged, &w,
                         [this, &w] { w.Ui().txtPath->setText(f.work.path() + "/link"); });
    });
    frmMain &w = f.Window();
    // Only the slow file is left.
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.Queue().Count() == 1; }, 10000));
    QSignalSpy stopped(&w.Batch(), &BatchConverter::BatchStopped);
    w.imgStop_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !stopped.isEmpty(); }, 10000));
    // The stopped file's output went; the other of its title is whole, beside it.
    EXPECT_EQ(QFileInfo(out + "/clip (2).wav").size(), 5);
    EXPECT_FALSE(QFileInfo::exists(out + "/clip.wav"));
}

// A long file beside short ones: the caption names the places of the files converting.
TEST_F(SeveralAtOnce, TheCaptionNamesTheFilesConverting)
{
    Convert({"slow a.mp4", "slow b.mp4", "c.mp4", "d.mp4", "e.mp4"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return Log().contains("start e.mp4"); }, 10000));
    frmMain &w = f.Window();
    EXPECT_TRUE(captions.filter("Files 1\u20133 of 5 \u00b7 ").size() > 0) << captions.join('\n');
    EXPECT_TRUE(captions.filter("Files 1, 2 and 4 of 5 \u00b7 ").size() > 0) << captions.join('\n');
    EXPECT_TRUE(captions.filter("Files 1, 2 and 5 of 5 \u00b7 ").size() > 0) << captions.join('\n');
    // The last file ends with none left to start: the caption drops it all the same.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return w.Queue().Count() == 2 && captions.last().startsWith("Files 1\u20132 of 5 \u00b7 "); },
        10000))
        << captions.join('\n');
    QSignalSpy stopped(&w.Batch(), &BatchConverter::BatchStopped);
    w.imgStop_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !stopped.isEmpty(); }, 10000));
}

// Refused files (their outputs would replace an input) leave the queue and count as done, each
// in its place.
TEST_F(SeveralAtOnce, RefusedFilesCountInTheirPlaces)
{
    Convert({"slow a.mp4", "slow b.mp4", "x/c.mp4", "../out/c.wav", "e.mp4"});
    frmMain &w = f.Window();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return Log().contains("end e.mp4") && w.Queue().Count() == 2; }, 10000));
    EXPECT_TRUE(captions.filter("Files 1, 2 and 5 of 5 \u00b7 ").size() > 0) << captions.join('\n');
    EXPECT_EQ(w.Queue().lstFile(), QStringList({inputs[0], inputs[1]}));
    QSignalSpy stopped(&w.Batch(), &BatchConverter::BatchStopped);
    w.imgStop_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !stopped.isEmpty(); }, 10000));
    ASSERT_EQ(f.messages.shown.size(), 1);
    EXPECT_TRUE(f.messages.shown[0].text.startsWith("1 of 3 files were converted; these 2 could not be:"))
        << f.messages.shown[0].text;
    // Queued again, they would be refused again: no button offers it.
    EXPECT_EQ(f.messages.shown[0].action, "");
}

// A file whose temporary copy failed when it was queued is refused, never converted.
TEST_F(SeveralAtOnce, AFailedCopyIsRefusedNeverConverted)
{
    const QString lost = f.work.path() + "/in/lost.mp4";
    Convert({"a.mp4"}, [&](frmMain &w) {
        w.Queue().Append(
            {{lost, lost, "MP4", "the file could not be copied to a name the converter can read"}});
    });
    ASSERT_TRUE(f.WaitForBatchEnd());
    EXPECT_FALSE(Log().contains("start lost.mp4"));
    EXPECT_EQ(QFileInfo(out + "/a.wav").size(), 5);
    ASSERT_EQ(f.messages.shown.size(), 1);
    EXPECT_TRUE(f.messages.shown[0].text.contains(
        lost + "\n    the file could not be copied to a name the converter can read"));
    EXPECT_EQ(f.messages.shown[0].action, "");
}

// A file queued while fewer files convert than may starts at once, not when one ends.
TEST_F(SeveralAtOnce, AFileQueuedBesideAFreePlaceStartsAtOnce)
{
    Convert({"slow.mp4"});
    ASSERT_TRUE(WaitForStarts(1));
    f.dialogs.files = {PutFile(f.work.path() + "/in/later.mp4")};
    frmMain &w = f.Window();
    w.imgAdd_Click();
    // Converted and done with: it left the queue.
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.Queue().Count() == 1; }, 10000));
    QSignalSpy stopped(&w.Batch(), &BatchConverter::BatchStopped);
    w.imgStop_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !stopped.isEmpty(); }, 10000));
    EXPECT_EQ(QFileInfo(out + "/later.wav").size(), 5); // kept: it was done before Stop
}

// Converters side by side that leave a helper of their own name running: none outlives the
// batch, whether it ends, is stopped or the window closes.
TEST(SideBySide, NoConverterOutlivesTheBatch)
{
    enum class End { Finished, Stopped, Closed };
    for (const End end : {End::Finished, End::Stopped, End::Closed}) {
        SCOPED_TRACE(int(end));
        WindowFixture f;
        f.mostFilesAtOnce = 2;
        f.WriteProgramFile("options.ini", "1\r\n0\r\n0\r\n0\r\n2\r\n");
        f.UseFakeConverter("helper quiet\n"
                           "err size= 1kB time=00:00:01.00 bitrate=1\\n\n"
                           "[slow] sleep 30000\n"
                           "write sound");
        frmMain &w = f.Start();
        w.Ui().txtPath->setText(f.work.path() + "/out");
        for (const char *name : {"a.mp4", end == End::Finished ? "b.mp4" : "slow b.mp4"}) {
            f.dialogs.files = {PutFile(f.work.path() + "/" + name)};
            w.imgAdd_Click();
        }
        QSignalSpy stopped(&w.Batch(), &BatchConverter::BatchStopped);
        w.imgConvert_Click();
        if (end == End::Finished) {
            ASSERT_TRUE(f.WaitForBatchEnd(20000));
        } else {
            ASSERT_TRUE(QTest::qWaitFor([&] { return w.Queue().Count() == 1; }, 10000));
            if (end == End::Stopped) {
                w.imgStop_Click();
                ASSERT_TRUE(QTest::qWaitFor([&] { return !stopped.isEmpty(); }, 10000));
            } else {
                w.close();
            }
        }
        EXPECT_TRUE(QTest::qWaitFor(
            [] { return !platform::IsProcessNameRunning(platform::ConverterProcessName()); }, 3000));
        platform::KillProcessByName(platform::ConverterProcessName());
    }
}

TEST_F(SeveralAtOnce, StopEndsAllAndKeepsEveryFileQueued)
{
    Convert({"slow 1.mp4", "slow 2.mp4", "slow 3.mp4", "after 1.mp4", "after 2.mp4"});
    ASSERT_TRUE(WaitForStarts(kAtOnce));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(out + "/slow 3.wav"); }, 5000));
    frmMain &w = f.Window();
    QSignalSpy stopped(&w.Batch(), &BatchConverter::BatchStopped);
    w.imgStop_Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !stopped.isEmpty(); }, 10000));
    EXPECT_EQ(w.Ui().lblPB->text(), "Stopped.");
    EXPECT_EQ(w.Queue().lstFile(), inputs);
    for (int row = 0; row < w.Queue().Count(); ++row)
        EXPECT_FALSE(w.Queue().IsConverting(row)) << row;
    for (const char *name : {"slow 1", "slow 2", "slow 3"})
        EXPECT_FALSE(QFileInfo::exists(out + "/" + name + ".wav")) << name;
    EXPECT_FALSE(platform::IsProcessNameRunning(platform::ConverterProcessName()));
    EXPECT_EQ(Log().filter("start ").size(), kAtOnce); // nothing else started
    EXPECT_TRUE(f.shell.log.isEmpty());
    EXPECT_TRUE(w.Ui().imgConvert->isEnabled());
}

TEST_F(SeveralAtOnce, AMissingConverterHaltsWithTheQueueWhole)
{
    QFile::remove(::ConverterPath(f.places.programFolder));
    Convert({"a.mp4", "b.mp4", "c.mp4"});
    ASSERT_TRUE(f.WaitForBatchEnd(10000));
    EXPECT_EQ(f.messages.Texts(), QStringList{"File or command not found"});
    EXPECT_EQ(f.Window().Queue().lstFile(), inputs);
    EXPECT_FALSE(f.Window().Queue().IsConverting(0));
    EXPECT_TRUE(f.Window().Ui().imgConvert->isEnabled());
    EXPECT_TRUE(f.shell.log.isEmpty());
}

TEST_F(SeveralAtOnce, ClosingWithThreeRunningLeavesNoCutShortFile)
{
    // The first file ends soon; the third slow one takes its place and its note.
    Convert({"quick.mp4", "slow 1.mp4", "slow 2.mp4", "slow 3.mp4", "after.mp4"});
    ASSERT_TRUE(WaitForStarts(kAtOnce + 1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(out + "/slow 3.wav"); }, 5000));
    // Each file being written has a note of its own, for a start after a crash.
    QStringList noted;
    for (int slot = 0; slot < kAtOnce; ++slot) {
        QFile note(UnfinishedOutput::NoteOf(f.places.unfinishedNote, slot));
        const QList<QByteArray> lines =
            note.open(QIODevice::ReadOnly) ? note.readAll().split('\n') : QList<QByteArray>();
        if (lines.size() > 1)
            noted << QFileInfo(platform::NameFromBytes(QByteArray::fromPercentEncoding(lines[1]))).fileName();
    }
    noted.sort();
    EXPECT_EQ(noted, QStringList({"slow 1.wav", "slow 2.wav", "slow 3.wav"}));
    f.Window().close();
    for (const char *name : {"slow 1", "slow 2", "slow 3"})
        EXPECT_FALSE(QFileInfo::exists(out + "/" + name + ".wav")) << name;
    for (int slot = 0; slot < kAtOnce; ++slot)
        EXPECT_FALSE(QFileInfo::exists(UnfinishedOutput::NoteOf(f.places.unfinishedNote, slot))) << slot;
    EXPECT_FALSE(platform::IsProcessNameRunning(platform::ConverterProcessName()));
    EXPECT_EQ(f.shell.log, QStringList{"end"});
}

} // namespace
