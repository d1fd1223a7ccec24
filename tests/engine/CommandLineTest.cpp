#include "TestSupport.h"
#include "engine/CommandLineSplitter.h"
#include "engine/ConverterCommand.h"
#include "platform/ProcessList.h"
#include "queue/CodePage.h"
#include "settings/OutputPickers.h"

#include <gtest/gtest.h>

namespace {

// A command line or path written as on Linux, as this system writes it: its separators, and its
// converter's file name (conv.exe on Windows).
QString Sys(const QString &text)
{
    return Native(text).replace(Native("/data/conv"), Native("/data/") + platform::ConverterProcessName());
}

const QString kProgram = Sys("/opt/Apps/Conv");
const QString kHead = Sys("/opt/Apps/Conv/data/conv -threads 1 -i \"/home/v/clip.mp4\"");

ConversionChoices Choices(int format, bool cutter)
{
    ConversionChoices c;
    c.formatIndex = format;
    c.bitrateText = QStringLiteral("192");
    c.sampleRateText = QStringLiteral("44100");
    c.channelIndex = 1;
    c.outputFolder = Sys("/home/u/output");
    c.cutter.CutterEnabled = cutter ? 1 : 0;
    c.cutter.CutStartSeconds = 90;
    c.cutter.CutLengthSeconds = 30;
    return c;
}

struct FormatRow
{
    int index;
    const char *tail;
};

const FormatRow kFormats[] = {
    {0, " -y -vn -ab 192k -ar 44100 -ac 2 \"/home/u/output/clip.mp3\""},
    {1, " -y -vn -acodec wmav1 \"/home/u/output/clip.wma\""},
    {2, " -y -vn -ac 2 \"/home/u/output/clip.ogg\""},
    {3, " -y -vn -acodec pcm_s16le \"/home/u/output/clip.wav\""},
    {4, " -y -vn \"/home/u/output/clip.flac\""},
    {5, " -y -vn \"/home/u/output/clip.ac3\""},
    {6, " -y -vn \"/home/u/output/clip.aac\""},
    {7, " -y -vn -ar 8000 -ab 7.4k -ac 1 \"/home/u/output/clip.amr\""},
};

TEST(CommandLine, SixteenLinesWithAndWithoutCutter)
{
    ASSERT_EQ(std::size(kFormats), size_t(kOutputFormatCount)); // every format has its line
    for (const FormatRow &row : kFormats) {
        for (const bool cutter : {false, true}) {
            SCOPED_TRACE(testing::Message() << "format " << row.index << " cutter " << cutter);
            const ConverterCommand cmd =
                BuildConverterCommand(kProgram, Sys("/home/v/clip.mp4"), Choices(row.index, cutter));
            const QString middle = cutter ? QStringLiteral(" -ss 90 -t 30") : QString();
            EXPECT_EQ(cmd.commandLine, kHead + middle + Sys(QString::fromLatin1(row.tail)));
            EXPECT_TRUE(Sys(QString::fromLatin1(row.tail)).contains(cmd.outputPath));
        }
    }
}

TEST(CommandLine, WorkedExample)
{
    const ConverterCommand cmd = BuildConverterCommand(kProgram, Sys("/home/v/clip.mp4"), Choices(0, true));
    EXPECT_EQ(cmd.commandLine, Sys("/opt/Apps/Conv/data/conv -threads 1 -i \"/home/v/clip.mp4\" -ss 90 "
                                   "-t 30 -y -vn -ab 192k -ar 44100 -ac 2 \"/home/u/output/clip.mp3\""));
    EXPECT_EQ(cmd.outputPath, Sys("/home/u/output/clip.mp3"));
}

// The format picker lists the engine's formats in the engine's order: the picked row is the
// format converted to.
TEST(CommandLine, TheFormatPickerFollowsTheEnginesFormats)
{
    const QStringList items = OutputPickers::FormatItems();
    ASSERT_EQ(items.size(), kOutputFormatCount);
    for (int i = 0; i < items.size(); ++i)
        EXPECT_EQ("." + items[i].toLower(), OutputExtension(OutputFormat(i))) << i;
}

TEST(CommandLine, Mp3PickersAndCutterValues)
{
    ConversionChoices c = Choices(0, true);
    c.bitrateText = QStringLiteral("32");
    c.sampleRateText = QStringLiteral("8000");
    c.channelIndex = 0;
    c.cutter.CutStartSeconds = 0;
    c.cutter.CutLengthSeconds = 0;
    EXPECT_EQ(BuildConverterCommand(kProgram, Sys("/v/a.avi"), c).commandLine,
              Sys("/opt/Apps/Conv/data/conv -threads 1 -i \"/v/a.avi\" -ss 0 -t 0 -y -vn -ab 32k -ar 8000 "
                  "-ac 1 \"/home/u/output/a.mp3\""));
    c.channelIndex = -1; // nothing selected gives channel count 0
    EXPECT_TRUE(
        BuildConverterCommand(kProgram, QStringLiteral("/v/a.avi"), c).commandLine.contains(" -ac 0 "));
}

TEST(CommandLine, UnknownFormatGivesEmptyLine)
{
    for (const int index : {-1, kOutputFormatCount, 100})
        EXPECT_TRUE(BuildConverterCommand(kProgram, QStringLiteral("/v/a.mp4"), Choices(index, false))
                        .commandLine.isEmpty());
}

TEST(CommandLine, OutputNamesAndFolders)
{
    struct Case
    {
        const char *program;
        const char *input;
        const char *folder;
        const char *converter;
        const char *output;
    } cases[] = {
        {"/opt/c", "/v/archive.tar.gz", "/out", "/opt/c/data/conv", "/out/archive.tar.mp3"},
        {"/opt/c", "/v/notes", "/out", "/opt/c/data/conv", "/out/.mp3"},
        {"/opt/c", "/v/.hidden", "/out", "/opt/c/data/conv", "/out/.mp3"},
        {"/opt/c", "/my.dir/take1", "/out", "/opt/c/data/conv", "/out/.mp3"},
        {"/opt/c", "/v/clip.final.mp4", "/out/", "/opt/c/data/conv", "/out/clip.final.mp3"},
        {"/opt/c", "/v/clip.mp4", "", "/opt/c/data/conv", "/clip.mp3"},
        {"/", "/v/clip.mp4", "/out", "//data/conv", "/out/clip.mp3"},
        {"/opt/c/", "/v/clip.mp4", "/out", "/opt/c//data/conv", "/out/clip.mp3"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.input);
        ConversionChoices choices = Choices(0, false);
        choices.outputFolder = Sys(c.folder);
        const ConverterCommand cmd = BuildConverterCommand(Sys(c.program), Sys(c.input), choices);
        EXPECT_EQ(cmd.outputPath, Sys(c.output));
        EXPECT_TRUE(cmd.commandLine.startsWith(Sys(c.converter) + " -threads 1 -i "));
        EXPECT_TRUE(cmd.commandLine.endsWith('"' + Sys(c.output) + '"'));
    }
    // Same base name from different folders and extensions: the same output, the later overwrites.
    const ConversionChoices c = Choices(1, false);
    EXPECT_EQ(BuildConverterCommand(kProgram, Sys("/a/clip.mp4"), c).outputPath,
              BuildConverterCommand(kProgram, Sys("/b/clip.avi"), c).outputPath);
}

TEST(CommandLine, QuoteInAnyNameCannotEndItsPiece)
{
    ConversionChoices c = Choices(3, false);
    c.outputFolder = Sys("/tmp/a\" -f mp4 \"/tmp/b");
    const ConverterCommand cmd = BuildConverterCommand(kProgram, Sys("/v/x\" -i \"y.mp4"), c);
    const SplitCommandLine split =
        SplitConverterCommandLine(cmd.commandLine, Sys("/opt/Apps/Conv/data/conv"));
    ASSERT_EQ(split.arguments.size(), 9);
    EXPECT_EQ(split.arguments[3].text, Sys("/v/x? -i ?y.mp4"));
    EXPECT_EQ(split.arguments.last().text, Sys("/tmp/a? -f mp4 ?/tmp/b/x? -i ?y.wav"));
}

TEST(CommandLineSplitter, GivesBackThePiecesItWasBuiltFrom)
{
    const QString program = QStringLiteral("/opt/my apps/conv dir/data/conv");
    const QStringList names = {
        QStringLiteral("/v/plain.mp4"),
        QStringLiteral("/v/with space/a b.mp4"),
        QStringLiteral("/v/-y.mp4"),
        QStringLiteral("/v/$HOME `id` ;|&.mp4"),
        QStringLiteral("/v/line\nbreak.mp4"),
        QStringLiteral("/v/caf\u00e9 \u65e5\u672c.mp4"),
        QStringLiteral("/v/  two  spaces  .mp4"),
    };
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString line = program + " -threads 1 -i \"" + name + "\" -ss 5 -t 6 -y -vn \"/out dir/x.mp3\"";
        const SplitCommandLine split = SplitConverterCommandLine(line, program);
        EXPECT_EQ(split.program, program);
        QStringList texts;
        for (const CommandLinePiece &piece : split.arguments)
            texts << piece.text;
        EXPECT_EQ(texts, QStringList({"-threads", "1", "-i", name, "-ss", "5", "-t", "6", "-y", "-vn",
                                      "/out dir/x.mp3"}));
        EXPECT_EQ(ConverterArgv(split).mid(1), texts);
    }
}

