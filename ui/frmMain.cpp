#include "frmMain.h"

#include "Accessibility.h"
#include "HotArea.h"
#include "InstanceChannel.h"
#include "ProductSite.h"
#include "ProgressBar.h"
#include "Skin.h"
#include "SkinChrome.h"
#include "SkinLayout.h"
#include "SkinStyle.h"
#include "engine/UnfinishedOutput.h"
#include "frmMenu.h"
#include "frmSuggest.h"
#include "platform/Dialogs.h"
#include "platform/EndSignals.h"
#include "platform/MessagePump.h"
#include "platform/ProcessList.h"
#include "platform/Shell.h"
#include "platform/UserMessages.h"
#include "queue/FolderSearch.h"
#include "queue/PathTests.h"
#include "queue/QueueDrops.h"
#include "queue/QueueEntries.h"
#include "queue/QueueTexts.h"
#include "queue/TemporaryCopies.h"
#include "settings/OutputFolder.h"
#include "settings/OutputPickers.h"
#include "settings/SettingsFiles.h"
#include "settings/frmOptions.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QTreeView>

namespace {

using namespace SkinLayout;

// How often a folder search lets the window handle its events.
constexpr int kSearchPumpMilliSeconds = 5;
// How often unloading tries to delete a leftover temporary file before it gives up.
constexpr int kDeleteAttempts = 20;

QString ShownCaption(const QString &caption)
{
    return QString(caption).replace(QStringLiteral("&&"), QStringLiteral("&"));
}

// Puts every member of a group of hot areas (the toolbar, the menu tabs) back to idle.
void IdleAll(const QMap<int, HotArea *> &group)
{
    for (HotArea *area : group)
        area->Idle();
}

QComboBox *MakePicker(QWidget *parent, const QRect &place, const QStringList &items, const QString &tip)
{
    auto *picker = new QComboBox(parent);
    picker->setGeometry(place);
    picker->addItems(items);
    picker->setEditable(false);
    picker->setToolTip(tip);
    return picker;
}

} // namespace

frmMain::frmMain(const platform::ProgramPlaces &places, Services services, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Window), m_places(places), m_services(services),
      m_settings(places.programFolder, places.configFolder)
{
    BuildControls();
    Form_Load();
}

frmMain::~frmMain()
{
    // The drop targets go before the list they watch, so no drop handling sees it half gone.
    delete m_drops;
    m_drops = nullptr;
}

