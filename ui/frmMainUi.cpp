#include "frmMainUi.h"

#include "Accessibility.h"
#include "Commands.h"
#include "CutterIndicator.h"
#include "HotArea.h"
#include "Picker.h"
#include "ProgressBar.h"
#include "QueueRowLook.h"
#include "Skin.h"
#include "SkinChrome.h"
#include "SkinLayout.h"
#include "SkinStyle.h"
#include "queue/QueueModel.h"
#include "queue/QueueTexts.h"
#include "settings/OutputPickers.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

using namespace SkinLayout;

namespace {

QComboBox *MakePicker(QWidget *parent, const QRect &place, const QStringList &items, const QString &tip)
{
    auto *picker = new Picker(parent);
    picker->setGeometry(place);
    picker->addItems(items);
    picker->setEditable(false);
    picker->setToolTip(tip);
    return picker;
}

// Puts every member of a group of hot areas (the toolbar, the menu tabs) back to idle.
void IdleAll(const QMap<int, HotArea *> &group)
{
    for (HotArea *area : group)
        area->Idle();
}

// Each member of a group lights alone: moving over one puts the others back to idle.
void LightOneAtATime(const QMap<int, HotArea *> &group, bool alsoOnPress)
{
    for (HotArea *area : group) {
        QObject::connect(area, &HotArea::PointerMoved, area, [&group] { IdleAll(group); });
        if (alsoOnPress)
            QObject::connect(area, &HotArea::ButtonDown, area, [&group] { IdleAll(group); });
    }
}

} // namespace

void frmMainUi::setupUi(QWidget *window, QueueModel &queue, QTimer &timer2)
{
    // Before any control exists, so each is described as what it is from the start.
    InstallAccessibility();
    window->setWindowTitle(QStringLiteral("Brimwave"));
    window->setWindowIcon(Skin::ProgramIcon());
    window->setFixedSize(kWindowSize);
    window->setFont(Skin::WindowFont());
    window->setStyleSheet(SkinStyleSheet());
    chrome = new SkinChrome(window, Skin::Picture(Pictures::face), timer2);
    BuildQueueArea(window, queue);
    BuildChoices(window);
    BuildButtons(window);
    BuildKeyboardOrder(window);
    DescribeForScreenReaders();
}

void frmMainUi::BuildQueueArea(QWidget *window, QueueModel &queue)
{
    // A table: taking a row off costs the same however many are queued (a tree view lays out
    // every row again).
    LV = new QTableView(window);
    LV->setGeometry(kList);
    LV->setModel(&queue);
    LV->setShowGrid(false);
    LV->setWordWrap(false);
    LV->setCornerButtonEnabled(false);
    LV->setTabKeyNavigation(false);
    LV->setAlternatingRowColors(true);
    LV->setSelectionMode(QAbstractItemView::SingleSelection);
    LV->setSelectionBehavior(QAbstractItemView::SelectRows);
    LV->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LV->setTextElideMode(Qt::ElideMiddle);
    LV->verticalHeader()->hide();
    LV->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    LV->verticalHeader()->setDefaultSectionSize(LV->fontMetrics().height() + kRowPadding);
    QHeaderView *columns = LV->horizontalHeader();
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columns->setHighlightSections(false);
    columns->setStretchLastSection(false);
    columns->setSectionsMovable(false);
    // The names take what the format column leaves, also when a scroll bar takes its share.
    columns->setSectionResizeMode(QueueModel::FileNameColumn, QHeaderView::Stretch);
    columns->setSectionResizeMode(QueueModel::FormatColumn, QHeaderView::Fixed);
    LV->setColumnWidth(QueueModel::FormatColumn, kFormatColumnWidth);
    LV->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    LV->setItemDelegate(new QueueRowLook(LV));

    lblBatch = new QLabel(window);
    lblBatch->setObjectName(QStringLiteral("lblBatch"));
    lblBatch->setGeometry(kBatchCaption);
    lblBatch->hide();

    // The hint over the empty list: a small panel holding its caption.
    picText = new QWidget(window);
    picText->setObjectName(QStringLiteral("picText"));
    picText->setGeometry(kHint);
    lblText = new QLabel(ShownCaption(IdleHintCaption()), picText);
    lblText->setObjectName(QStringLiteral("lblText"));
    lblText->setGeometry(picText->rect());
    lblText->setAlignment(Qt::AlignCenter);

    // The drop overlay: laid over the list at start-up, shown while files are dragged over it.
    auto *overlay = new QLabel(window);
    overlay->setPixmap(Skin::Picture(Pictures::picDrop));
    overlay->setObjectName(QStringLiteral("picDrop"));
    picDrop = overlay;
    picDrop->hide();

    // Progress, and the Stop button beside it while a batch runs.
    imgPB = new ProgressFill(window, kProgressBar);
    lblPB = new ProgressText(window, kProgressLabel, imgPB);
    lblPB->setText(QStringLiteral("0%"));
    imgPB->SetLabel(lblPB);
    imgStop = new HotArea(window, kStop);
    imgStop->SetIdlePicture(Skin::Picture(Pictures::imgStop));
    imgStop->SetHoverPicture(Skin::Picture(Pictures::imgStopLight));
    imgStop->setToolTip(QStringLiteral("Stop converting (Esc)"));
    imgStop->hide();

    // The start panel over the list area, with its one button; its own picture comes at load.
    picDoor = new HotArea(window, kDoor);
    imgDoorButton = new HotArea(picDoor, kDoorButton);
    imgDoorButton->SetHoverPicture(Skin::Picture(Pictures::imgDoorButtonData));
    QObject::connect(picDoor, &HotArea::PointerMoved, imgDoorButton, &HotArea::Idle);
}

