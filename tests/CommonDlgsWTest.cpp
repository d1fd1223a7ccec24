#include "settings/CommonDlgsW.h"
#include "TestSupport.h"
#include "queue/MediaFilter.h"

#include <gtest/gtest.h>

namespace {

TEST(CommonDlgsW, NewObjectOffersAllFiles)
{
    FakeDialogs dialogs;
    CommonDlgsW dlg(dialogs);
    EXPECT_FALSE(dlg.ShowOpen(nullptr)); // cancelled
    ASSERT_EQ(dialogs.fileRequests.size(), 1);
    EXPECT_EQ(dialogs.fileRequests[0].fileTypes, QStringList{"All files (*.*)"});
    EXPECT_EQ(dialogs.fileRequests[0].selectedFileType, 0);
    EXPECT_EQ(dlg.FileName, "");
}

TEST(CommonDlgsW, FileTypesFollowTheFilterPairs)
{
    FakeDialogs dialogs;
    CommonDlgsW dlg(dialogs);
    dlg.Filter = "Video|*.mp4;*.avi|Sound (*.wav)|*.wav|Any|*.*";
    dlg.FilterIndex = 2;
    EXPECT_EQ(dlg.FileTypes(), QStringList({"Video (*.mp4 *.avi)", "Sound (*.wav)", "Any (*.*)"}));
    dlg.ShowOpen(nullptr);
    EXPECT_EQ(dialogs.fileRequests[0].selectedFileType, 1);
    dlg.Filter = MediaFilter();
    EXPECT_EQ(dlg.FileTypes().size(), 13);
    EXPECT_EQ(dlg.FileTypes()[9], "3GP Video(*.3gp)");
}

TEST(CommonDlgsW, ResultsAndTheNextProposal)
{
    FakeDialogs dialogs;
    CommonDlgsW dlg(dialogs);
    dialogs.files = {QString("/d/a/b.mp4"), std::nullopt};
    ASSERT_TRUE(dlg.ShowOpen(nullptr));
    EXPECT_EQ(dlg.FileName, "/d/a/b.mp4");
    EXPECT_EQ(dlg.FileTitle, "b.mp4");
    EXPECT_EQ(dlg.Title, "b.mp4");
    // A second showing proposes the first choice; cancelling keeps every field.
    EXPECT_FALSE(dlg.ShowOpen(nullptr));
    EXPECT_EQ(dialogs.fileRequests[1].proposedName, "/d/a/b.mp4");
    EXPECT_EQ(dlg.FileName, "/d/a/b.mp4");
}

TEST(CommonDlgsW, NamesTooLongForItsBuffers)
{
    FakeDialogs dialogs;
    CommonDlgsW dlg(dialogs);
    dlg.FileName = QString(257, 'x');
    EXPECT_FALSE(dlg.ShowOpen(nullptr));
    EXPECT_TRUE(dialogs.fileRequests.isEmpty()); // not even shown
    dlg.FileName.clear();
    dialogs.files = {"/" + QString(255, 'y'), "/" + QString(254, 'z')};
    EXPECT_FALSE(dlg.ShowOpen(nullptr));
    EXPECT_TRUE(dlg.ShowOpen(nullptr));
    EXPECT_EQ(dlg.FileName.size(), 255);
}

} // namespace
