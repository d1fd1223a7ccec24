#include "ui/Commands.h"
#include "WindowFakes.h"
#include "ui/CutterIndicator.h"
#include "ui/HotArea.h"
#include "ui/ProductSite.h"
#include "ui/SkinLayout.h"
#include "ui/frmMenu.h"
#include "ui/frmOptions.h"
#include "ui/frmSuggest.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Icon = platform::UserMessages::Icon;

// Set when a test's CloseOptions found the options dialog showing.
bool g_optionsShown = false;
int g_optionsFilesOffered = 0;

// Runs `act` on the next dialog or popup menu to show, once it shows (it may show only after
// other events have been handled); gives up after ten seconds.
void WhenShown(const std::function<void(QWidget *)> &act)
{
    auto *poll = new QTimer;
    auto *clock = new QElapsedTimer;
    clock->start();
    QObject::connect(poll, &QTimer::timeout, [poll, clock, act] {
        QWidget *shown = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->isVisible() && (qobject_cast<QMenu *>(top) || qobject_cast<QDialog *>(top)))
                shown = top;
        }
        if (!shown && clock->elapsed() < 10000)
            return;
        poll->stop();
        poll->deleteLater();
        delete clock;
        if (shown)
            act(shown);
    });
    poll->start(20);
}

void CloseOptions(QWidget *shown)
{
    if (auto *options = qobject_cast<frmOptions *>(shown)) {
        g_optionsShown = true;
        g_optionsFilesOffered = options->cmbFiles()->count();
        options->imgBack_Click();
    }
}

// Each menu holds the items its rows place in it, in their order, with the separators the rows
// ask for; no menu is empty.
TEST(Commands, MenusHoldTheirItemsInOrder)
{
    WindowFixture f;
    frmMain &w = f.Start();
    const std::pair<QMenu *, Commands::Menu> menus[] = {{w.Menus()->menuFile, Commands::Menu::File},
                                                        {w.Menus()->menuOptions, Commands::Menu::Options},
                                                        {w.Menus()->menuAbout, Commands::Menu::About},
                                                        {w.Menus()->menuRemove, Commands::Menu::Remove}};
    for (const auto &[menu, which] : menus) {
        QList<Commands::MenuPlace> places;
        for (const Commands::Command &command : Commands::kCommands) {
            if (command.menuItem.menu == which)
                places << command.menuItem;
        }
        std::sort(places.begin(), places.end(),
                  [](const auto &a, const auto &b) { return a.order < b.order; });
        QStringList expected;
        for (const Commands::MenuPlace &place : places)
            expected << (place.separatorBefore ? QStringList{"-", place.caption}
                                               : QStringList{place.caption});
        QStringList shown;
        for (const QAction *item : menu->actions())
            shown << (item->isSeparator() ? QStringLiteral("-") : item->text());
        EXPECT_FALSE(shown.isEmpty()) << int(which);
        EXPECT_EQ(shown, expected) << int(which);
    }
}

// The menus and the mailbox words are one table: every word is written by a menu item, and every
// menu item is a command's row and writes that command's word (Remove All alone acts itself).
TEST(Commands, EveryWordHasItsMenuItemAndEveryItemItsWord)
{
    WindowFixture f;
    frmMain &w = f.Start();
    QList<QAction *> items;
    for (QMenu *menu :
         {w.Menus()->menuFile, w.Menus()->menuOptions, w.Menus()->menuAbout, w.Menus()->menuRemove}) {
        for (QAction *item : menu->actions()) {
            if (!item->isSeparator())
                items << item;
        }
    }
    int rowsWithItems = 0;
    for (const Commands::Command &command : Commands::kCommands) {
        QAction *item = w.Menus()->Item(command.id);
        EXPECT_EQ(item != nullptr, command.menuItem.menu != Commands::Menu::None) << command.caption;
        if (!item)
            continue;
        ++rowsWithItems;
        EXPECT_TRUE(items.contains(item)) << command.caption;
        if (!command.word) {
            EXPECT_EQ(command.id, Commands::CommandId::RemoveAll);
            continue;
        }
        // Triggered as the menu would, with the mailbox's reader held off: only the word is seen.
        const QSignalBlocker quiet(w.Ui().txtAction);
        item->trigger();
        EXPECT_EQ(w.Ui().txtAction->text(), QString::fromLatin1(command.word));
        w.Ui().txtAction->clear();
    }
    EXPECT_EQ(items.size(), rowsWithItems);
}

