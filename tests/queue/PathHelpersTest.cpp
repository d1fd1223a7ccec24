#include "queue/PathHelpers.h"
#include "TestSupport.h"
#include "queue/CodePage.h"

#include <gtest/gtest.h>

namespace {

TEST(PathHelpers, FileNameAndTitle)
{
    struct Case
    {
        const char *path, *fileName, *title;
    } cases[] = {
        {"/v/clip.final.mp4", "clip.final.mp4", "clip.final"},
        {"/v/README", "README", ""},
        {"/my.dir/take1", "take1", ""},
        {"/v/.hidden", ".hidden", ""},
        {"/v/.a.b", ".a.b", ".a"},
        {"clip.mp4", "clip.mp4", "clip"},
        {"/v/dir/", "", ""},
        {"", "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FileNameOfPath(Native(QString::fromUtf8(c.path))), QString::fromUtf8(c.fileName));
        EXPECT_EQ(TitleOfPath(Native(QString::fromUtf8(c.path))), QString::fromUtf8(c.title));
    }
}

TEST(PathHelpers, FormatCode)
{
    const std::pair<const char *, const char *> cases[] = {
        {"/v/clip.mp4", "MP4"},
        {"/v/a.webm", "EBM"},
        {"/v/a.flac", "LAC"},
        {"/v/a.rm", ".RM"},
        {"ab", "AB"},
        {"", ""},
        {"/v/a.ma\u00df", "MA\u00df"}, // one letter stays one letter, though its capital is "SS"
    };
    for (const auto &[text, code] : cases)
        EXPECT_EQ(FormatCode(QString::fromUtf8(text)), QString::fromUtf8(code)) << text;
}

TEST(PathHelpers, OnlySpacesAreTrimmed)
{
    const std::pair<const char *, const char *> cases[] = {
        {"  a b  ", "a b"}, {"a\t", "a\t"}, {"\n a \n", "\n a \n"}, {"   ", ""}, {"", ""},
    };
    for (const auto &[text, trimmed] : cases)
        EXPECT_EQ(TrimSpaces(QString::fromUtf8(text)), QString::fromUtf8(trimmed)) << text;
}

TEST(PathHelpers, NarrowFormPerCodePage)
{
    const QString name = QStringLiteral("/m\u00fcsik/caf\u00e9 \u65e5\u672c \"q\".mp4");
    EXPECT_EQ(CodePage::System().Narrow(name), QStringLiteral("/m\u00fcsik/caf\u00e9 \u65e5\u672c ?q?.mp4"));
    EXPECT_EQ(CodePage::Latin1().Narrow(name), QStringLiteral("/m\u00fcsik/caf\u00e9 ?? ?q?.mp4"));
    EXPECT_EQ(CodePage::Ascii().Narrow(name), QStringLiteral("/m?sik/caf? ?? ?q?.mp4"));
    // A character outside the basic plane is one character: one "?".
    EXPECT_EQ(CodePage::Ascii().Narrow(QStringLiteral("a\U0001F3B5b")), QStringLiteral("a?b"));
}

TEST(PathHelpers, DisplayTextShowsUnreachableNameCharactersAsSpaces)
{
    const CodePage ascii = CodePage::Ascii();
    EXPECT_EQ(MakeDisplayText(Native(QStringLiteral("/media/clip.mp4")), ascii),
              Native(QStringLiteral("/media/clip.mp4")));
    // In the name part they become spaces; in the folder part they stay "?".
    EXPECT_EQ(MakeDisplayText(Native(QStringLiteral("/m\u00fcsik/caf\u00e9.mp4")), ascii),
              Native(QStringLiteral("/m?sik/caf .mp4")));
    EXPECT_EQ(MakeDisplayText(Native(QStringLiteral("/v/a<b>c:d*e|f\"g?.mp4")), ascii),
              Native(QStringLiteral("/v/a b c d e f g .mp4")));
    EXPECT_EQ(MakeDisplayText(Native(QStringLiteral("no folder?.mp4")), ascii),
              Native(QStringLiteral("no folder .mp4")));
    EXPECT_EQ(MakeDisplayText(Native(QStringLiteral("/v/caf\u00e9.mp4")), CodePage::System()),
              Native(QStringLiteral("/v/caf\u00e9.mp4")));
}

} // namespace
