#include "WindowFakes.h"
#include "ui/HotArea.h"
#include "ui/ProductSite.h"
#include "ui/ProgressBar.h"
#include "ui/SkinLayout.h"
#include "ui/frmMenu.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

frmMain &StartActive(WindowFixture &f)
{
    frmMain &w = f.Start();
    w.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
    return w;
}

TEST(Keyboard, AHotAreaActsOnEnterAndSpaceOnlyWhenEnabled)
{
    QWidget window;
    HotArea area(&window, QRect(0, 0, 20, 20));
    window.show();
    QSignalSpy clicked(&area, &HotArea::Clicked);
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
        QTest::keyClick(&area, key);
    QTest::keyClick(&area, Qt::Key_A);
    EXPECT_EQ(clicked.size(), 3);
    area.setEnabled(false);
    QTest::keyClick(&area, Qt::Key_Space);
    EXPECT_EQ(clicked.size(), 3);
    EXPECT_EQ(area.focusPolicy(), Qt::TabFocus); // the keyboard reaches it; a click leaves no ring
}

TEST(Keyboard, TabGoesThroughTheWholeWindowInOrder)
{
    WindowFixture f;
    frmMain &w = StartActive(f);
    w.imgToolbar_Click(0); // the start panel goes (it covers the list and the choices)
    w.Ui().imgMenu[0]->setFocus();
    QList<QWidget *> visited{QApplication::focusWidget()};
    for (int i = 0; i < 40; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() == visited.first())
            break;
        visited << QApplication::focusWidget();
    }
    const QList<QWidget *> expected = {w.Ui().imgMenu[0],    w.Ui().imgMenu[1],
                                       w.Ui().imgMenu[2],    w.Ui().imgToolbar[0],
                                       w.Ui().imgToolbar[6], w.Ui().imgToolbar[1],
                                       w.Ui().imgToolbar[2], w.Ui().imgToolbar[3],
                                       w.Ui().imgToolbar[4], w.Ui().LV,
                                       w.Ui().cmbOF,         w.Ui().cmbBR,
                                       w.Ui().cmbR,          w.Ui().cmbChannel,
                                       w.Ui().txtPath,       w.Ui().imgBrowse,
                                       w.Ui().imgConvert,    w.Ui().lblFeed,
                                       w.Ui().imgHelp,       w.Ui().imgMin,
                                       w.Ui().imgExit};
    EXPECT_EQ(visited, expected);

    // A focused control acts on its key, and shows its ring.
    w.Ui().imgBrowse->setFocus();
    const QImage plain = w.Ui().imgHelp->grab().toImage();
    QTest::keyClick(w.Ui().imgBrowse, Qt::Key_Space);
    EXPECT_EQ(f.dialogs.folderPrompts.size(), 1);
    w.Ui().imgHelp->setFocus();
    EXPECT_NE(w.Ui().imgHelp->grab().toImage(), plain);
    QTest::keyClick(w.Ui().imgHelp, Qt::Key_Return);
    EXPECT_TRUE(f.shell.log.contains("web " + ProductSite() + "/tutorial.html"));
    // Each picker is one stop: it opens its own list.
    w.Ui().cmbR->setFocus();
    QTest::keyClick(w.Ui().cmbR, Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(w.Ui().cmbR->view()->isVisible());
    w.Ui().cmbR->hidePopup();
}

