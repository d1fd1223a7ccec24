#include "TestSupport.h"
#include "engine/ConverterCommand.h"
#include "engine/DOSOutputs.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace {

constexpr int kClipSeconds = 4;

class RealConversion : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_work = new QTemporaryDir;
        s_clip = Native(s_work->path() + "/clip one.mp4"); // as the queue holds it
        ASSERT_TRUE(MakeTestClip(s_clip, kClipSeconds));
    }
    static void TearDownTestSuite() { delete s_work; }

    // Converts the clip through the runner with the converter beside the test program.
    AudioProbe Convert(const ConversionChoices &choices, QString *outputPath)
    {
        const ConverterCommand cmd =
            BuildConverterCommand(QCoreApplication::applicationDirPath(), s_clip, choices);
        RecordingMessages messages;
        DOSOutputs dos(messages, ConverterPath(QCoreApplication::applicationDirPath()));
        int overs = 0;
        QObject::connect(&dos, &DOSOutputs::CommandOver, [&] { ++overs; });
        dos.ExecuteCommand(cmd.commandLine);
        EXPECT_TRUE(messages.shown.isEmpty());
        EXPECT_EQ(overs, 1);
        EXPECT_EQ(dos.LastEnd().exitCode, 0) << dos.Outputs().right(500).toStdString();
        *outputPath = cmd.outputPath;
        return ProbeAudio(cmd.outputPath);
    }

    static QTemporaryDir *s_work;
    static QString s_clip;
};
QTemporaryDir *RealConversion::s_work = nullptr;
QString RealConversion::s_clip;

TEST_F(RealConversion, EveryFormatWithAndWithoutTheCutter)
{
    struct Expect
    {
        OutputFormat format;
        const char *codec;
        int sampleRate; // 0: the converter's choice
        int channels;   // 0: the converter's choice
    } formats[] = {
        {OutputFormat::MP3, "mp3", 22050, 1}, {OutputFormat::WMA, "wmav1", 0, 0},
        {OutputFormat::OGG, "vorbis", 0, 2},  {OutputFormat::WAV, "pcm_s16le", 0, 0},
        {OutputFormat::FLAC, "flac", 0, 0},   {OutputFormat::AC3, "ac3", 0, 0},
        {OutputFormat::AAC, "aac", 0, 0},     {OutputFormat::AMR, "amr_nb", 8000, 1},
    };
    for (const Expect &e : formats) {
        for (const bool cut : {false, true}) {
            SCOPED_TRACE(testing::Message() << "format " << int(e.format) << " cut " << cut);
            ConversionChoices choices;
            choices.formatIndex = int(e.format);
            choices.bitrateText = "64";
            choices.sampleRateText = "22050";
            choices.channelIndex = 0;
            choices.outputFolder = Native(s_work->path() + "/out put");
            QDir().mkpath(choices.outputFolder);
            choices.cutter.CutterEnabled = cut ? 1 : 0;
            choices.cutter.CutStartSeconds = 1;
            choices.cutter.CutLengthSeconds = 2;
            QString output;
            const AudioProbe probe = Convert(choices, &output);
            EXPECT_EQ(QFileInfo(output).fileName(), "clip one" + OutputExtension(e.format));
            EXPECT_EQ(probe.codec, e.codec);
            if (e.sampleRate) {
                EXPECT_EQ(probe.sampleRate, e.sampleRate);
            }
            if (e.channels) {
                EXPECT_EQ(probe.channels, e.channels);
            }
            EXPECT_NEAR(probe.seconds, cut ? 2.0 : double(kClipSeconds), 0.15);
        }
    }
}

TEST_F(RealConversion, Mp3TakesThePickedBitrateRateAndChannels)
{
    ConversionChoices choices;
    choices.formatIndex = int(OutputFormat::MP3);
    choices.bitrateText = "192";
    choices.sampleRateText = "44100";
    choices.channelIndex = 1;
    choices.outputFolder = Native(s_work->path());
    QString output;
    const AudioProbe probe = Convert(choices, &output);
    EXPECT_EQ(probe.codec, "mp3");
    EXPECT_EQ(probe.sampleRate, 44100);
    EXPECT_EQ(probe.channels, 2);
    EXPECT_EQ(probe.bitrate, 192000);
}

} // namespace