void frmMain::BuildControls()
{
    // Before any control exists, so each is described as what it is from the start.
    InstallAccessibility();
    setWindowTitle(QStringLiteral("Brimwave"));
    setWindowIcon(Skin::ProgramIcon());
    setFixedSize(kWindowSize);
    const QFont font = Skin::WindowFont();
    setFont(font);
    setStyleSheet(SkinStyleSheet());
    m_chrome = new SkinChrome(this, Skin::Picture(QStringLiteral("face")), m_timer2);
    connect(m_chrome, &SkinChrome::BareSkinMoved, this, &frmMain::Form_MouseMove);
    const QCursor hand = Skin::HandCursor();

    // The queue.
    m_LV = new QTreeView(this);
    m_LV->setGeometry(kList);
    m_LV->setModel(&m_queue);
    m_LV->setRootIsDecorated(false);
    m_LV->setUniformRowHeights(true);
    m_LV->setAlternatingRowColors(true);
    m_LV->setSelectionMode(QAbstractItemView::SingleSelection);
    m_LV->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_LV->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_LV->setTextElideMode(Qt::ElideMiddle);
    m_LV->header()->setStretchLastSection(false);
    m_LV->header()->setSectionsMovable(false);
    // The names take what the format column leaves, also when a scroll bar takes its share.
    m_LV->header()->setSectionResizeMode(QueueModel::FileNameColumn, QHeaderView::Stretch);
    m_LV->header()->setSectionResizeMode(QueueModel::FormatColumn, QHeaderView::Fixed);
    m_LV->setColumnWidth(QueueModel::FormatColumn, kFormatColumnWidth);
    m_LV->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    // The hint over the empty list: a small panel holding its caption.
    m_picText = new QWidget(this);
    m_picText->setObjectName(QStringLiteral("picText"));
    m_picText->setGeometry(kHint);
    m_lblText = new QLabel(ShownCaption(IdleHintCaption()), m_picText);
    m_lblText->setObjectName(QStringLiteral("lblText"));
    m_lblText->setGeometry(m_picText->rect());
    m_lblText->setAlignment(Qt::AlignCenter);

    // The drop overlay: laid over the list at start-up, shown while files are dragged over it.
    auto *overlay = new QLabel(this);
    overlay->setPixmap(Skin::Picture(QStringLiteral("picDrop")));
    overlay->setObjectName(QStringLiteral("picDrop"));
    m_picDrop = overlay;
    m_picDrop->hide();

    // Progress, and the Stop button beside it while a batch runs.
    m_imgPB = new ProgressFill(this, kProgressBar);
    m_lblPB = new ProgressText(this, kProgressLabel, m_imgPB);
    m_lblPB->setText(QStringLiteral("0%"));
    m_imgPB->SetLabel(m_lblPB);
    m_imgStop = new HotArea(this, kStop);
    m_imgStop->SetIdlePicture(Skin::Picture(QStringLiteral("imgStop")));
    m_imgStop->SetHoverPicture(Skin::Picture(QStringLiteral("imgStopLight")));
    m_imgStop->setToolTip(QStringLiteral("Stop converting (Esc)"));
    m_imgStop->hide();
    connect(m_imgStop, &HotArea::Clicked, this, &frmMain::imgStop_Click);

    // Output pickers with their drop-down buttons, and the output folder.
    m_cmbOF = MakePicker(this, kFormatPicker, OutputPickers::FormatItems(), QStringLiteral("Output Format"));
    m_cmbBR =
        MakePicker(this, kBitratePicker, OutputPickers::BitrateItems(), QStringLiteral("MP3 Audio Bitrate"));
    m_cmbR =
        MakePicker(this, kRatePicker, OutputPickers::SampleRateItems(), QStringLiteral("MP3 Audio Rate"));
    m_cmbChannel = MakePicker(this, kChannelPicker, OutputPickers::ChannelItems(),
                              QStringLiteral("MP3 Audio Channel(Stereo or Mono)"));
    m_txtPath = new QLineEdit(this);
    m_txtPath->setGeometry(kOutputFolder);
    // A file dropped here would become a "file://" text in the folder, and Exit would save it.
    m_txtPath->setAcceptDrops(false);
    m_txtPath->setToolTip(QStringLiteral("Select a Folder to Output"));
    // A caption above each choice; screen readers name the choice after it.
    const std::pair<QWidget *, const char *> captions[] = {{m_cmbOF, "Output format"},
                                                           {m_cmbBR, "Bitrate"},
                                                           {m_cmbR, "Sample rate"},
                                                           {m_cmbChannel, "Channels"},
                                                           {m_txtPath, "Output folder"}};
    for (const auto &[control, caption] : captions) {
        auto *label = new QLabel(QString::fromLatin1(caption), this);
        label->setObjectName(QStringLiteral("caption"));
        label->setGeometry(control->x(), control->y() - 17, 120, 15);
        label->setBuddy(control);
        control->setAccessibleName(label->text());
    }
    const auto pickerButton = [&](QComboBox *picker, void (frmMain::*click)()) {
        auto *button = new HotArea(this, PickerButton(picker->geometry()));
        button->SetIdlePicture(Skin::Picture(QStringLiteral("imgButton")));
        button->SetHoverPicture(Skin::Picture(QStringLiteral("imgButtonLight")));
        button->setToolTip(picker->toolTip());
        connect(button, &HotArea::Clicked, this, click);
        return button;
    };
    m_picButtonOF = pickerButton(m_cmbOF, &frmMain::picButtonOF_Click);
    m_picButtonBR = pickerButton(m_cmbBR, &frmMain::picButtonBR_Click);
    m_picButtonR = pickerButton(m_cmbR, &frmMain::picButtonR_Click);
    m_picButtonChannel = pickerButton(m_cmbChannel, &frmMain::picButtonChannel_Click);
    setTabOrder(m_cmbOF, m_cmbBR);
    setTabOrder(m_cmbBR, m_cmbR);
    setTabOrder(m_cmbR, m_cmbChannel);
    setTabOrder(m_cmbChannel, m_txtPath);

    m_imgBrowse = new HotArea(this, kBrowse);
    m_imgBrowse->SetHoverPicture(Skin::Picture(QStringLiteral("imgBrowseLight")));
    m_imgBrowse->SetPressedPicture(Skin::Picture(QStringLiteral("imgBrowseDark")));
    m_imgBrowse->setToolTip(QStringLiteral("Select an Output Folder"));
    connect(m_imgBrowse, &HotArea::PointerMoved, this, &frmMain::imgBrowse_MouseMove);
    connect(m_imgBrowse, &HotArea::ButtonDown, this, &frmMain::imgBrowse_MouseDown);
    connect(m_imgBrowse, &HotArea::Clicked, this, &frmMain::imgBrowse_Click);

    m_imgConvert = new HotArea(this, kConvert);
    m_imgConvert->SetHoverPicture(Skin::Picture(QStringLiteral("imgConvertData")));
    m_imgConvert->SetDisabledPicture(Skin::Picture(QStringLiteral("imgConvertDisabled")));
    m_imgConvert->SetPressLook(HotArea::PressLook::Idle);
    connect(m_imgConvert, &HotArea::Clicked, this, &frmMain::imgConvert_Click);

    // The window's own buttons.
    const auto titleButton = [&](const QRect &place, const char *hover, const char *tip) {
        auto *area = new HotArea(this, place);
        area->SetHoverPicture(Skin::Picture(QString::fromLatin1(hover)));
        area->setToolTip(QString::fromLatin1(tip));
        area->setCursor(hand);
        return area;
    };
    m_imgHelp = titleButton(kHelp, "imgHelpLight", "Help & Tutorial");
    m_imgMin = titleButton(kMin, "imgMinLight", "Minimize Window");
    m_imgExit = titleButton(kExit, "imgExitLight", "Exit");
    connect(m_imgMin, &HotArea::Clicked, this, &frmMain::imgMin_Click);
    connect(m_imgExit, &HotArea::Clicked, this, &frmMain::imgExit_Click);
    connect(m_imgHelp, &HotArea::Clicked, this, &frmMain::imgHelp_Click);

    // Toolbar and menu tabs: one lit member per group.
    for (int index : kToolbarIndexes) {
        auto *button = new HotArea(this, ToolbarButton(index));
        button->SetHoverPicture(Skin::Picture(QStringLiteral("imgButtonData_%1").arg(index)));
        button->SetDisabledPicture(Skin::Picture(QStringLiteral("imgButtonDisabled_%1").arg(index)));
        connect(button, &HotArea::PointerMoved, this, [this] { IdleAll(m_imgToolbar); });
        connect(button, &HotArea::ButtonDown, this, [this] { IdleAll(m_imgToolbar); });
        button->SetPressLook(HotArea::PressLook::Idle);
        connect(button, &HotArea::Clicked, this, [this, index] { imgToolbar_Click(qint16(index)); });
        m_imgToolbar.insert(index, button);
    }
    for (int i = 0; i < 3; ++i) {
        auto *tab = new HotArea(this, kMenuTabs[i]);
        tab->SetHoverPicture(Skin::Picture(QStringLiteral("imgMenuData_%1").arg(i)));
        tab->SetDisabledPicture(Skin::Picture(QStringLiteral("imgMenuDisabled_%1").arg(i)));
        connect(tab, &HotArea::PointerMoved, this, [this] { IdleAll(m_imgMenu); });
        connect(tab, &HotArea::Clicked, this, [this, i] { imgMenu_Click(qint16(i)); });
        m_imgMenu.insert(i, tab);
    }

    m_lblFeed = new HotText(this, kFeedback, QStringLiteral("Feedback"));
    m_lblFeed->setObjectName(QStringLiteral("lblFeed"));
    m_lblFeed->setCursor(hand);
    QFont feedFont = font;
    feedFont.setPixelSize(10);
    m_lblFeed->setFont(feedFont);
    connect(m_lblFeed, &HotText::Clicked, this, &frmMain::lblFeed_Click);

    // The start panel over the list area, with its one button.
    m_picDoor = new HotArea(this, kDoor);
    m_imgDoorButton = new HotArea(m_picDoor, kDoorButton);
    m_imgDoorButton->SetHoverPicture(Skin::Picture(QStringLiteral("imgDoorButtonData")));
    connect(m_picDoor, &HotArea::PointerMoved, m_imgDoorButton, &HotArea::Idle);
    connect(m_imgDoorButton, &HotArea::Clicked, this, [this] { imgToolbar_Click(0); });
    m_picDoor->installEventFilter(this);

    // The command mailbox, never seen, and the window that holds the popup menus.
    m_txtAction = new QLineEdit(this);
    m_txtAction->setAcceptDrops(false);
    m_txtAction->hide();
    connect(m_txtAction, &QLineEdit::textChanged, this, &frmMain::txtAction_Change);
    m_frmMenu = new frmMenu(
        m_txtAction, [this] { menuRemoveAll_Click(); }, this);

    m_drops = new QueueDrops({m_picDoor, m_picDrop, m_LV, m_picText}, m_queue, m_places.tempFolder, this);
    m_drops->SetIgnoreDrops([this] { return m_searching; });
    BuildKeyboard();
    DescribeForScreenReaders();
}

