#include "settings/CommonDlgsW.h"
#include "TestSupport.h"
#include "queue/QueueTexts.h"

#include <gtest/gtest.h>

namespace {

QStringList Descriptions(const QList<platform::Dialogs::FileType> &types)
{
    QStringList texts;
    for (const platform::Dialogs::FileType &type : types)
        texts << type.description + " = " + type.patterns.join(' ');
    return texts;
}

TEST(CommonDlgsW, NewObjectOffersAllFiles)
{
    FakeDialogs dialogs;
    CommonDlgsW dlg(dialogs);
    EXPECT_FALSE(dlg.ShowOpen(nullptr)); // cancelled
    ASSERT_EQ(dialogs.fileRequests.size(), 1);
    EXPECT_EQ(Descriptions(dialogs.fileRequests[0].fileTypes), QStringList{"All files (*.*) = *.*"});
    EXPECT_EQ(dialogs.fileRequests[0].selectedFileType, 0);
    EXPECT_EQ(dlg.FileName, "");
}

TEST(CommonDlgsW, FileTypesFollowTheFilterPairs)
{
    FakeDialogs dialogs;
    CommonDlgsW dlg(dialogs);
    dlg.Filter = "Video|*.mp4;*.avi|Sound (*.wav)|*.wav|Any|*.*";
    dlg.FilterIndex = 2;
    EXPECT_EQ(Descriptions(dlg.FileTypes()),
              QStringList({"Video = *.mp4 *.avi", "Sound (*.wav) = *.wav", "Any = *.*"}));
    dlg.ShowOpen(nullptr);
    EXPECT_EQ(dialogs.fileRequests[0].selectedFileType, 1);
    dlg.Filter = MediaFilter();
    EXPECT_EQ(dlg.FileTypes().size(), 13);
    EXPECT_EQ(Descriptions(dlg.FileTypes())[9], "3GP Video(*.3gp) = *.3gp");
}

TEST(CommonDlgsW, ResultsAndTheNextProposal)
{
    FakeDialogs dialogs;
    CommonDlgsW dlg(dialogs);
    dlg.Flags = 0x1000;
    dlg.DefaultExt = "mp4";
    // As the dialog gives it: with the system's separators.
    const QString chosen = Native("/d/a/b.mp4");
    dialogs.files = {chosen, std::nullopt};
    ASSERT_TRUE(dlg.ShowOpen(nullptr));
    EXPECT_EQ(dlg.FileName, chosen);
    EXPECT_EQ(dlg.FileTitle, "b.mp4");
    EXPECT_EQ(dlg.Title, "b.mp4");
    EXPECT_EQ(dialogs.fileRequests[0].defaultExtension, "mp4");
    EXPECT_EQ(dialogs.fileRequests[0].flags, 0x1000u);
    // A second showing proposes the first choice; cancelling keeps every field.
    EXPECT_FALSE(dlg.ShowOpen(nullptr));
    EXPECT_EQ(dialogs.fileRequests[1].proposedName, chosen);
    EXPECT_EQ(dlg.FileName, chosen);
}

TEST(CommonDlgsW, PathsUpToTheSystemsLimit)
{
    FakeDialogs dialogs;
    CommonDlgsW dlg(dialogs);
    // A proposed name too long for the buffer: the dialog is not even shown.
    dlg.FileName = "/" + QString(CommonDlgsW::kBufferSize, 'x');
    EXPECT_FALSE(dlg.ShowOpen(nullptr));
    EXPECT_TRUE(dialogs.fileRequests.isEmpty());
    dlg.FileName.clear();
    // Paths longer than 255 characters are chosen and kept; one past the buffer is not.
    const QString deep = "/" + QString(300, 'd') + "/" + QString(200, 'e') + ".mp4";
    dialogs.files = {"/" + QString(CommonDlgsW::kBufferSize, 'y'), deep};
    EXPECT_FALSE(dlg.ShowOpen(nullptr));
    EXPECT_TRUE(dlg.ShowOpen(nullptr));
    EXPECT_EQ(dlg.FileName, deep);
}

} // namespace
