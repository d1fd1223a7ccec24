#include "engine/ConversionProgress.h"
#include "queue/QueueModel.h"

#include <gtest/gtest.h>

namespace {

const CutterOptions kNoCutter;

CutterOptions Cutter(qint32 length)
{
    CutterOptions c;
    c.CutterEnabled = 1;
    c.CutLengthSeconds = length;
    return c;
}

TEST(Progress, LabelsAndBarShare)
{
    struct Case
    {
        qint64 position, total;
        const char *label;
        double share;
    } cases[] = {
        {1, 2, "50%", 0.5},
        {123456, 1000000, "12.3%", 0.123456},
        {1, 3, "33.3%", 1.0 / 3},
        {7, 100, "7%", 0.07},
        {123, 10000, "1.23%", 0.0123},
        {1234, 1000000, "0.12%", 0.001234},
        {1, 1000000000, "0.00%", 1e-9}, // a plain decimal, never an exponent
        {0, 100, "0%", 0},
        {100, 100, "100%", 1},
        {206, 205, "100%", 1},
        {5, 0, "100%", 1},
        {-3, 100, "0%", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.label);
        const ProgressDisplay d = ProgressFor(c.position, c.total);
        EXPECT_EQ(d.label, QString::fromLatin1(c.label));
        EXPECT_NEAR(d.barShare, c.share, 1e-12);
    }
    // A whole batch's share reads the same way.
    const std::pair<double, const char *> shares[] = {{1.0 / 3, "33.3%"}, {1.5, "100%"}, {-0.1, "0%"}};
    for (const auto &[share, label] : shares) {
        EXPECT_EQ(ShareDisplay(share).label, QString::fromLatin1(label)) << share;
        EXPECT_NEAR(ShareDisplay(share).barShare, std::clamp(share, 0.0, 1.0), 1e-12) << share;
    }
}

TEST(Progress, ClockText)
{
    const std::pair<const char *, std::optional<qint64>> cases[] = {
        {"00:03:25.34,", 205},
        {"00:03:25.34", 205},
        {"01:00:00.00", 3600},
        {"00:00:02.50", 2},
        {"00:00:03.50", 4},
        {"00:00:00.40", 0},
        {"N/A", std::nullopt},
        {"00:01", std::nullopt},
        {"00:x:01", std::nullopt},
        {"00:00:01.5:7", 2},
        // Not progress: an exponent, words or a number too long to be a clock (a file name can
        // look like a field), and no value out of range either.
        {"9e99:0:0", std::nullopt},
        {"inf:0:0", std::nullopt},
        {"0:nan:0", std::nullopt},
        {"99999999999999999999:0:0", std::nullopt},
        {"0x10:0:0", std::nullopt},
        {" 1:0:0", std::nullopt},
        {"-00:00:00.02", 0},
    };
    for (const auto &[text, seconds] : cases)
        EXPECT_EQ(ParseClockSeconds(QString::fromLatin1(text)), seconds) << text;
}

TEST(Progress, ChunksToDisplay)
{
    ConversionProgress p;
    EXPECT_EQ(p.ReceiveOutputs("ffmpeg version 5.1 Copyright", kNoCutter), std::nullopt);
    EXPECT_EQ(p.TotalSeconds(), 0);
    // Duration and progress in one chunk: both used in the same call.
    auto d = p.ReceiveOutputs("  Duration: 00:03:20.00, start: 0.0\nsize= 1kB time=00:00:50.00 bitrate=",
                              kNoCutter);
    EXPECT_EQ(p.TotalSeconds(), 200);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->label, "25%");
    // Several progress fields: the first counts. The total is set only once per file.
    d = p.ReceiveOutputs("Duration: 00:00:10.00, time=00:00:20.00 x time=00:02:00.00 ", kNoCutter);
    EXPECT_EQ(p.TotalSeconds(), 200);
    EXPECT_EQ(d->label, "10%");
    d = p.ReceiveOutputs("time=N/A bitrate=N/A", kNoCutter);
    EXPECT_EQ(d->label, "0%");
    d = p.ReceiveOutputs("time=00:03:25.60 ", kNoCutter);
    EXPECT_EQ(d->label, "100%");
}