void frmMain::BuildKeyboard()
{
    // Tab goes along the window: the menus, the toolbar, the list, the output choices, Convert,
    // then the window's own buttons.
    QList<QWidget *> order;
    for (int i = 0; i < 3; ++i)
        order << m_imgMenu[i];
    for (int index : kToolbarIndexes)
        order << m_imgToolbar[index];
    order << m_imgDoorButton << m_LV << m_cmbOF << m_cmbBR << m_cmbR << m_cmbChannel << m_txtPath
          << m_imgBrowse << m_picButtonOF << m_picButtonBR << m_picButtonR << m_picButtonChannel
          << m_imgConvert << m_imgStop << m_lblFeed << m_imgHelp << m_imgMin << m_imgExit;
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    m_picDoor->setFocusPolicy(Qt::NoFocus);

    // Shortcuts go only where a click may go: nothing that changes the queue or the options
    // while a batch runs.
    const auto shortcut = [this](const QKeySequence &keys, QWidget *control, std::function<void()> act) {
        auto *key = new QShortcut(keys, this);
        connect(key, &QShortcut::activated, this, [control, act = std::move(act)] {
            if (control->isEnabled() && control->isVisibleTo(control->window()))
                act();
        });
    };
    shortcut(QKeySequence(QStringLiteral("Ctrl+O")), m_imgToolbar[0], [this] { imgToolbar_Click(0); });
    shortcut(QKeySequence(QStringLiteral("Ctrl+Shift+O")), m_imgToolbar[6], [this] { imgToolbar_Click(6); });
    shortcut(QKeySequence(Qt::Key_Delete), m_imgToolbar[1], [this] { imgRemove_Click(); });
    shortcut(QKeySequence(QStringLiteral("Ctrl+Return")), m_imgConvert, [this] { imgConvert_Click(); });
    shortcut(QKeySequence(QStringLiteral("Ctrl+Enter")), m_imgConvert, [this] { imgConvert_Click(); });
    shortcut(QKeySequence(Qt::Key_F1), m_imgHelp, [this] { imgHelp_Click(); });
    shortcut(QKeySequence(QStringLiteral("Ctrl+Q")), m_imgExit, [this] { imgExit_Click(); });
    shortcut(QKeySequence(Qt::Key_Escape), m_imgStop, [this] { imgStop_Click(); });
    for (int i = 0; i < 3; ++i) {
        shortcut(QKeySequence(QStringLiteral("Alt+") + QLatin1Char(kMenuCaptions[i][0])), m_imgMenu[i],
                 [this, i] { imgMenu_Click(qint16(i)); });
    }
}