void frmMainUi::BuildChoices(QWidget *window)
{
    cmbOF = MakePicker(window, kFormatPicker, OutputPickers::FormatItems(), QStringLiteral("Output Format"));
    cmbBR = MakePicker(window, kBitratePicker, OutputPickers::BitrateItems(),
                       QStringLiteral("MP3 Audio Bitrate"));
    cmbR =
        MakePicker(window, kRatePicker, OutputPickers::SampleRateItems(), QStringLiteral("MP3 Audio Rate"));
    cmbChannel = MakePicker(window, kChannelPicker, OutputPickers::ChannelItems(),
                            QStringLiteral("MP3 Audio Channel(Stereo or Mono)"));
    txtPath = new QLineEdit(window);
    txtPath->setGeometry(kOutputFolder);
    // A file dropped here would become a "file://" text in the folder, and Exit would save it.
    txtPath->setAcceptDrops(false);
    txtPath->setToolTip(QStringLiteral("Select a Folder to Output"));
    // A long folder shows its start (where it is) once typing in it ends (the program shows the
    // start whenever it sets the box); the tool tip holds the whole path.
    QObject::connect(txtPath, &QLineEdit::textChanged, txtPath, [box = txtPath](const QString &folder) {
        box->setToolTip(QStringLiteral("Select a Folder to Output") +
                        (folder.isEmpty() ? QString() : QLatin1Char('\n') + folder));
    });
    QObject::connect(txtPath, &QLineEdit::editingFinished, txtPath,
                     [box = txtPath] { box->setCursorPosition(0); });
    // A caption above each choice; screen readers name the choice after it.
    const std::pair<QWidget *, const char *> captions[] = {{cmbOF, "Output format"},
                                                           {cmbBR, "Bitrate"},
                                                           {cmbR, "Sample rate"},
                                                           {cmbChannel, "Channels"},
                                                           {txtPath, "Output folder"}};
    for (const auto &[control, caption] : captions) {
        auto *label = new QLabel(QString::fromLatin1(caption), window);
        label->setObjectName(QStringLiteral("caption"));
        label->setGeometry(control->x(), control->y() - 17, 120, 15);
        label->setBuddy(control);
        control->setAccessibleName(label->text());
    }
    const auto pickerButton = [&](QComboBox *picker) {
        auto *button = new HotArea(window, PickerButton(picker->geometry()));
        button->SetIdlePicture(Skin::Picture(Pictures::imgButton));
        button->SetHoverPicture(Skin::Picture(Pictures::imgButtonLight));
        button->setToolTip(picker->toolTip());
        // The picker opens its own list (Alt+Down): its button is for the mouse alone.
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    picButtonOF = pickerButton(cmbOF);
    picButtonBR = pickerButton(cmbBR);
    picButtonR = pickerButton(cmbR);
    picButtonChannel = pickerButton(cmbChannel);

    imgBrowse = new HotArea(window, kBrowse);
    imgBrowse->SetHoverPicture(Skin::Picture(Pictures::imgBrowseLight));
    imgBrowse->SetPressedPicture(Skin::Picture(Pictures::imgBrowseDark));
    imgBrowse->setToolTip(QStringLiteral("Select an Output Folder"));
}

void frmMainUi::BuildButtons(QWidget *window)
{
    const QCursor hand = Skin::HandCursor();
    imgConvert = new HotArea(window, kConvert);
    imgConvert->SetHoverPicture(Skin::Picture(Pictures::imgConvertData));
    imgConvert->SetDisabledPicture(Skin::Picture(Pictures::imgConvertDisabled));
    imgConvert->SetPressLook(HotArea::PressLook::Idle);
    lblCut = new CutterIndicator(window, kCutIndicator);
    lblCut->setCursor(hand);

    // The window's own buttons.
    const auto titleButton = [&](const QRect &place, const PictureName &hover, const char *tip) {
        auto *area = new HotArea(window, place);
        area->SetHoverPicture(Skin::Picture(hover));
        area->setToolTip(QString::fromLatin1(tip));
        area->setCursor(hand);
        return area;
    };
    imgHelp = titleButton(kHelp, Pictures::imgHelpLight, "Help & Tutorial");
    imgMin = titleButton(kMin, Pictures::imgMinLight, "Minimize Window");
    imgExit = titleButton(kExit, Pictures::imgExitLight, "Exit");

    // Toolbar and menu tabs: one lit member per group.
    for (int index : kToolbarIndexes) {
        auto *button = new HotArea(window, ToolbarButton(index));
        button->SetHoverPicture(Skin::Picture(Pictures::imgButtonData(index)));
        button->SetDisabledPicture(Skin::Picture(Pictures::imgButtonDisabled(index)));
        button->SetPressLook(HotArea::PressLook::Idle);
        imgToolbar.insert(index, button);
    }
    LightOneAtATime(imgToolbar, true);
    for (int i = 0; i < 3; ++i) {
        auto *tab = new HotArea(window, kMenuTabs[i]);
        tab->SetHoverPicture(Skin::Picture(Pictures::imgMenuData(i)));
        tab->SetDisabledPicture(Skin::Picture(Pictures::imgMenuDisabled(i)));
        imgMenu.insert(i, tab);
    }
    LightOneAtATime(imgMenu, false);

    lblFeed = new HotText(window, kFeedback, QStringLiteral("Feedback"));
    lblFeed->setObjectName(QStringLiteral("lblFeed"));
    lblFeed->setCursor(hand);
    QFont feedFont = window->font();
    feedFont.setPixelSize(10);
    lblFeed->setFont(feedFont);

    txtAction = new QLineEdit(window);
    txtAction->setAcceptDrops(false);
    txtAction->hide();
}

void frmMainUi::BuildKeyboardOrder(QWidget *window)
{
    // Tab goes along the window: the menus, the toolbar, the list, the output choices, Convert,
    // then the window's own buttons.
    QList<QWidget *> order;
    for (int i = 0; i < 3; ++i)
        order << imgMenu[i];
    for (int index : kToolbarIndexes)
        order << imgToolbar[index];
    order << imgDoorButton << LV << cmbOF << cmbBR << cmbR << cmbChannel << txtPath << imgBrowse << lblCut
          << imgConvert << imgStop << lblFeed << imgHelp << imgMin << imgExit;
    for (int i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    picDoor->setFocusPolicy(Qt::NoFocus);
    Q_UNUSED(window);
}

void frmMainUi::DescribeForScreenReaders()
{
    using Commands::CommandId;
    const auto describe = [](HotArea *area, CommandId id) {
        const Commands::Command &command = Commands::Of(id);
        area->Describe(QString::fromLatin1(command.caption), QString::fromLatin1(command.description));
    };
    for (int index : kToolbarIndexes)
        describe(imgToolbar[index], Commands::AtToolbar(index)->id);
    for (int i = 0; i < 3; ++i)
        imgMenu[i]->Describe(QString::fromLatin1(kMenuCaptions[i]),
                             QStringLiteral("Open the %1 menu").arg(QString::fromLatin1(kMenuCaptions[i])));
    describe(imgConvert, CommandId::Convert);
    describe(imgStop, CommandId::Stop);
    imgBrowse->Describe(QStringLiteral("Browse for the output folder"), imgBrowse->toolTip());
    imgDoorButton->Describe(QStringLiteral("Add a file to start"), QStringLiteral("Add a file to the queue"));
    imgHelp->Describe(QStringLiteral("Help & Tutorial"),
                      QString::fromLatin1(Commands::Of(CommandId::Help).description));
    imgMin->Describe(QStringLiteral("Minimize Window"), QStringLiteral("Minimize the window"));
    imgExit->Describe(QString::fromLatin1(Commands::Of(CommandId::Exit).caption),
                      QString::fromLatin1(Commands::Of(CommandId::Exit).description));
    const std::pair<HotArea *, const char *> pickerButtons[] = {{picButtonOF, "Output format"},
                                                                {picButtonBR, "Bitrate"},
                                                                {picButtonR, "Sample rate"},
                                                                {picButtonChannel, "Channels"}};
    for (const auto &[button, what] : pickerButtons)
        button->Describe(QStringLiteral("Show the %1 list").arg(QString::fromLatin1(what).toLower()),
                         button->toolTip());
    lblFeed->setAccessibleDescription(QStringLiteral("Send us a comment"));
    LV->setAccessibleName(QStringLiteral("Files to convert"));
    imgPB->setAccessibleName(QStringLiteral("Progress"));
    // The start panel: a pane whose headline and text are drawn on its picture.
    picDoor->SetAccessibleRole(QAccessible::Pane);
    picDoor->Describe(QStringLiteral("Turn your videos into audio"),
                      QStringLiteral("Queue video and audio files, choose an output format and folder, then "
                                     "press Convert. Every file becomes one audio file."));
}