TEST(Keyboard, ShortcutsReachOnlyWhatAClickCouldReach)
{
    WindowFixture f;
    f.UseFakeConverter("sleep 30000");
    frmMain &w = StartActive(f);
    const auto press = [&](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&w, Qt::Key(key), modifiers);
    };
    press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(f.dialogs.fileRequests.size(), 1);
    EXPECT_FALSE(w.Ui().picDoor->isVisible());
    press(Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(f.dialogs.folderPrompts.size(), 1);
    press(Qt::Key_F1);
    EXPECT_EQ(f.shell.log, QStringList{"web " + ProductSite() + "/tutorial.html"});
    w.Queue().Append({{"/a.mp4", "/a.mp4", "MP4", {}}, {"/b.mp4", "/b.mp4", "MP4", {}}});
    w.Ui().LV->setCurrentIndex(w.Queue().index(1, 0));
    press(Qt::Key_Delete);
    EXPECT_EQ(w.Queue().lstFile(), QStringList{"/a.mp4"});
    for (int i = 0; i < 3; ++i) {
        QWidget *shown = nullptr;
        QTimer::singleShot(50, [&] {
            shown = QApplication::activePopupWidget();
            if (shown)
                shown->close();
        });
        press(QChar::fromLatin1(SkinLayout::kMenuCaptions[i][0]).toUpper().unicode(), Qt::AltModifier);
        QTest::qWait(80);
        EXPECT_TRUE(shown != nullptr) << i;
    }

    // During a batch nothing that changes the queue or the options answers; Escape stops it.
    w.Ui().txtPath->setText(f.work.path() + "/out");
    press(Qt::Key_Return, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.Ui().imgStop->isVisible(); }, 2000));
    // Should a menu open after all, it is closed again, so the test fails instead of waiting.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            popup->setProperty("openedDuringBatch", true);
            popup->close();
        }
    });
    closer.start(50);
    QTimer::singleShot(300, [&] {
        press(Qt::Key_O, Qt::ControlModifier);
        press(Qt::Key_Delete);
        press(Qt::Key_F, Qt::AltModifier);
        press(Qt::Key_Escape);
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.Ui().lblPB->text() == "Stopped."; }, 5000));
    EXPECT_EQ(f.dialogs.fileRequests.size(), 1);
    EXPECT_EQ(w.Queue().Count(), 1);
    closer.stop();
    EXPECT_FALSE(w.Menus()->menuFile->property("openedDuringBatch").toBool());
    // Ctrl+Q is Exit: it saves.
    press(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_NE(f.ReadProgramFile("setup.ini"), "<missing>");
}

TEST(ScreenReaders, EveryControlSaysWhatItIs)
{
    WindowFixture f;
    frmMain &w = f.Start();
    const auto check = [](QWidget *control, QAccessible::Role role, const QString &name) {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(face, nullptr) << name.toStdString();
        EXPECT_EQ(face->role(), role) << name.toStdString();
        // Choices are named by their caption (a label relation), as screen readers on Linux ask.
        const auto labels = face->relations(QAccessible::Label);
        const QString said =
            role == QAccessible::ComboBox || role == QAccessible::EditableText
                ? (labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name))
                : face->text(QAccessible::Name);
        EXPECT_EQ(said, name);
        if (role == QAccessible::Button) {
            EXPECT_FALSE(face->text(QAccessible::Description).isEmpty()) << name.toStdString();
            ASSERT_NE(face->actionInterface(), nullptr);
            EXPECT_TRUE(
                face->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        }
    };
    const char *const toolbar[] = {"Add File", "Remove", "Options", "Help", "Exit", "", "Add Folder"};
    for (int index : {0, 1, 2, 3, 4, 6})
        check(w.Ui().imgToolbar[index], QAccessible::Button, toolbar[index]);
    check(w.Ui().imgMenu[0], QAccessible::Button, "File");
    check(w.Ui().imgMenu[2], QAccessible::Button, "About");
    check(w.Ui().imgConvert, QAccessible::Button, "Convert");
    check(w.Ui().imgBrowse, QAccessible::Button, "Browse for the output folder");
    check(w.Ui().imgDoorButton, QAccessible::Button, "Add a file to start");
    check(w.Ui().imgExit, QAccessible::Button, "Exit");
    check(w.Ui().picButtonBR, QAccessible::Button, "Show the bitrate list");
    check(w.Ui().lblFeed, QAccessible::Button, "Feedback");
    check(w.Ui().picDoor, QAccessible::Pane, "Turn your videos into audio");
    check(w.Ui().cmbOF, QAccessible::ComboBox, "Output format");
    check(w.Ui().cmbBR, QAccessible::ComboBox, "Bitrate");
    check(w.Ui().cmbR, QAccessible::ComboBox, "Sample rate");
    check(w.Ui().cmbChannel, QAccessible::ComboBox, "Channels");
    check(w.Ui().txtPath, QAccessible::EditableText, "Output folder");

    // The progress bar: its value and its label's text.
    w.Ui().imgPB->resize(SkinLayout::kProgressBar.width() / 2 + 1, w.Ui().imgPB->height());
    w.Ui().lblPB->setText("50%");
    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(w.Ui().imgPB);
    EXPECT_EQ(bar->role(), QAccessible::ProgressBar);
    ASSERT_NE(bar->valueInterface(), nullptr);
    EXPECT_EQ(bar->valueInterface()->currentValue().toInt(), 50);
    EXPECT_EQ(bar->text(QAccessible::Value), "50%");

    // Each picker is named by its caption, and its choice is its value.
    QAccessibleInterface *format = QAccessible::queryAccessibleInterface(w.Ui().cmbOF);
    EXPECT_EQ(format->text(QAccessible::Name), "Output format");
    EXPECT_EQ(format->text(QAccessible::Value), w.Ui().cmbOF->currentText());

    // Out of reach during a batch, and said so; the press does nothing then.
    w.Ui().imgConvert->setEnabled(false);
    QAccessibleInterface *convert = QAccessible::queryAccessibleInterface(w.Ui().imgConvert);
    EXPECT_TRUE(convert->state().disabled);
    convert->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(f.messages.shown.isEmpty());
    w.Ui().imgConvert->setEnabled(true);
    convert->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(f.messages.Texts(), QStringList{"Please add a file"});
}

} // namespace