void frmMain::DescribeForScreenReaders()
{
    static const char *const toolbarDescriptions[] = {"Add a file to the queue",
                                                      "Remove the selected file or all files",
                                                      "Finish sound and Music Cutter",
                                                      "Open the tutorial",
                                                      "Save the choices and quit",
                                                      "",
                                                      "Add every file in a folder and its subfolders"};
    for (int index : kToolbarIndexes)
        m_imgToolbar[index]->Describe(QString::fromLatin1(ToolbarCaption(index)),
                                      QString::fromLatin1(toolbarDescriptions[index]));
    for (int i = 0; i < 3; ++i)
        m_imgMenu[i]->Describe(QString::fromLatin1(kMenuCaptions[i]),
                               QStringLiteral("Open the %1 menu").arg(QString::fromLatin1(kMenuCaptions[i])));
    m_imgConvert->Describe(QStringLiteral("Convert"), QStringLiteral("Convert every file in the queue"));
    m_imgStop->Describe(QStringLiteral("Stop"),
                        QStringLiteral("Stop converting; the files not done stay queued"));
    m_imgBrowse->Describe(QStringLiteral("Browse for the output folder"), m_imgBrowse->toolTip());
    m_imgDoorButton->Describe(QStringLiteral("Add a file to start"),
                              QStringLiteral("Add a file to the queue"));
    m_imgHelp->Describe(QStringLiteral("Help & Tutorial"), QStringLiteral("Open the tutorial"));
    m_imgMin->Describe(QStringLiteral("Minimize Window"), QStringLiteral("Minimize the window"));
    m_imgExit->Describe(QStringLiteral("Exit"), QStringLiteral("Save the choices and quit"));
    const std::pair<HotArea *, const char *> pickerButtons[] = {{m_picButtonOF, "Output format"},
                                                                {m_picButtonBR, "Bitrate"},
                                                                {m_picButtonR, "Sample rate"},
                                                                {m_picButtonChannel, "Channels"}};
    for (const auto &[button, what] : pickerButtons)
        button->Describe(QStringLiteral("Show the %1 list").arg(QString::fromLatin1(what).toLower()),
                         button->toolTip());
    m_lblFeed->setAccessibleDescription(QStringLiteral("Send us a comment"));
    m_LV->setAccessibleName(QStringLiteral("Files to convert"));
    m_imgPB->setAccessibleName(QStringLiteral("Progress"));
    // The start panel: a pane whose headline and text are drawn on its picture.
    m_picDoor->SetAccessibleRole(QAccessible::Pane);
    m_picDoor->Describe(
        QStringLiteral("Turn your videos into audio"),
        QStringLiteral("Queue video and audio files, choose an output format and folder, then "
                       "press Convert. Every file becomes one audio file."));
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_picDoor && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        CoverWithDoor(event->type() == QEvent::Show);
    return QWidget::eventFilter(watched, event);
}

