#include "TestSupport.h"
#include "queue/QueueTexts.h"
#include "settings/CommonDlgsW.h"
#include "ui/QtServices.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs `look` on the file dialog once it is showing, then lets `finish` close it.
void WhileTheDialogShows(const std::function<void(QFileDialog &)> &look)
{
    QTimer::singleShot(0, [look] {
        QFileDialog *dialog = nullptr;
        (void)QTest::qWaitFor([&] {
            for (QWidget *top : QApplication::topLevelWidgets()) {
                if (auto *shown = qobject_cast<QFileDialog *>(top); shown && shown->isVisible())
                    dialog = shown;
            }
            return dialog != nullptr;
        });
        if (!dialog)
            return;
        // Never left open, whatever the test found.
        QTimer::singleShot(5000, dialog, &QDialog::reject);
        look(*dialog);
    });
}

QStringList ShownTypes(QFileDialog &dialog)
{
    QStringList shown;
    if (auto *types = dialog.findChild<QComboBox *>("fileTypeCombo")) {
        for (int i = 0; i < types->count(); ++i)
            shown << types->itemText(i);
    }
    return shown;
}

// The failure warning's box: its details button only with details, its action button answered.
TEST(RealDialogs, AMessageOffersItsDetailsAndItsAction)
{
    using Answer = platform::UserMessages::Answer;
    const struct
    {
        const char *details;
        const char *action;
        const char *press;
        Answer answer;
    } cases[] = {
        {"", "Queue Again", "Queue Again", Answer::Action},
        {"more", "Queue Again", "OK", Answer::Dismissed},
        {"more", "", "OK", Answer::Dismissed},
        // Every warning can be dismissed, also one with an action: Esc and the close act as OK.
        {"", "Queue Again", "Esc", Answer::Dismissed},
        {"more", "Queue Again", "close", Answer::Dismissed},
    };
    for (const auto &c : cases) {
        QStringList buttons;
        bool dismissable = true;
        bool warningIcon = false;
        QTimer::singleShot(0, [&] {
            QMessageBox *box = nullptr;
            (void)QTest::qWaitFor(
                [&] { return (box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())); });
            if (!box)
                return;
            warningIcon = box->icon() == QMessageBox::Warning;
            for (QAbstractButton *button : box->buttons())
                buttons << button->text().remove('&');
            if (QByteArray(c.press) == "Esc" || QByteArray(c.press) == "close") {
                if (QByteArray(c.press) == "Esc")
                    QTest::keyClick(box, Qt::Key_Escape);
                else
                    box->close();
                dismissable = QTest::qWaitFor([&] { return !box->isVisible(); }, 2000);
                if (!dismissable)
                    box->button(QMessageBox::Ok)->click();
                return;
            }
            for (QAbstractButton *button : box->buttons()) {
                if (button->text().remove('&') == c.press)
                    button->click();
            }
        });
        QtMessages messages;
        EXPECT_EQ(messages.ShowWithDetails("text", c.details, "Convert",
                                           platform::UserMessages::Icon::Warning, c.action),
                  c.answer)
            << c.details << c.action;
        buttons.sort();
        QStringList expected = {"OK"};
        if (*c.action)
            expected << c.action;
        if (*c.details)
            expected << "Show Details...";
        expected.sort();
        EXPECT_EQ(buttons, expected) << c.details << c.action;
        EXPECT_TRUE(dismissable) << c.press;
        EXPECT_TRUE(warningIcon);
    }
}

TEST(RealDialogs, TheOpenDialogShowsWhatItIsGiven)
{
    QTemporaryDir dir;
    for (const char *name : {"notes", "clip.mp4"})
        PutFile(dir.path() + "/" + name);
    FakeDialogs unused;
    CommonDlgsW types(unused);
    types.Filter = MediaFilter();

    platform::Dialogs::OpenFileRequest request;
    request.initialFolder = dir.path();
    request.proposedName = "proposed.mp4";
    request.fileTypes = types.FileTypes();
    request.selectedFileType = 0;
    QStringList shown;
    QString selectedType, directory, proposed;
    bool dotlessListed = false;
    WhileTheDialogShows([&](QFileDialog &dialog) {
        shown = ShownTypes(dialog);
        selectedType = dialog.selectedNameFilter();
        directory = dialog.directory().absolutePath();
        if (auto *name = dialog.findChild<QLineEdit *>("fileNameEdit"))
            proposed = name->text();
        // Files without a dot are listed under "All Media Formats(*.*)".
        auto *list = dialog.findChild<QAbstractItemView *>("listView");
        dotlessListed = list && QTest::qWaitFor([&] {
                            const QModelIndex root = list->rootIndex();
                            for (int row = 0; row < list->model()->rowCount(root); ++row) {
                                if (list->model()->index(row, 0, root).data().toString() == "notes")
                                    return true;
                            }
                            return false;
                        });
        if (auto *name = dialog.findChild<QLineEdit *>("fileNameEdit"))
            name->setText("notes");
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    const std::optional<platform::Dialogs::OpenFileResult> chosen = QtDialogs().OpenFile(request);
    ASSERT_EQ(shown.size(), 13);
    EXPECT_EQ(shown[0], "All Media Formats(*.*)");
    EXPECT_EQ(shown[6], "QuickTime Format(*.mov)");
    EXPECT_EQ(shown[12], "WMA Audio(*.wma)");
    EXPECT_TRUE(selectedType.startsWith("All Media Formats(*.*)"));
    EXPECT_EQ(directory, dir.path());
    EXPECT_EQ(proposed, "proposed.mp4");
    EXPECT_TRUE(dotlessListed);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->path, Native(dir.path() + "/notes"));
}

TEST(RealDialogs, TheFolderBrowserShowsItsPromptAndStartsInTheFolder)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + "/music");
    QString directory, prompt;
    WhileTheDialogShows([&](QFileDialog &dialog) {
        directory = dialog.directory().absolutePath();
        prompt = dialog.labelText(QFileDialog::LookIn);
        dialog.reject();
    });
    EXPECT_FALSE(QtDialogs().BrowseForFolder(nullptr, "Please select a folder:", dir.path() + "/music"));
    EXPECT_EQ(directory, dir.path() + "/music");
    EXPECT_EQ(prompt, "Please select a folder:");
}

} // namespace
