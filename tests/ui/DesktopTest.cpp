#include "SessionBusFakes.h"
#include "WindowFakes.h"
#include "platform/SessionBusDesktop.h"
#include "ui/BatchWatch.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Each file reports a length of 10 s and a position at its half; a file named "broken" fails.
const char *const kReportingConverter = "err   Duration: 00:00:10.00, start: 0.000000\\n\n"
                                        "sleep 200\n"
                                        "err size= 1kB time=00:00:05.00 bitrate=1\\n\n"
                                        "sleep 200\n"
                                        "[broken] err boom\\n\n"
                                        "[broken] exit 1\n"
                                        "write sound";

// A batch of three: where it stands in the list's caption, the title and the taskbar entry at
// each file, and the notification at its end while the user looks at another window.
TEST(Desktop, TheBatchIsFollowedOnTheDesktopAndItsEndNotified)
{
    FakeDesktopBus bus;
    ASSERT_TRUE(bus.Ready()) << "the test program runs on a private session bus of its own";
    SessionBusDesktop desktop("brimwave");
    WindowFixture f;
    f.desktop = &desktop;
    f.WriteProgramFile("options.ini", "1\r\n0\r\n0\r\n0\r\n"); // finish sound off
    f.UseFakeConverter(kReportingConverter);
    frmMain &w = f.Start();
    const QString out = f.work.path() + "/out";
    w.Ui().txtPath->setText(out);
    for (const char *name : {"one.mp4", "two.mp4", "broken.mp4"}) {
        f.dialogs.files = {PutFile(f.work.path() + "/" + name)};
        w.imgAdd_Click();
    }
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));

    QStringList captions, titles;
    QList<bool> headMarked;
    QObject::connect(&w.Batch(), &BatchConverter::StandingChanged, [&] {
        captions << (w.Ui().lblBatch->isVisible() ? w.Ui().lblBatch->text() : "<hidden>");
        titles << w.windowTitle();
        headMarked << (w.Queue().IsConverting(0) && !w.Queue().IsConverting(1));
    });
    w.imgConvert_Click();
    ASSERT_TRUE(f.WaitForBatchEnd());
    for (int i = 0; i < 250 && (bus.notifications.isEmpty() || bus.launcherProgress.value(6) != -1); ++i)
        QTest::qWait(20);

    // At each file's start and at its half.
    ASSERT_EQ(captions.size(), 6) << captions.join('\n');
    EXPECT_EQ(captions[0], "File 1 of 3 \u00b7 estimating\u2026");
    for (int i = 1; i < 6; ++i) {
        EXPECT_TRUE(captions[i].startsWith(QString("File %1 of 3 \u00b7 ").arg(i / 2 + 1))) << captions[i];
        EXPECT_TRUE(captions[i].endsWith(" left")) << captions[i];
    }
    EXPECT_EQ(
        titles,
        QStringList({"File 1 of 3 \u00b7 0 % \u2014 Brimwave", "File 1 of 3 \u00b7 16 % \u2014 Brimwave",
                     "File 2 of 3 \u00b7 33 % \u2014 Brimwave", "File 2 of 3 \u00b7 50 % \u2014 Brimwave",
                     "File 3 of 3 \u00b7 66 % \u2014 Brimwave", "File 3 of 3 \u00b7 83 % \u2014 Brimwave"}));
    EXPECT_EQ(headMarked, QList<bool>(6, true));
    const QList<double> shares = {0, 1 / 6.0, 2 / 6.0, 3 / 6.0, 4 / 6.0, 5 / 6.0, -1};
    ASSERT_EQ(bus.launcherProgress.size(), shares.size());
    for (int i = 0; i < shares.size(); ++i)
        EXPECT_NEAR(bus.launcherProgress[i], shares[i], 1e-9) << i;
    EXPECT_EQ(bus.launcherApps.value(0), "application://brimwave.desktop");
    // After the batch: the window's own title and the line the skin draws under the heading.
    EXPECT_EQ(w.windowTitle(), "Brimwave");
    EXPECT_FALSE(w.Ui().lblBatch->isVisible());

    EXPECT_EQ(BatchWatch::EndSummary(5, 0), "5 files converted");
    EXPECT_EQ(BatchWatch::EndSummary(1, 0), "1 file converted");
    ASSERT_EQ(bus.notifications.size(), 1);
    EXPECT_EQ(bus.notifications[0].appName, "Brimwave");
    EXPECT_EQ(bus.notifications[0].summary, "2 converted, 1 failed");
    EXPECT_EQ(bus.notifications[0].body, out);
    EXPECT_TRUE(bus.notifications[0].actions.contains("default"));
    EXPECT_EQ(f.shell.log, QStringList{"open " + out});
    // The notification's action opens the output folder.
    bus.InvokeAction(41, "default");
    for (int i = 0; i < 250 && f.shell.log.size() < 2; ++i)
        QTest::qWait(20);
    EXPECT_EQ(f.shell.log, QStringList({"open " + out, "open " + out}));
}

} // namespace