void frmMain::CoverWithDoor(bool covered)
{
    // What the start panel hides takes no focus, so no key can change it unseen.
    const QList<QWidget *> children = findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (child == m_picDoor || !m_picDoor->geometry().intersects(child->geometry()))
            continue;
        if (covered && !m_focusUnderDoor.contains(child)) {
            m_focusUnderDoor.insert(child, child->focusPolicy());
            child->setFocusPolicy(Qt::NoFocus);
            if (child->hasFocus() || child->isAncestorOf(QApplication::focusWidget()))
                child->clearFocus();
        } else if (!covered && m_focusUnderDoor.contains(child)) {
            child->setFocusPolicy(m_focusUnderDoor.take(child));
        }
    }
}

void frmMain::AcceptLaterStarts(InstanceChannel &channel)
{
    connect(&channel, &InstanceChannel::BringToFrontRequested, this, &frmMain::BringToFront);
    connect(&channel, &InstanceChannel::FilesHanded, this, &frmMain::QueueFilesGiven);
}

void frmMain::QueueFilesGiven(const QStringList &files)
{
    // During a folder search they wait for its end, like nothing else may change the queue.
    if (m_searching) {
        m_filesWaiting += files;
        return;
    }
    m_drops->QueueOnStartPanel(files);
}

void frmMain::BringToFront()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void frmMain::Form_Load()
{
    // Prepared out of sight; the reveal timer shapes and centres the window.
    m_chrome->Park();
    m_FileDialogs = std::make_unique<CommonDlgsW>(m_services.dialogs);
    platform::PumpMessages();
    m_imgPB->resize(0, m_imgPB->height());

    m_batch = std::make_unique<BatchConverter>(
        m_queue, m_services.messages, m_services.shell, [this] { return CurrentChoices(); },
        m_places.programFolder, m_places.unfinishedNote);
    connect(m_batch.get(), &BatchConverter::ProgressChanged, this, &frmMain::ShowProgress);
    connect(m_batch.get(), &BatchConverter::BatchFinished, this, [this] { BatchEnded(true); });
    connect(m_batch.get(), &BatchConverter::BatchHalted, this, [this] { BatchEnded(false); });
    connect(m_batch.get(), &BatchConverter::BatchStopped, this, [this] {
        SetBatchControlsEnabled(true);
        m_imgPB->resize(0, m_imgPB->height());
        m_lblPB->setText(QStringLiteral("Stopped."));
    });

    LoadSettings();
    // Asked to end by the system (a logout, `kill`, a closed terminal): as if the window closed.
    m_endSignals = new platform::EndSignals([this] { close(); }, this);
    m_picDoor->SetIdlePicture(Skin::Picture(QStringLiteral("imgDoor")));
    platform::KillProcessByName(platform::ConverterProcessName());
    // A file a crashed run was writing is cut short: it goes, now that no converter writes.
    UnfinishedOutput::RemoveLeftover(m_places.unfinishedNote);
    update();
    connect(&m_timer2, &QTimer::timeout, this, &frmMain::Timer2_Timer);
    m_timer2.start();
    m_picDrop->setGeometry(m_LV->geometry());
    m_picDrop->raise();
    m_picDoor->raise();
    DeleteFolderTree(m_places.tempFolder);
    // The keyboard starts where the mouse would: the start panel's button.
    m_imgDoorButton->setFocus();
}