TEST(Progress, UnknownOrCutTotals)
{
    ConversionProgress p;
    auto d = p.ReceiveOutputs("Duration: 00:00:00.40, start time=00:00:00.20 ", kNoCutter);
    EXPECT_EQ(p.TotalSeconds(), 0);
    EXPECT_EQ(d->label, "100%");

    ConversionProgress cut;
    d = cut.ReceiveOutputs("Duration: 00:10:00.00, start time=00:00:15.00 ", Cutter(45));
    EXPECT_EQ(cut.TotalSeconds(), 45); // relative to the cut, not the file
    EXPECT_EQ(d->label, "33.3%");

    ConversionProgress zero;
    d = zero.ReceiveOutputs("time=00:00:01.00 ", Cutter(0));
    EXPECT_EQ(d->label, "100%");
    d = zero.ReceiveOutputs("time=00:00:00.00 ", Cutter(0));
    EXPECT_EQ(d->label, "100%");
}

TEST(Progress, AnyPositionPastTheStartMeansSoundCameOut)
{
    ConversionProgress p;
    p.ReceiveOutputs("Duration: 00:02:20.00, size= 0kB time=00:00:00.00 bitrate=N/A ", Cutter(45));
    EXPECT_FALSE(p.ReachedPastStart());
    // The converter's first and last progress lines, read together: the first is shown, the
    // last tells that sound came out.
    const auto d = p.ReceiveOutputs("time=00:00:00.00 x\rsize= 7752kB time=00:00:45.00 bitrate=", Cutter(45));
    EXPECT_EQ(d->label, "0%");
    EXPECT_TRUE(p.ReachedPastStart());
}

TEST(Progress, CommandOverTakesTheHeadOffAndForgetsTheTotal)
{
    QueueModel queue;
    queue.Append({{"/a.mp4", "/a.mp4", "MP4", {}}, {"/b.avi", "/b.avi", "AVI", {}}});
    ConversionProgress p;
    p.ReceiveOutputs("Duration: 00:00:10.00, time=00:00:0", kNoCutter);
    p.CommandOver(queue);
    EXPECT_EQ(queue.lstFile(), QStringList{"/b.avi"});
    EXPECT_EQ(p.TotalSeconds(), 0);
    // Nothing of the ended file's unfinished text carries into the next file.
    EXPECT_EQ(p.ReceiveOutputs("5.00 bitrate", kNoCutter), std::nullopt);
}

// Real converter output, cut in two at every position: the total and the last progress must
// come out as if it had arrived whole.
TEST(Progress, FieldCutByAReadBoundaryIsStillFound)
{
    const QString output =
        QStringLiteral("Input #0, mov,mp4,m4a,3gp,3g2,mj2, from 'clip.mp4':\n"
                       "  Duration: 00:03:20.00, start: 0.000000, bitrate: 146 kb/s\n"
                       "  Stream #0:0[0x1](und): Audio: aac (LC), 48000 Hz, stereo, fltp, 128 kb/s\n"
                       "size=     512kB time=00:00:50.00 bitrate= 83.9kbits/s speed=  50x    \r"
                       "size=    1024kB time=00:01:40.00 bitrate= 83.9kbits/s speed=  50x    \r");
    for (qsizetype cut = 1; cut < output.size(); ++cut) {
        SCOPED_TRACE(cut);
        ConversionProgress p;
        std::optional<ProgressDisplay> last;
        for (const QString &chunk : {output.left(cut), output.mid(cut)}) {
            if (auto d = p.ReceiveOutputs(chunk, kNoCutter))
                last = d;
        }
        EXPECT_EQ(p.TotalSeconds(), 200);
        ASSERT_TRUE(last);
        // The second chunk's first field is the last progress, or the cut one it completes.
        EXPECT_TRUE(last->label == "50%" || last->label == "25%") << last->label.toStdString();
    }
}

TEST(Progress, CutDurationWaitsForItsRest)
{
    ConversionProgress p;
    EXPECT_EQ(p.ReceiveOutputs("  Duration: 00:03:2", kNoCutter), std::nullopt);
    EXPECT_EQ(p.TotalSeconds(), 0); // not 182
    p.ReceiveOutputs("0.00, start: 0.0", kNoCutter);
    EXPECT_EQ(p.TotalSeconds(), 200);
    auto d = p.ReceiveOutputs("size= 1kB ti", kNoCutter);
    EXPECT_EQ(d, std::nullopt);
    d = p.ReceiveOutputs("me=00:01:40.00 bitrate", kNoCutter);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->label, "50%");
}

} // namespace