TEST(CommandLineSplitter, TheConverterIsExactlyTheGivenPath)
{
    const QString converter = "/opt/p q/data/conv";
    const SplitCommandLine split =
        SplitConverterCommandLine(converter + " -threads 1 -i \"/a.mp4\"", converter);
    EXPECT_EQ(split.program, converter);
    EXPECT_EQ(split.arguments.size(), 4);
    // The path must stand whole: a longer first word is not the converter.
    EXPECT_EQ(SplitConverterCommandLine(converter + "x -i", converter).program, "/opt/p");
}

TEST(CommandLineSplitter, ProgramFallbackAndRelativeFileNames)
{
    const QString none;
    SplitCommandLine split =
        SplitConverterCommandLine(QStringLiteral("/missing/conv -i \"a.mp4\" \"-x/b.mp3\""), none);
    EXPECT_EQ(split.program, QStringLiteral("/missing/conv"));
    // A relative file name is still a file: it cannot turn into an option or a protocol.
    EXPECT_EQ(ConverterArgv(split), QStringList({"/missing/conv", "-i", "file:a.mp4", "file:-x/b.mp3"}));
    split = SplitConverterCommandLine(QStringLiteral("   "), none);
    EXPECT_TRUE(split.arguments.isEmpty());
    // An unclosed quote runs to the end of the line.
    split = SplitConverterCommandLine(QStringLiteral("/p -i \"/a b"), none);
    ASSERT_EQ(split.arguments.size(), 2);
    EXPECT_EQ(split.arguments[1].text, QStringLiteral("/a b"));
}

} // namespace