void frmMain::LoadSettings()
{
    m_settings.RemoveSaveLeftovers();
    AppSettings settings; // the first-run values
    settings.OutputFolder = m_places.defaultOutputFolder;
    LoadAppSettings(m_settings.ToRead(QStringLiteral("setup.ini")), settings, m_places.defaultOutputFolder);
    ApplyAppSettings(settings);
    m_cutter = LoadCutterOptions(m_settings.ToRead(QStringLiteral("options.ini")));
}

void frmMain::ApplyAppSettings(const AppSettings &settings)
{
    m_cmbBR->setCurrentIndex(settings.BitrateIndex);
    m_cmbR->setCurrentIndex(settings.SampleRateIndex);
    m_cmbChannel->setCurrentIndex(settings.ChannelIndex);
    m_txtPath->setText(settings.OutputFolder);
    m_cmbOF->setCurrentIndex(settings.FormatIndex);
}

AppSettings frmMain::CurrentAppSettings() const
{
    AppSettings settings;
    settings.BitrateIndex = qint16(m_cmbBR->currentIndex());
    settings.SampleRateIndex = qint16(m_cmbR->currentIndex());
    settings.ChannelIndex = qint16(m_cmbChannel->currentIndex());
    settings.OutputFolder = m_txtPath->text();
    settings.FormatIndex = qint16(m_cmbOF->currentIndex());
    return settings;
}

ConversionChoices frmMain::CurrentChoices() const
{
    ConversionChoices choices;
    choices.formatIndex = m_cmbOF->currentIndex();
    choices.bitrateText = m_cmbBR->currentText();
    choices.sampleRateText = m_cmbR->currentText();
    choices.channelIndex = m_cmbChannel->currentIndex();
    choices.outputFolder = OutputFolder();
    choices.cutter = m_cutter;
    return choices;
}

void frmMain::Timer2_Timer()
{
    m_chrome->Reveal();
}

void frmMain::Form_MouseMove()
{
    m_lblFeed->SetBold(false);
    m_imgHelp->Idle();
    m_imgExit->Idle();
    for (HotArea *button : {m_picButtonChannel, m_picButtonR, m_picButtonOF, m_picButtonBR})
        button->Idle();
    m_imgBrowse->Idle();
    m_imgMin->Idle();
    m_imgDoorButton->Idle();
    IdleAll(m_imgToolbar);
    m_picDrop->hide();
    IdleAll(m_imgMenu);
    m_imgConvert->Idle();
}

void frmMain::imgMin_Click()
{
    showMinimized();
    m_imgMin->Idle();
}

void frmMain::ShowDropDown(QComboBox *picker)
{
    picker->showPopup();
}

void frmMain::picButtonOF_Click()
{
    ShowDropDown(m_cmbOF);
}

void frmMain::picButtonBR_Click()
{
    ShowDropDown(m_cmbBR);
}

void frmMain::picButtonR_Click()
{
    ShowDropDown(m_cmbR);
}

void frmMain::picButtonChannel_Click()
{
    ShowDropDown(m_cmbChannel);
}

// A move over the browse button lights it, also while a button is held; a press darkens it.
void frmMain::imgBrowse_MouseMove()
{
    m_imgBrowse->SetLook(HotArea::Look::Hover);
}

void frmMain::imgBrowse_MouseDown()
{
    m_imgBrowse->SetPressedLook();
}

void frmMain::imgHelp_Click()
{
    m_services.shell.OpenWebPage(m_site + QStringLiteral("/tutorial.html"));
    m_imgHelp->Idle();
}

void frmMain::ShowHintWhenEmpty()
{
    m_picText->setVisible(m_queue.IsEmpty());
}

