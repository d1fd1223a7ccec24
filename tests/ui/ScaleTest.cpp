#include "WindowFakes.h"
#include "ui/HotArea.h"
#include "ui/SkinLayout.h"
#include "ui/frmOptions.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

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

// Device pixels per design pixel of `image`, as a whole count for the tolerances below.
int Ratio(const QImage &image)
{
    return qCeil(image.devicePixelRatio());
}

// The options dialog as drawn: "100" hours and "59" minutes or seconds fit their fields in one
// font with room beside the border, the check box is whole around its mark, and OK sits 12 pixels
// above the frame's bottom line (as far as the labels are from its left one), drawn exactly where
// it is clicked.
TEST(Scale, TheOptionsDialogIsDrawnInItsPlaces)
{
    QTemporaryDir folder;
    CutterOptions cutter{0, 1, 360000, 360000};
    RecordingMessages messages;
    frmOptions d(cutter, folder.filePath("options.ini"), messages);
    d.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !d.Timer1().isActive(); }, 2000));
    const std::pair<QLineEdit *, const char *> fields[] = {{d.txtFromH(), "100"}, {d.txtFromM(), "59"},
                                                           {d.txtFromS(), "59"},  {d.txtToH(), "100"},
                                                           {d.txtToM(), "59"},    {d.txtToS(), "59"}};
    for (const auto &[field, text] : fields) {
        SCOPED_TRACE(field->accessibleName().toStdString());
        field->setText(text);
        field->setCursorPosition(0);
        EXPECT_EQ(field->font().toString(), d.txtFromS()->font().toString());
        const QImage shot = field->grab().toImage();
        int left = shot.width(), right = -1;
        for (int x = 0; x < shot.width(); ++x)
            for (int y = 0; y < shot.height(); ++y)
                if (qGray(shot.pixel(x, y)) < 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        ASSERT_GE(right, 0) << "no text drawn";
        // The border's pixel and at least two more on each side.
        EXPECT_GE(left, 3 * Ratio(shot));
        EXPECT_LE(right, shot.width() - 1 - 3 * Ratio(shot));
    }

    const QImage box = d.chkMC()->grab().toImage();
    ASSERT_EQ(d.chkMC()->checkState(), Qt::Checked);
    const int w = box.width(), h = box.height();
    const auto near = [](QRgb a, QRgb b) {
        return std::abs(qGray(a) - qGray(b)) < 40;
    };
    EXPECT_TRUE(near(box.pixel(w - 1, h / 2), box.pixel(0, h / 2))) << "right edge unlike the left one";
    EXPECT_TRUE(near(box.pixel(w / 2, h - 1), box.pixel(w / 2, 0))) << "bottom edge unlike the top one";
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) {
            if (x < Ratio(box) || y < Ratio(box) || x >= w - Ratio(box) || y >= h - Ratio(box)) {
                EXPECT_GE(qGray(box.pixel(x, y)), 100)
                    << "the mark reaches the box's edge at " << x << "," << y;
            }
        }
    }

    const QImage shot = d.grab().toImage();
    const qreal r = shot.devicePixelRatio();
    // Left of the caption, clear of the rounded corners.
    const int column = qRound((SkinLayout::Options::kOK.left() + 8) * r);
    const QRgb body = shot.pixel(column, qRound((SkinLayout::Options::kOK.top() - 2) * r));
    int top = -1, bottom = -1;
    for (int y = 0; y < shot.height(); ++y)
        if (!near(shot.pixel(column, y), body) && qGray(shot.pixel(column, y)) < 200 &&
            y > (SkinLayout::Options::kFilesPicker.bottom() + 1) * r) {
            if (top < 0)
                top = y;
            bottom = y;
            if (y + 1 < shot.height() && near(shot.pixel(column, y + 1), body))
                break;
        }
    // Exact at whole ratios; a fractional one may round either way.
    const int slack = r == qRound(r) ? 0 : 1;
    EXPECT_NEAR(top, SkinLayout::Options::kOK.top() * r, slack);
    EXPECT_NEAR(bottom + 1, (SkinLayout::Options::kOK.bottom() + 1) * r, slack);
    EXPECT_NEAR(bottom + 1, (SkinLayout::Options::kWindowSize.height() - 1 - 12) * r, slack);
}

} // namespace
