#include "engine/BatchStanding.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(BatchStanding, TimeLeftReadsAsAPersonWouldSayIt)
{
    const struct
    {
        qint64 seconds;
        const char *text;
    } cases[] = {
        {0, "a few seconds left"}, {9, "a few seconds left"}, {10, "about 10 s left"},
        {42, "about 40 s left"},   {57, "about 55 s left"},   {58, "about 1 min left"},
        {89, "about 1 min left"},  {90, "about 2 min left"},  {180, "about 3 min left"},
        {3599, "about 1 h left"},  {3600, "about 1 h left"},  {3900, "about 1 h 5 min left"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TimeLeftText(c.seconds), QString(c.text)) << c.seconds;
}

// A batch of files 10 s long, converted at 5 media seconds per second, seen at moments of its run.
TEST(BatchStanding, TheCaptionAndTitleFollowTheBatch)
{
    const struct
    {
        int filesDone;
        int filesLeft;
        qint64 position;
        qint64 length;
        qint64 nowMs;
        const char *caption;
        const char *title;
    } cases[] = {
        // Nothing converted yet: no estimate.
        {0, 3, 0, 0, 0, "File 1 of 3 \u00b7 estimating\u2026", "File 1 of 3 \u00b7 0 % \u2014 Brimwave"},
        {0, 3, 0, 10, 300, "File 1 of 3 \u00b7 estimating\u2026", "File 1 of 3 \u00b7 0 % \u2014 Brimwave"},
        // 5 of 30 s in 1 s: 25 s left at 5 per second.
        {0, 3, 5, 10, 1000, "File 1 of 3 \u00b7 a few seconds left",
         "File 1 of 3 \u00b7 16 % \u2014 Brimwave"},
        // 15 of 30 s in 3 s: 15 s left.
        {1, 2, 5, 10, 3000, "File 2 of 3 \u00b7 a few seconds left",
         "File 2 of 3 \u00b7 50 % \u2014 Brimwave"},
        // Slow: 15 of 30 s in 60 s, so 60 s more.
        {1, 2, 5, 10, 60000, "File 2 of 3 \u00b7 about 1 min left",
         "File 2 of 3 \u00b7 50 % \u2014 Brimwave"},
        // 45 files left at the average length: 445 s more at a quarter per second.
        {1, 45, 5, 10, 60000, "File 2 of 46 \u00b7 about 30 min left",
         "File 2 of 46 \u00b7 3 % \u2014 Brimwave"},
        // The end of the last file is not yet the end of the batch.
        {2, 1, 10, 10, 6000, "File 3 of 3 \u00b7 a few seconds left",
         "File 3 of 3 \u00b7 99 % \u2014 Brimwave"},
    };
    for (const auto &c : cases) {
        BatchClock clock;
        clock.Start(0);
        for (int i = 0; i < c.filesDone; ++i)
            clock.FileEnded(10);
        const BatchStanding standing = clock.Standing(c.filesLeft, c.position, c.length, c.nowMs);
        EXPECT_EQ(StandingCaption(standing), QString(c.caption)) << c.caption;
        EXPECT_EQ(StandingTitle(standing, "Brimwave"), QString(c.title)) << c.title;
    }
    // Files whose length never came count as done, not as lengths.
    BatchClock clock;
    clock.Start(0);
    clock.FileEnded(0);
    EXPECT_EQ(StandingCaption(clock.Standing(1, 0, 0, 5000)), "File 2 of 2 \u00b7 estimating\u2026");
    // Several at once: the places of the files being converted, as they are.
    const struct
    {
        QList<int> files;
        const char *caption;
    } places[] = {
        {{3, 4}, "Files 3\u20134 of 33 \u00b7 about 2 min left"},
        {{3, 4, 5}, "Files 3\u20135 of 33 \u00b7 about 2 min left"},
        {{5, 10}, "Files 5 and 10 of 33 \u00b7 about 2 min left"},
        {{2, 5, 10}, "Files 2, 5 and 10 of 33 \u00b7 about 2 min left"},
    };
    for (const auto &place : places)
        EXPECT_EQ(StandingCaption(BatchStanding{place.files, 33, 0.3, 100}), QString(place.caption));
    // A long file 5 beside short ones: 6 to 9 done, 5 and 10 converting.
    BatchClock aside;
    aside.Start(0);
    for (int i = 0; i < 10; ++i)
        aside.TakeNumber();
    for (int i = 0; i < 8; ++i)
        aside.FileEnded(10);
    const BatchStanding apart = aside.Standing(23, {{1, 100, 10}, {1, 10, 5}}, 1000);
    EXPECT_EQ(apart.files, QList<int>({5, 10}));
    EXPECT_EQ(apart.fileCount, 33);
    // A position past the length the converter reported counts as the whole file.
    BatchClock past;
    past.Start(0);
    const BatchStanding over = past.Standing(1, {{30, 10, 1}}, 10000);
    EXPECT_NEAR(over.share, 0.5, 1e-12);
    ASSERT_TRUE(over.secondsLeft.has_value());
    EXPECT_GE(*over.secondsLeft, 0);
    // Two files side by side, halfway each, after two of 10 s, in 20 s: 30 s of 80 converted,
    // so 50 s more at 1.5 per second.
    BatchClock two;
    two.Start(0);
    two.FileEnded(10);
    two.FileEnded(10);
    const BatchStanding standing = two.Standing(4, {{5, 10}, {5, 10}}, 20000);
    EXPECT_EQ(StandingCaption(standing), "Files 3\u20134 of 8 \u00b7 about 35 s left");
    EXPECT_NEAR(standing.share, 3.0 / 8, 1e-12);
}

} // namespace