void frmMain::imgToolbar_Click(qint16 index)
{
    // The first use of the toolbar puts the start panel away for good.
    m_picDoor->hide();
    repaint();
    platform::PumpMessages();
    switch (index) {
    case 0:
        imgAdd_Click();
        break;
    case 1:
        m_frmMenu->menuRemove->exec(QCursor::pos());
        break;
    case 2:
        ShowOptions();
        break;
    case 3:
        imgHelp_Click();
        break;
    case 4:
        imgExit_Click();
        break;
    case 6:
        AddFolderToQueue();
        break;
    default:
        break;
    }
}

void frmMain::imgMenu_Click(qint16 index)
{
    static constexpr QMenu *frmMenu::*menus[] = {&frmMenu::menuFile, &frmMenu::menuOptions,
                                                 &frmMenu::menuAbout};
    if (index < 0 || index > 2)
        return;
    // Each tab's menu opens at its left edge, just below it.
    const QRect tab = kMenuTabs[index];
    (m_frmMenu->*menus[index])->exec(mapToGlobal(QPoint(tab.left(), tab.top() + tab.height())));
}

void frmMain::txtAction_Change()
{
    // Every word is compared with the mailbox as it is now; an operation may have changed it.
    const auto is = [this](const char *word) {
        return m_txtAction->text() == QLatin1String(word);
    };
    if (is("RemoveSelected"))
        imgRemove_Click();
    if (is("A"))
        ShowAbout();
    if (is("AddaFile"))
        imgAdd_Click();
    if (is("menuAddaFolder"))
        imgToolbar_Click(6);
    if (is("menuExit"))
        imgExit_Click();
    if (is("menuHelp"))
        imgHelp_Click();
    if (is("menuOption"))
        imgToolbar_Click(2);
    // Emptying the mailbox runs this once more, with nothing to match.
    m_txtAction->setText(QString());
}

void frmMain::ShowAbout()
{
    m_services.messages.Show(m_site + QStringLiteral(" 2026\nAll rights reserved.\n") + m_site,
                             QStringLiteral("Brimwave"), platform::UserMessages::Icon::None);
}

void frmMain::lblFeed_Click()
{
    frmSuggest form(m_site, this);
    form.exec();
}

void frmMain::ShowOptions()
{
    frmOptions dialog(m_cutter, m_settings.ToWrite(QStringLiteral("options.ini")), m_services.messages, this);
    dialog.exec();
}

void frmMain::menuRemoveAll_Click()
{
    if (m_searching)
        return;
    // One step, so no other handler ever sees a half-emptied queue; then the list shows empty.
    m_queue.RemoveAll();
    m_LV->repaint();
    platform::PumpMessages();
    m_picText->show();
    m_lblText->setText(ShownCaption(IdleHintCaption()));
}

void frmMain::AddFolderToQueue()
{
    if (m_searching)
        return;
    const std::optional<QString> folder =
        m_services.dialogs.BrowseForFolder(this, QStringLiteral("Please select a folder:"), m_lastAddFolder);
    // While the search runs the window stays alive, but no other queue command or drop is taken.
    m_searching = true;
    m_picText->show();
    m_picText->raise();
    m_lblText->setText(ShownCaption(SearchingCaption()));
    if (folder) {
        m_lastAddFolder = *folder;
        // The search offers the window its events twice per entry; handling them at the first
        // entry and then every few milliseconds keeps it just as alive at a fraction of the cost.
        QElapsedTimer clock;
        clock.start();
        qint64 nextPump = 0;
        QHash<qsizetype, QByteArray> rawPaths;
        SearchFilesRecursive(
            *folder, m_lstAddFolder,
            [&] {
                if (clock.elapsed() >= nextPump) {
                    platform::PumpMessages();
                    nextPump = clock.elapsed() + kSearchPumpMilliSeconds;
                }
            },
            &rawPaths);
        m_queue.Append(FoundFileEntries(m_lstAddFolder, rawPaths, m_places.tempFolder));
    }
    m_lstAddFolder.clear();
    m_lblText->setText(ShownCaption(IdleHintCaption()));
    ShowHintWhenEmpty();
    m_searching = false;
    if (!m_filesWaiting.isEmpty())
        QueueFilesGiven(std::exchange(m_filesWaiting, {}));
}