TEST(Commands, EachMenuItemReachesItsOperation)
{
    struct Case
    {
        QAction *frmMenu::*item;
        bool hidesStartPanel;
        std::function<void(WindowFixture &)> check;
    };
    const QString site = ProductSite();
    const Case cases[] = {
        {&frmMenu::menuAddaFile, false,
         [](WindowFixture &f) {
             EXPECT_EQ(f.dialogs.fileRequests.size(), 1);
         }},
        {&frmMenu::menuAddaFolder, true,
         [](WindowFixture &f) {
             EXPECT_EQ(f.dialogs.folderPrompts, QStringList{"Please select a folder:"});
         }},
        {&frmMenu::menuExit, false,
         [](WindowFixture &f) {
             EXPECT_EQ(f.shell.log, QStringList{"end"});
             EXPECT_NE(f.ReadProgramFile("setup.ini"), "<missing>");
         }},
        {&frmMenu::menuOption, true,
         [](WindowFixture &f) {
             EXPECT_TRUE(g_optionsShown);
             EXPECT_EQ(g_optionsFilesOffered, f.mostFilesAtOnce);
             EXPECT_TRUE(f.dialogs.fileRequests.isEmpty() && f.shell.log.isEmpty() &&
                         f.messages.shown.isEmpty());
         }},
        {&frmMenu::menuHelp, false,
         [site](WindowFixture &f) {
             EXPECT_EQ(f.shell.log, QStringList{"web " + site + "/tutorial.html"});
         }},
        {&frmMenu::menuA, false,
         [site](WindowFixture &f) {
             ASSERT_EQ(f.messages.shown.size(), 1);
             EXPECT_EQ(f.messages.shown[0].title, "Brimwave");
             EXPECT_EQ(f.messages.shown[0].text.split('\n').size(), 3);
             EXPECT_TRUE(f.messages.shown[0].text.startsWith(site + " 2026\n"));
             EXPECT_TRUE(f.messages.shown[0].text.endsWith("\n" + site));
         }},
        {&frmMenu::menuRemoveSelected, false,
         [](WindowFixture &f) {
             EXPECT_EQ(f.Window().Queue().Count(), 1);
         }},
        {&frmMenu::menuRemoveAll, false,
         [](WindowFixture &f) {
             EXPECT_TRUE(f.Window().Queue().IsEmpty());
             EXPECT_EQ(f.Window().Ui().lblText->text(), "Drag & Drop Files Here");
         }},
    };
    for (const Case &c : cases) {
        WindowFixture f;
        f.mostFilesAtOnce = 3; // the window's bound reaches its options dialog
        frmMain &w = f.Start();
        SCOPED_TRACE(((*w.Menus()).*c.item)->text().toStdString());
        w.Queue().Append({{"/a.mp4", "/a.mp4", "MP4", {}}, {"/b.mp4", "/b.mp4", "MP4", {}}});
        w.Ui().LV->setCurrentIndex(w.Queue().index(0, 0));
        g_optionsShown = false;
        if (c.item == &frmMenu::menuOption)
            WhenShown(CloseOptions);
        ((*w.Menus()).*c.item)->trigger();
        c.check(f);
        EXPECT_EQ(w.Ui().txtAction->text(), ""); // the mailbox is empty again
        EXPECT_EQ(w.Ui().picDoor->isVisibleTo(&w), !c.hidesStartPanel);
    }

    // A word no item writes changes nothing.
    WindowFixture f;
    frmMain &w = f.Start();
    w.Ui().txtAction->setText("Bogus");
    EXPECT_EQ(w.Ui().txtAction->text(), "");
    EXPECT_TRUE(f.messages.shown.isEmpty() && f.shell.log.isEmpty() && f.dialogs.fileRequests.isEmpty());
}

