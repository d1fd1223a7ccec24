#include "WindowFakes.h"
#include "ui/HotArea.h"
#include "ui/SkinLayout.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

// Runs with the screen scaled (QT_SCALE_FACTOR, set by the test's registration): the design's
// layout in logical pixels, and the skin drawn for the screen's pixels.
namespace {

TEST(Scale, TheLayoutStaysAndTheOutlineFollows)
{
    WindowFixture f;
    frmMain &w = f.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.Timer2().isActive(); }, 2000));
    ASSERT_GT(w.devicePixelRatio(), 1.0);
    EXPECT_EQ(w.size(), SkinLayout::kWindowSize);
    EXPECT_EQ(w.Ui().imgConvert->geometry(), SkinLayout::kConvert);
    EXPECT_EQ(w.Ui().LV->geometry(), SkinLayout::kList);
    // The cut: the corners outside, the rim and everything within inside, as at 100 %.
    EXPECT_FALSE(w.mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(w.mask().contains(QPoint(2, 100)));
    EXPECT_TRUE(w.mask().contains(QPoint(4, 100)));
    EXPECT_TRUE(w.mask().contains(QPoint(300, 200)));
    EXPECT_FALSE(w.mask().contains(QPoint(695, 494)));
}

TEST(Scale, TheSkinIsDrawnForTheScreensPixels)
{
    if (qgetenv("QT_SCALE_FACTOR") != "2")
        GTEST_SKIP() << "compares with the pictures drawn for 200 %";
    WindowFixture f;
    frmMain &w = f.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.Timer2().isActive(); }, 2000));
    const QImage shot = w.grab().toImage();
    ASSERT_EQ(shot.size(), SkinLayout::kWindowSize * 2);
    QImage art(":/skin/face@2x.png");
    ASSERT_FALSE(art.isNull());
    art = art.convertToFormat(shot.format());
    // The header with the name (bare skin): pixel for pixel the picture drawn at 200 %, never a
    // stretched one.
    const QRect header(0, 0, 2 * 300, 2 * 28);
    EXPECT_EQ(shot.copy(header), art.copy(header));
    // One device pixel from the header's dark band to the light toolbar strip.
    EXPECT_LT(qGray(shot.pixel(400, 99)), 100);
    EXPECT_GT(qGray(shot.pixel(400, 100)), 200);
    // A hot area's hover picture is drawn at 200 % too.
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), w.Ui().imgToolbar[0]->mapToGlobal(QPointF(3, 3)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w.Ui().imgToolbar[0], &move);
    const QImage lit = w.Ui().imgToolbar[0]->grab().toImage();
    QImage hover(":/skin/imgButtonData_0@2x.png");
    EXPECT_EQ(lit, hover.convertToFormat(lit.format()));
}

} // namespace