void frmMain::imgAdd_Click()
{
    if (m_searching)
        return;
    m_FileDialogs->FileName.clear();
    m_FileDialogs->Filter = MediaFilter();
    // The dialog opens where the user last took a file from in this run.
    m_FileDialogs->InitDir = m_lastAddFolder.isEmpty() ? QDir::homePath() : m_lastAddFolder;
    if (!m_FileDialogs->ShowOpen(this))
        return;
    const QString path = m_FileDialogs->FileName;
    if (path.isEmpty())
        return;
    m_lastAddFolder = QFileInfo(path).absolutePath();
    MakeTemporaryFolder(m_places.tempFolder);
    m_queue.Append(DialogEntry(path, m_places.tempFolder));
    ShowHintWhenEmpty();
    update();
}

void frmMain::imgRemove_Click()
{
    if (m_searching)
        return;
    const QModelIndex current = m_LV->currentIndex();
    if (current.isValid() && m_LV->selectionModel()->isRowSelected(current.row(), {}))
        m_queue.RemoveRow(current.row());
    if (m_queue.IsEmpty())
        m_picText->show();
}

QString frmMain::OutputFolder() const
{
    return ResolveOutputFolder(m_txtPath->text(), m_places.defaultOutputFolder, QDir::homePath());
}

void frmMain::imgStart_Click()
{
    if (m_queue.IsEmpty()) {
        m_services.messages.Show(QStringLiteral("Please add a file"), QStringLiteral("Add"),
                                 platform::UserMessages::Icon::Warning);
        return;
    }
    // Files land in the folder the user sees, or nowhere: the box shows where they go.
    const QString folder = OutputFolder();
    m_txtPath->setText(folder);
    const QString problem = OutputFolderProblem(folder);
    if (!problem.isEmpty()) {
        m_services.messages.Show(QStringLiteral("The output folder\r\n") + folder +
                                     QStringLiteral("\r\ncannot be used: ") + problem + QLatin1Char('.'),
                                 QStringLiteral("Path"), platform::UserMessages::Icon::Warning);
        return;
    }
    SetBatchControlsEnabled(false);
    m_batch->Start();
}

void frmMain::SetBatchControlsEnabled(bool enabled)
{
    m_imgStop->setVisible(!enabled);
    for (HotArea *button : std::as_const(m_imgToolbar))
        button->setEnabled(enabled);
    for (HotArea *tab : std::as_const(m_imgMenu))
        tab->setEnabled(enabled);
    m_imgConvert->setEnabled(enabled);
    m_lblFeed->setEnabled(enabled);
    if (enabled)
        m_imgBrowse->setEnabled(true);
}

void frmMain::ShowProgress(const ProgressDisplay &display)
{
    m_imgPB->resize(qRound(display.barShare * kProgressBar.width()), m_imgPB->height());
    m_lblPB->setText(display.label);
    m_lblPB->update();
}

void frmMain::imgStop_Click()
{
    m_batch->Stop();
}

void frmMain::BatchEnded(bool finished)
{
    SetBatchControlsEnabled(true);
    if (finished) {
        m_imgPB->resize(0, m_imgPB->height());
        m_lblPB->setText(QStringLiteral("Done."));
    }
}

void frmMain::imgBrowse_Click()
{
    const std::optional<QString> chosen =
        m_services.dialogs.BrowseForFolder(this, QStringLiteral("Please select a folder:"), OutputFolder());
    // Cancelling keeps the folder the box holds.
    if (!chosen)
        return;
    m_txtPath->setText(*chosen);
    if (FolderExists(m_txtPath->text()))
        return;
    m_txtPath->setText(m_places.browseFallbackFolder);
    m_services.messages.Show(
        QStringLiteral("The path has unknown characters.\r\nChanged to the default path ") +
            m_places.browseFallbackName + QLatin1Char('.'),
        QStringLiteral("Path"), platform::UserMessages::Icon::None);
}

void frmMain::imgExit_Click()
{
    SaveAppSettings(m_settings.ToWrite(QStringLiteral("setup.ini")), CurrentAppSettings());
    close();
}

void frmMain::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

void frmMain::Form_Unload()
{
    // No cut-short file is left behind when the program ends during a conversion.
    m_batch->AbandonCurrentFile();
    for (const char *name : {"tmpfile.wav", "tmpfile1.mp3"}) {
        const QString path = m_places.tempFolder + platform::PathSeparator() + QString::fromLatin1(name);
        for (int attempt = 0; attempt < kDeleteAttempts && QFileInfo::exists(path); ++attempt) {
            if (!QFile::remove(path))
                platform::PumpMessages();
        }
    }
    m_services.shell.EndProcess();
}