TEST(Commands, MenusOpenBelowTheirTabsAndRemoveAtThePointer)
{
    WindowFixture f;
    frmMain &w = f.Start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.Timer2().isActive(); }, 2000));
    for (int i = 0; i < 3; ++i) {
        QPoint at;
        WhenShown([&](QWidget *popup) {
            at = popup->pos();
            popup->close();
        });
        w.imgMenu_Click(qint16(i));
        const QRect tab = SkinLayout::kMenuTabs[i];
        EXPECT_EQ(at, w.mapToGlobal(QPoint(tab.left(), tab.bottom() + 1))) << i;
    }
    QCursor::setPos(w.mapToGlobal(QPoint(250, 80)));
    QPoint at;
    QWidget *shown = nullptr;
    WhenShown([&](QWidget *popup) {
        at = popup->pos();
        shown = popup;
        popup->close();
    });
    w.imgToolbar_Click(1);
    EXPECT_EQ(shown, w.Menus()->menuRemove);
    EXPECT_EQ(at, QCursor::pos());
}

TEST(Commands, TheFeedbackLinkOpensTheFormAtTheSite)
{
    WindowFixture f;
    frmMain &w = f.Start();
    w.SetProductSite("http://127.0.0.1:9");
    QString title;
    WhenShown([&](QWidget *shown) {
        title = shown->windowTitle();
        if (auto *form = qobject_cast<frmSuggest *>(shown))
            form->Command2_Click();
    });
    QTest::mouseClick(w.Ui().lblFeed, Qt::LeftButton);
    EXPECT_EQ(title, "FeedBack");
}

TEST(Commands, EveryToolbarButtonPutsTheStartPanelAway)
{
    for (int index : {0, 1, 2, 3, 4, 5, 6}) {
        SCOPED_TRACE(index);
        WindowFixture f;
        frmMain &w = f.Start();
        if (index == 1 || index == 2) {
            WhenShown([](QWidget *shown) {
                if (auto *menu = qobject_cast<QMenu *>(shown))
                    menu->close();
                CloseOptions(shown);
            });
        }
        w.imgToolbar_Click(qint16(index));
        EXPECT_FALSE(w.Ui().picDoor->isVisibleTo(&w));
    }
}

// A toolbar action first puts the start panel away and lets the window show that, then acts.
TEST(Commands, TheStartPanelGoesBeforeTheToolbarActs)
{
    WindowFixture f;
    frmMain &w = f.Start();
    // Handled by the window's events before the action: it sees the panel gone.
    QMetaObject::invokeMethod(
        &w, [&] { f.shell.log << (w.Ui().picDoor->isVisibleTo(&w) ? "panel shown" : "panel gone"); },
        Qt::QueuedConnection);
    w.imgToolbar_Click(3);
    EXPECT_EQ(f.shell.log, QStringList({"panel gone", "web " + ProductSite() + "/tutorial.html"}));
}

