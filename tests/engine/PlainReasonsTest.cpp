#include "engine/PlainReasons.h"
#include "engine/ConversionFailure.h"

#include <gtest/gtest.h>

namespace {

// The converter's last line, as it prints it, and what the failure warning says instead.
TEST(PlainReasons, TheCommonestFailuresReadAsAPersonWouldSayThem)
{
    const QString input = "/videos/clip.mp4";
    const QString output = "/music/clip.mp3";
    const struct
    {
        const char *line;
        const char *plain;
    } cases[] = {
        {"/videos/clip.mp4: Invalid data found when processing input", "is not an audio or video file"},
        {"Output file #0 does not contain any stream", "has no sound track"},
        {"Output file does not contain any stream", "has no sound track"},
        {"Stream map '0:a' matches no streams.", "has no sound track"},
        {"/videos/clip.mp4: Permission denied", "cannot be read: permission denied"},
        {"/music/clip.mp3: Permission denied", "the output folder cannot be written: permission denied"},
        {"/music/clip.mp3: Operation not permitted",
         "the output folder cannot be written: permission denied"},
        {"av_interleaved_write_frame(): No space left on device", "the output folder's disk is full"},
        {"Error writing trailer of /music/clip.mp3: No space left on device",
         "the output folder's disk is full"},
        {"/music/clip.mp3: No such file or directory", "the output folder is gone"},
        {"/videos/clip.mp4: No such file or directory", "cannot be found"},
        // Anything else keeps the converter's own words.
        {"Error while decoding stream #0:1: Invalid argument", ""},
        {"Conversion failed!", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PlainReason(c.line, input, output), QString(c.plain)) << c.line;
    // An input without an extension beside its output: the output's path holds the input's.
    EXPECT_EQ(PlainReason("/videos/clip.mp3: Permission denied", "/videos/clip", "/videos/clip.mp3"),
              "the output folder cannot be written: permission denied");
}

// A failed converter's words, read line by line back from the end: lines end at a carriage
// return (the progress line) as at a line feed, and empty lines are passed over.
TEST(ConversionFailure, TheLastWordsAndTheReasonComeFromTheLastLines)
{
    const DOSOutputs::ChildEnd failed{DOSOutputs::ChildEnd::Kind::Exited, 1, 0};
    const struct
    {
        const char *outputs;
        const char *reason;
        const char *line;
    } cases[] = {
        {"size=1kB time=00:00:01.00\rError while decoding\r\n\r\n", "Error while decoding", ""},
        {"a\nsize=1kB time=00:00:01.00\rConversion failed!", "Conversion failed!", ""},
        {"/in.mp4: Permission denied\rtime=00:00:01.00\rConversion failed!\n",
         "cannot be read: permission denied", "/in.mp4: Permission denied"},
        {"  \n\r\n", "the converter failed without a word", ""},
    };
    for (const auto &c : cases) {
        const ConversionVerdict verdict = ConversionFailure(failed, c.outputs, {}, 0, "/in.mp4", "/out.mp3");
        EXPECT_EQ(verdict.reason, QString(c.reason)) << c.outputs;
        EXPECT_EQ(verdict.converterLine, QString(c.line)) << c.outputs;
    }
}

} // namespace