namespace {

// The leftmost column of `image` in `rows` that holds text (a dark pixel), or -1.
int FirstInk(const QImage &image, int top, int bottom, int right)
{
    for (int x = 0; x < right; ++x) {
        for (int y = top; y < bottom; ++y) {
            if (qGray(image.pixel(x, y)) < 140)
                return x;
        }
    }
    return -1;
}

// What the start panel covers is not among what the window shows screen readers, until the
// panel goes.
TEST(ScreenReaders, TheyHearWhatTheEyeSees)
{
    WindowFixture f;
    frmMain &w = f.Start();
    const auto heard = [&w] {
        QList<QObject *> children;
        QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&w);
        for (int i = 0; i < window->childCount(); ++i) {
            children << window->child(i)->object();
            EXPECT_EQ(window->indexOfChild(window->child(i)), i);
        }
        return children;
    };
    QList<QObject *> covered = {w.Ui().LV, w.Ui().cmbOF, w.Ui().txtPath, w.Ui().imgConvert, w.Ui().imgPB};
    for (QObject *control : covered)
        EXPECT_FALSE(heard().contains(control)) << control->metaObject()->className();
    EXPECT_TRUE(heard().contains(w.Ui().picDoor));
    EXPECT_TRUE(heard().contains(w.Ui().imgToolbar[0]));
    w.imgToolbar_Click(0);
    for (QObject *control : covered)
        EXPECT_TRUE(heard().contains(control)) << control->metaObject()->className();
}

// A field under the pointer and a field with the focus look different, and neither like idle.
TEST(Looks, HoverAndFocusAreTwoLooks)
{
    WindowFixture f;
    frmMain &w = f.Start();
    w.imgToolbar_Click(0);
    QComboBox *picker = w.Ui().cmbBR;
    const QImage idle = picker->grab().toImage();
    picker->setAttribute(Qt::WA_UnderMouse, true);
    const QImage hover = picker->grab().toImage();
    picker->setAttribute(Qt::WA_UnderMouse, false);
    picker->setFocus();
    const QImage focus = picker->grab().toImage();
    EXPECT_NE(hover, idle);
    EXPECT_NE(focus, idle);
    EXPECT_NE(hover, focus);
}

TEST(Looks, ListRowsAndTheProgressLabelReadWell)
{
    WindowFixture f;
    frmMain &w = f.Start();
    w.imgToolbar_Click(0);
    w.Queue().Append({{"/v/gypsy.mp4", "/v/gypsy.mp4", "MP4", {}}});
    QCoreApplication::processEvents();
    // Rows leave room below the line for descenders.
    const QRect row = w.Ui().LV->visualRect(w.Queue().index(0, 0));
    EXPECT_GE(row.height(), w.Ui().LV->fontMetrics().height() + 4);
    // A row's text starts where its column's header label starts.
    const QImage list = w.Ui().LV->grab().toImage();
    const int header = w.Ui().LV->horizontalHeader()->height();
    const int labelX = FirstInk(list, 0, header, 100);
    const int textX = FirstInk(list, header + row.top(), header + row.bottom(), 100);
    ASSERT_GE(labelX, 0);
    EXPECT_NEAR(textX, labelX, 1);

    // Half done: the percentage is white over the fill and dark over the empty track.
    w.Ui().imgPB->resize(SkinLayout::kProgressBar.width() / 2, w.Ui().imgPB->height());
    w.Ui().lblPB->setText("50%");
    const QImage shot = w.grab().toImage();
    const int edge = SkinLayout::kProgressBar.x() + SkinLayout::kProgressBar.width() / 2;
    int whiteOnFill = 0, darkOnTrack = 0;
    const QRect label = SkinLayout::kProgressLabel;
    for (int y = label.top(); y <= label.bottom(); ++y) {
        for (int x = label.left(); x <= label.right(); ++x) {
            const int grey = qGray(shot.pixel(x, y));
            whiteOnFill += x < edge && grey > 235;
            darkOnTrack += x >= edge && grey < 120;
        }
    }
    EXPECT_GT(whiteOnFill, 5);
    EXPECT_GT(darkOnTrack, 5);
}

} // namespace