TEST(Commands, NothingIsWithinReachWhileABatchRuns)
{
    WindowFixture f;
    f.UseFakeConverter("sleep 1000");
    frmMain &w = f.Start();
    w.imgToolbar_Click(0);
    w.Queue().Append({{"/a.mp4", "/a.mp4", "MP4", {}}});
    w.Ui().txtPath->setText(f.work.path() + "/out");
    bool checked = false;
    QObject::connect(&w.Batch().objDOS(), &DOSOutputs::CommandOver, &w, [&] {
        if (std::exchange(checked, true))
            return;
        for (QWidget *control :
             {static_cast<QWidget *>(w.Ui().imgToolbar[0]), static_cast<QWidget *>(w.Ui().imgToolbar[6]),
              static_cast<QWidget *>(w.Ui().imgMenu[0]), static_cast<QWidget *>(w.Ui().imgConvert),
              static_cast<QWidget *>(w.Ui().lblFeed)}) {
            EXPECT_FALSE(control->isEnabled());
            QTest::mouseClick(control, Qt::LeftButton);
        }
    });
    w.imgConvert_Click();
    ASSERT_TRUE(f.WaitForBatchEnd());
    EXPECT_TRUE(checked);
    EXPECT_TRUE(f.dialogs.fileRequests.size() == 1 && f.dialogs.folderPrompts.isEmpty());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

// A key acts only where a click on its control could: not on Convert behind the start panel,
// and nothing that changes the queue while a batch runs; the panel's own button neither.
TEST(Commands, KeysActOnlyWhereAClickCould)
{
    WindowFixture f;
    f.UseFakeConverter("sleep 1000");
    frmMain &w = f.Start();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.Ui().txtPath->setText(f.work.path() + "/out");
    // The File menu's Add keeps the start panel up, over Convert.
    f.dialogs.files = {f.work.path() + "/a.mp4"};
    w.Ui().txtAction->setText("AddaFile");
    ASSERT_EQ(w.Queue().Count(), 1);
    ASSERT_TRUE(w.Ui().picDoor->isVisible());
    QTest::keyClick(&w, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_FALSE(w.Ui().imgStop->isVisible());
    EXPECT_FALSE(w.Batch().Timer1().isActive());

    // With the panel away, the key converts; while the batch runs no key or button reaches
    // the queue or the options.
    w.Ui().picDoor->hide();
    QTest::keyClick(&w, Qt::Key_Return, Qt::ControlModifier);
    ASSERT_TRUE(w.Ui().imgStop->isVisible());
    const qsizetype requests = f.dialogs.fileRequests.size();
    QTest::keyClick(&w, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(&w, Qt::Key_O, Qt::ControlModifier);
    w.Ui().picDoor->show();
    QTest::mouseClick(w.Ui().imgDoorButton, Qt::LeftButton);
    w.Ui().picDoor->hide();
    EXPECT_FALSE(w.Ui().lblCut->isEnabled());
    EXPECT_EQ(f.dialogs.fileRequests.size(), requests);
    EXPECT_TRUE(f.dialogs.folderPrompts.isEmpty());
    ASSERT_TRUE(f.WaitForBatchEnd());
}

// The options dialog on its own, shown as the toolbar shows it.
class Options : public testing::Test
{
protected:
    frmOptions &Open(CutterOptions stored)
    {
        cutter = stored;
        dialog = std::make_unique<frmOptions>(cutter, file, messages, kCores);
        dialog->show();
        return *dialog;
    }
    QByteArray Written() const
    {
        QFile saved(file);
        return saved.open(QIODevice::ReadOnly) ? saved.readAll() : QByteArray("<none>");
    }
    static QStringList Fields(const frmOptions &d)
    {
        return {d.txtFromH()->text(), d.txtFromM()->text(), d.txtFromS()->text(),
                d.txtToH()->text(),   d.txtToM()->text(),   d.txtToS()->text()};
    }
    static void Type(const frmOptions &d, const QStringList &texts)
    {
        QLineEdit *fields[] = {d.txtFromH(), d.txtFromM(), d.txtFromS(), d.txtToH(), d.txtToM(), d.txtToS()};
        for (int i = 0; i < 6; ++i)
            fields[i]->setText(texts[i]);
    }

    // A machine of three cores, whatever this one has.
    static constexpr int kCores = 3;
    QTemporaryDir dir;
    QString file = dir.path() + "/options.ini";
    RecordingMessages messages;
    CutterOptions cutter;
    std::unique_ptr<frmOptions> dialog;
};

// Every control has a name a screen reader can say, Enter is OK and Esc is Back, the sound
// picker is one Tab stop, and an hours field shows three digits whole.
TEST_F(Options, KeysNamesAndRoomForHours)
{
    frmOptions &d = Open({0, 1, 90, 45});
    const std::pair<QWidget *, const char *> names[] = {{d.imgOK(), "OK"},
                                                        {d.imgBack(), "Back"},
                                                        {d.imgExit(), "Close"},
                                                        {d.txtFromH(), "Start, hours"},
                                                        {d.txtFromM(), "Start, minutes"},
                                                        {d.txtFromS(), "Start, seconds"},
                                                        {d.txtToH(), "Length, hours"},
                                                        {d.txtToM(), "Length, minutes"},
                                                        {d.txtToS(), "Length, seconds"},
                                                        {d.cmbSR(), "Finish sound"}};
    for (const auto &[control, name] : names)
        EXPECT_EQ(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name), name);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(d.cmbSR())->text(QAccessible::Value), "ON");
    EXPECT_EQ(d.picButtonBR()->focusPolicy(), Qt::NoFocus);

    for (QLineEdit *hours : {d.txtFromH(), d.txtToH()}) {
        hours->setText("100");
        hours->setCursorPosition(0);
        const QImage start = hours->grab().toImage();
        hours->setCursorPosition(3);
        EXPECT_EQ(hours->grab().toImage(), start) << "the text scrolls: it does not fit";
    }
    d.txtToH()->setText("0");

    d.txtToS()->setFocus();
    d.txtToS()->setText("50");
    QTest::keyClick(d.txtToS(), Qt::Key_Escape);
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(Written(), "<none>");
    frmOptions &again = Open({0, 1, 90, 45});
    again.txtToS()->setText("50");
    again.txtToS()->setFocus();
    QTest::keyClick(again.txtToS(), Qt::Key_Return);
    EXPECT_EQ(again.result(), QDialog::Accepted);
    EXPECT_EQ(Written(), "0\r\n1\r\n90\r\n50\r\n");
}

// "Files at once" offers 1 up to the cores; 1 writes the four lines as ever, more a fifth.
TEST_F(Options, FilesAtOnceUpToTheCores)
{
    frmOptions &d = Open({0, 0, 0, 0, 1});
    ASSERT_EQ(d.cmbFiles()->count(), kCores);
    EXPECT_EQ(d.cmbFiles()->itemText(0), "1");
    EXPECT_EQ(d.cmbFiles()->currentText(), "1");
    d.picButtonFiles()->Click();
    EXPECT_TRUE(d.cmbFiles()->view()->isVisible());
    d.cmbFiles()->hidePopup();
    d.imgOK_Click();
    EXPECT_EQ(Written(), "0\r\n0\r\n0\r\n0\r\n");
    EXPECT_EQ(Open({0, 0, 0, 0, 3}).cmbFiles()->currentText(), "3");
    frmOptions &three = Open({0, 0, 0, 0, 1});
    three.cmbFiles()->setCurrentIndex(2);
    three.imgOK_Click();
    EXPECT_EQ(Written(), "0\r\n0\r\n0\r\n0\r\n3\r\n");
    EXPECT_EQ(cutter.FilesAtOnce, 3);
}

TEST_F(Options, OpeningShowsTheStoredValues)
{
    frmOptions &on = Open({0, 1, 3725, 45});
    EXPECT_EQ(on.windowTitle(), "Options");
    EXPECT_EQ(on.cmbSR()->currentText(), "ON");
    EXPECT_EQ(on.chkMC()->checkState(), Qt::Checked);
    EXPECT_EQ(Fields(on), QStringList({"1", "2", "5", "0", "0", "45"}));
    EXPECT_TRUE(on.txtToS()->isEnabled());

    frmOptions &off = Open({1, 0, 3725, 45});
    EXPECT_EQ(off.cmbSR()->currentText(), "OFF");
    EXPECT_EQ(Fields(off), QStringList(6, "0"));
    EXPECT_FALSE(off.txtFromH()->isEnabled());
    off.chkMC()->click();
    EXPECT_TRUE(off.txtFromH()->isEnabled());

    // Values the dialog does not offer. A stored 2 cuts like 1: its times stay, and no times at
    // all turn it off (a cut of length 0 would fail every file).
    frmOptions &odd = Open({5, 2, 10, 20});
    EXPECT_EQ(odd.cmbSR()->currentIndex(), -1);
    EXPECT_EQ(odd.chkMC()->checkState(), Qt::PartiallyChecked);
    EXPECT_FALSE(odd.txtFromH()->isEnabled());
    odd.imgOK_Click();
    EXPECT_EQ(cutter, (CutterOptions{-1, 2, 10, 20}));
    Open({0, 2, 0, 0}).imgOK_Click();
    EXPECT_EQ(cutter, (CutterOptions{0, 0, 0, 0}));
    EXPECT_EQ(Written(), "0\r\n0\r\n0\r\n0\r\n");
    frmOptions &refused = Open({0, 7, 10, 20});
    EXPECT_EQ(refused.chkMC()->checkState(), Qt::Unchecked);
    refused.imgOK_Click();
    EXPECT_EQ(cutter.CutterEnabled, 0);
}

TEST_F(Options, OkChecksStoresAndWrites)
{
    struct Case
    {
        QStringList typed;
        QString message;     // empty: accepted
        int focusField;      // the field that gets the focus after a message
        CutterOptions saved; // when accepted
    } cases[] = {
        {{"0", "60", "0", "0", "0", "5"}, "Minutes must less than 60", 1, {}},
        {{"0", "0", "0", "0", "61", "5"}, "Minutes must less than 60", 4, {}},
        {{"0", "0", "59.5", "0", "0", "5"}, "Seconds must less than 60", 2, {}},
        {{"0", "0", "0", "0", "0", "59.4"}, "Seconds must less than 60", 5, {}}, // the exact value counts
        {{"0", "0", "60", "0", "60", "0"}, "Minutes must less than 60", 4, {}},  // minutes before seconds
        {{"0", "0", "59", "0", "0", "5"}, "", 0, {0, 1, 59, 5}},
        {{"0", "0", "0", "0", "0", "5"}, "", 0, {0, 1, 0, 5}}, // the length's seconds alone keep it on
        {{"0", "1", "30", "0", "0", "45"}, "", 0, {0, 1, 90, 45}},
        {{"100", "0", "0", "0", "0", "1"}, "", 0, {0, 1, 360000, 1}},
        {{"0", "0", "0", "0", " 0 ", "x"}, "", 0, {0, 0, 0, 0}},   // all zero: the cutter goes off
        {{"0", "0", "0.5", "0", "0", "2.5"}, "", 0, {0, 1, 0, 2}}, // halves to even
        {{"1000000", "0", "0", "99999999999999999999", "0", "0"}, "", 0, {0, 1, 2147483647, 2147483647}},
        {{"-1", "0", "0", "0", "0", "9"}, "", 0, {0, 1, -3600, 9}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed.join(' ').toStdString());
        QFile::remove(file);
        messages.shown.clear();
        frmOptions &d = Open({0, 1, 0, 0});
        Type(d, c.typed);
        d.imgOK_Click();
        if (!c.message.isEmpty()) {
            ASSERT_EQ(messages.shown.size(), 1);
            EXPECT_EQ(messages.shown[0].text, c.message);
            EXPECT_EQ(messages.shown[0].title, "Min");
            EXPECT_EQ(messages.shown[0].icon, Icon::Warning);
            QLineEdit *fields[] = {d.txtFromH(), d.txtFromM(), d.txtFromS(),
                                   d.txtToH(),   d.txtToM(),   d.txtToS()};
            EXPECT_EQ(d.focusWidget(), fields[c.focusField]);
            EXPECT_TRUE(d.isVisible());
            EXPECT_EQ(Written(), "<none>");
            EXPECT_EQ(cutter, (CutterOptions{0, 1, 0, 0}));
        } else {
            EXPECT_TRUE(messages.shown.isEmpty());
            EXPECT_EQ(cutter, c.saved);
            EXPECT_EQ(Written(), QString("%1\r\n%2\r\n%3\r\n%4\r\n")
                                     .arg(c.saved.FinishSoundIndex)
                                     .arg(c.saved.CutterEnabled)
                                     .arg(c.saved.CutStartSeconds)
                                     .arg(c.saved.CutLengthSeconds)
                                     .toLatin1());
            EXPECT_FALSE(d.isVisible());
        }
    }
}

TEST_F(Options, TabGoesThroughTheChoicesInOrder)
{
    frmOptions &d = Open({0, 1, 0, 0});
    const QList<QWidget *> wanted = {d.cmbSR(),  d.chkMC(),  d.txtFromH(), d.txtFromM(), d.txtFromS(),
                                     d.txtToH(), d.txtToM(), d.txtToS(),   d.cmbFiles()};
    QList<QWidget *> order;
    QWidget *at = d.cmbSR();
    do {
        if (wanted.contains(at))
            order << at;
        at = at->nextInFocusChain();
    } while (at != d.cmbSR() && order.size() < wanted.size());
    EXPECT_EQ(order, wanted);
}

TEST_F(Options, BackAndExitChangeNothing)
{
    for (void (frmOptions::*close)() : {&frmOptions::imgBack_Click, &frmOptions::imgExit_Click}) {
        PutFile(file, " 1\r\n1\r\n90\r\n45");
        frmOptions &d = Open({1, 1, 90, 45});
        Type(d, {"0", "0", "1", "0", "0", "2"});
        d.cmbSR()->setCurrentIndex(0);
        (d.*close)();
        EXPECT_EQ(Written(), " 1\r\n1\r\n90\r\n45");
        EXPECT_EQ(cutter, (CutterOptions{1, 1, 90, 45}));
        EXPECT_FALSE(d.isVisible());
    }
}

TEST(Commands, TheCutAppliesToTheNextConversion)
{
    WindowFixture f;
    // 90 seconds of silence, then 50 of a tone: a cut from 90 s starts with sound.
    const QString clip = f.work.path() + "/clip.wav";
    int code = -1;
    RunProgram("ffmpeg",
               {"-v", "error", "-y", "-f", "lavfi", "-i", "anullsrc=r=44100:cl=stereo:d=90", "-f", "lavfi",
                "-i", "sine=frequency=440:sample_rate=44100:duration=50", "-filter_complex",
                "[0][1]concat=n=2:v=0:a=1", clip},
               &code);
    ASSERT_EQ(code, 0);
    frmMain &w = f.Start();
    WhenShown([](QWidget *shown) {
        auto *options = qobject_cast<frmOptions *>(shown);
        ASSERT_NE(options, nullptr);
        options->chkMC()->setCheckState(Qt::Checked);
        options->txtFromM()->setText("1");
        options->txtFromS()->setText("30");
        options->txtToS()->setText("45");
        options->imgOK_Click();
    });
    EXPECT_FALSE(w.Ui().lblCut->isVisible());
    w.imgToolbar_Click(2);
    EXPECT_EQ(f.ReadProgramFile("options.ini"), "0\r\n1\r\n90\r\n45\r\n");
    // A cut that is on shows beside Convert.
    EXPECT_TRUE(w.Ui().lblCut->isVisible());
    EXPECT_EQ(w.Ui().lblCut->text(), "Cut: 0:01:30 + 45 s");
    EXPECT_TRUE(w.Ui().lblCut->toolTip().contains("45 s from 0:01:30")) << w.Ui().lblCut->toolTip();
    w.Ui().cmbOF->setCurrentIndex(3);
    w.Ui().txtPath->setText(f.work.path() + "/out");
    f.dialogs.files = {clip};
    w.imgAdd_Click();
    w.imgConvert_Click();
    ASSERT_TRUE(f.WaitForBatchEnd());
    EXPECT_TRUE(f.messages.shown.isEmpty()) << f.messages.Texts().join('\n').toStdString();
    const QString out = f.work.path() + "/out/clip.wav";
    EXPECT_NEAR(ProbeAudio(out).seconds, 45.0, 0.1);
    // Its very first second already holds the tone.
    const QString volume = QString::fromUtf8(
        RunProgram("sh", {"-c", "ffmpeg -hide_banner -i '" + out +
                                    "' -t 1 -af volumedetect -f null - 2>&1 | grep max_volume"}));
    EXPECT_FALSE(volume.contains("-91")) << volume.toStdString();
    EXPECT_TRUE(volume.contains("max_volume")) << volume.toStdString();

    // Its click opens the options, where the cut is switched off; then it is gone.
    WhenShown([](QWidget *shown) {
        auto *options = qobject_cast<frmOptions *>(shown);
        ASSERT_NE(options, nullptr);
        options->chkMC()->setCheckState(Qt::Unchecked);
        options->imgOK_Click();
    });
    w.Ui().lblCut->Click();
    EXPECT_EQ(f.ReadProgramFile("options.ini"), "0\r\n0\r\n90\r\n45\r\n");
    EXPECT_FALSE(w.Ui().lblCut->isVisible());
}

} // namespace
