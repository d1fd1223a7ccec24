#include "frmMain.h"

#include "Accessibility.h"
#include "BatchWatch.h"
#include "CutterIndicator.h"
#include "HotArea.h"
#include "InstanceChannel.h"
#include "ProgressBar.h"
#include "Skin.h"
#include "SkinChrome.h"
#include "SkinLayout.h"
#include "engine/BatchConverter.h"
#include "engine/UnfinishedOutput.h"
#include "frmMenu.h"
#include "platform/Dialogs.h"
#include "platform/EndSignals.h"
#include "platform/Housekeeping.h"
#include "platform/MessagePump.h"
#include "platform/Shell.h"
#include "platform/UserMessages.h"
#include "queue/PathTests.h"
#include "queue/QueueCommands.h"
#include "queue/QueueDrops.h"
#include "queue/QueueTexts.h"
#include "settings/AppSettings.h"
#include "settings/CommonDlgsW.h"
#include "settings/OutputFolder.h"
#include "settings/SettingsFiles.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

namespace {

// How often unloading tries to delete a leftover temporary file before it gives up.
constexpr int kDeleteAttempts = 20;

} // namespace

frmMain::frmMain(const platform::ProgramPlaces &places, Services services, int mostFilesAtOnce,
                 QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::Window), m_places(places), m_services(services),
      m_settings(places.programFolder, places.configFolder), m_mostFilesAtOnce(mostFilesAtOnce)
{
    m_ui.setupUi(this, m_queue, m_timer2);
    WireControls();
    Form_Load();
}

frmMain::~frmMain()
{
    // The drop targets go before the list they watch, so no drop handling sees it half gone.
    delete m_drops;
    m_drops = nullptr;
}

void frmMain::WireControls()
{
    connect(m_ui.chrome, &SkinChrome::BareSkinMoved, this, &frmMain::Form_MouseMove);
    connect(m_ui.imgStop, &HotArea::Clicked, this, &frmMain::imgStop_Click);
    connect(m_ui.picButtonOF, &HotArea::Clicked, this, &frmMain::picButtonOF_Click);
    connect(m_ui.picButtonBR, &HotArea::Clicked, this, &frmMain::picButtonBR_Click);
    connect(m_ui.picButtonR, &HotArea::Clicked, this, &frmMain::picButtonR_Click);
    connect(m_ui.picButtonChannel, &HotArea::Clicked, this, &frmMain::picButtonChannel_Click);
    connect(m_ui.imgBrowse, &HotArea::PointerMoved, this, &frmMain::imgBrowse_MouseMove);
    connect(m_ui.imgBrowse, &HotArea::ButtonDown, this, &frmMain::imgBrowse_MouseDown);
    connect(m_ui.imgBrowse, &HotArea::Clicked, this, &frmMain::imgBrowse_Click);
    connect(m_ui.imgConvert, &HotArea::Clicked, this, &frmMain::imgConvert_Click);
    connect(m_ui.imgMin, &HotArea::Clicked, this, &frmMain::imgMin_Click);
    connect(m_ui.imgExit, &HotArea::Clicked, this, &frmMain::imgExit_Click);
    connect(m_ui.imgHelp, &HotArea::Clicked, this, &frmMain::imgHelp_Click);
    for (auto it = m_ui.imgToolbar.cbegin(); it != m_ui.imgToolbar.cend(); ++it) {
        const int index = it.key();
        connect(it.value(), &HotArea::Clicked, this, [this, index] { imgToolbar_Click(qint16(index)); });
    }
    for (auto it = m_ui.imgMenu.cbegin(); it != m_ui.imgMenu.cend(); ++it) {
        const int index = it.key();
        connect(it.value(), &HotArea::Clicked, this, [this, index] { imgMenu_Click(qint16(index)); });
    }
    connect(m_ui.lblFeed, &HotText::Clicked, this, &frmMain::lblFeed_Click);
    connect(m_ui.lblCut, &HotText::Clicked, this, &frmMain::ShowOptions);
    connect(m_ui.imgDoorButton, &HotArea::Clicked, this, [this] { imgToolbar_Click(0); });
    m_ui.picDoor->installEventFilter(this);

    // The command mailbox and the window that holds the popup menus.
    connect(m_ui.txtAction, &QLineEdit::textChanged, this, &frmMain::txtAction_Change);
    m_frmMenu = new frmMenu(
        m_ui.txtAction, [this] { menuRemoveAll_Click(); }, this);

    m_queueCommands = new QueueCommands(
        m_queue,
        [this](const QString &startFolder) -> std::optional<QString> {
            m_FileDialogs->FileName.clear();
            m_FileDialogs->Filter = MediaFilter();
            m_FileDialogs->InitDir = startFolder;
            if (!m_FileDialogs->ShowOpen(this))
                return std::nullopt;
            return m_FileDialogs->FileName;
        },
        [this](const QString &startFolder) {
            return m_services.dialogs.BrowseForFolder(this, QStringLiteral("Please select a folder:"),
                                                      startFolder);
        },
        m_places.tempFolder, this);
    // While a search runs the window stays alive, but no other queue command or drop is taken.
    connect(m_queueCommands, &QueueCommands::SearchStarted, this, [this] {
        m_ui.picText->show();
        m_ui.picText->raise();
        m_ui.lblText->setText(ShownCaption(SearchingCaption()));
    });
    connect(m_queueCommands, &QueueCommands::SearchEnded, this, [this] {
        m_ui.lblText->setText(ShownCaption(IdleHintCaption()));
        ShowHintWhenEmpty();
    });
    connect(m_queueCommands, &QueueCommands::FoldersNotSearched, this, &frmMain::TellFoldersNotSearched);
    connect(m_queueCommands, &QueueCommands::FilesGiven, this,
            [this](const QStringList &files) { m_drops->QueueOnStartPanel(files); });
    m_drops = new QueueDrops({m_ui.picDoor, m_ui.picDrop, m_ui.LV, m_ui.picText}, m_queue,
                             m_places.tempFolder, this);
    m_drops->SetIgnoreDrops([this] { return m_queueCommands->IsSearching(); });
    BuildShortcuts();
}

void frmMain::TellFoldersNotSearched(const QStringList &folders, const QString &reason)
{
    // Such a path is longer than any line: its start and its end say where it is.
    constexpr int kShownEnds = 60;
    constexpr int kNamed = 10;
    QString text = QStringLiteral("The files in %1 could not be queued: %2.")
                       .arg(folders.size() == 1 ? QStringLiteral("this folder")
                                                : QStringLiteral("these %1 folders").arg(folders.size()),
                            reason);
    for (const QString &folder : folders.mid(0, kNamed)) {
        text += QStringLiteral("\n\n") +
                (folder.size() <= 2 * kShownEnds
                     ? folder
                     : folder.left(kShownEnds) + QStringLiteral("\u2026") + folder.right(kShownEnds));
    }
    if (folders.size() > kNamed)
        text += QStringLiteral("\n\n... and %1 more.").arg(folders.size() - kNamed);
    m_services.messages.Show(text, QStringLiteral("Add Folder"), platform::UserMessages::Icon::Warning);
}

bool frmMain::IsSearching() const
{
    return m_queueCommands->IsSearching();
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui.picDoor && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        CoverWithDoor(event->type() == QEvent::Show);
    return QWidget::eventFilter(watched, event);
}

void frmMain::CoverWithDoor(bool covered)
{
    // What the start panel hides takes no focus, so no key can change it unseen, and is not
    // among what screen readers are told the window shows.
    const QList<QWidget *> children = findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (child == m_ui.picDoor || !m_ui.picDoor->geometry().intersects(child->geometry()))
            continue;
        SetCoveredForScreenReaders(child, covered);
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
    m_queueCommands->QueueGiven(files);
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
    m_ui.chrome->Park();
    m_FileDialogs = std::make_unique<CommonDlgsW>(m_services.dialogs);
    platform::PumpMessages();
    m_ui.imgPB->resize(0, m_ui.imgPB->height());

    m_batch = std::make_unique<BatchConverter>(
        m_queue, m_services.messages, m_services.shell, [this] { return CurrentChoices(); },
        m_places.programFolder, m_places.unfinishedNote);
    connect(m_batch.get(), &BatchConverter::ProgressChanged, this, &frmMain::ShowProgress);
    connect(m_batch.get(), &BatchConverter::BatchFinished, this, [this] { BatchEnded(true); });
    connect(m_batch.get(), &BatchConverter::BatchHalted, this, [this] { BatchEnded(false); });
    m_batchWatch = new BatchWatch(this, m_ui.lblBatch, *m_batch, m_services.desktop, m_services.shell,
                                  [this] { return OutputFolder(); });
    connect(m_batch.get(), &BatchConverter::BatchStopped, this, [this] {
        SetBatchControlsEnabled(true);
        m_ui.imgPB->resize(0, m_ui.imgPB->height());
        m_ui.lblPB->setText(QStringLiteral("Stopped."));
    });

    LoadSettings();
    // Asked to end by the system (a logout, `kill`, a closed terminal): as if the window closed.
    m_endSignals = new platform::EndSignals([this] { close(); }, this);
    m_ui.picDoor->SetIdlePicture(Skin::Picture(Pictures::imgDoor));
    m_services.housekeeping.EndConverters();
    // The files a crashed run was writing are cut short: they go, now that no converter writes.
    UnfinishedOutput::RemoveLeftovers(m_places.unfinishedNote);
    update();
    connect(&m_timer2, &QTimer::timeout, this, &frmMain::Timer2_Timer);
    m_timer2.start();
    m_ui.picDrop->setGeometry(m_ui.LV->geometry());
    m_ui.picDrop->raise();
    m_ui.picDoor->raise();
    m_services.housekeeping.EmptyTemporaryFolder(m_places.tempFolder);
    // The keyboard starts where the mouse would: the start panel's button.
    m_ui.imgDoorButton->setFocus();
}

void frmMain::LoadSettings()
{
    m_settings.RemoveSaveLeftovers();
    AppSettings settings; // the first-run values
    const QString firstRunFolder = FirstRunOutputFolder(m_places.outputParent);
    settings.OutputFolder = firstRunFolder;
    LoadAppSettings(m_settings.ToRead(QStringLiteral("setup.ini")), settings, firstRunFolder);
    ApplyAppSettings(settings);
    m_cutter = LoadCutterOptions(m_settings.ToRead(QStringLiteral("options.ini")), m_mostFilesAtOnce);
    m_ui.lblCut->ShowCutter(m_cutter);
}

void frmMain::ApplyAppSettings(const AppSettings &settings)
{
    m_ui.cmbBR->setCurrentIndex(settings.BitrateIndex);
    m_ui.cmbR->setCurrentIndex(settings.SampleRateIndex);
    m_ui.cmbChannel->setCurrentIndex(settings.ChannelIndex);
    ShowOutputFolder(settings.OutputFolder);
    m_ui.cmbOF->setCurrentIndex(settings.FormatIndex);
}

AppSettings frmMain::CurrentAppSettings() const
{
    AppSettings settings;
    settings.BitrateIndex = qint16(m_ui.cmbBR->currentIndex());
    settings.SampleRateIndex = qint16(m_ui.cmbR->currentIndex());
    settings.ChannelIndex = qint16(m_ui.cmbChannel->currentIndex());
    settings.OutputFolder = m_ui.txtPath->text();
    settings.FormatIndex = qint16(m_ui.cmbOF->currentIndex());
    return settings;
}

ConversionChoices frmMain::CurrentChoices() const
{
    ConversionChoices choices;
    choices.formatIndex = m_ui.cmbOF->currentIndex();
    choices.bitrateText = m_ui.cmbBR->currentText();
    choices.sampleRateText = m_ui.cmbR->currentText();
    choices.channelIndex = m_ui.cmbChannel->currentIndex();
    choices.outputFolder = OutputFolder();
    choices.cutter = m_cutter;
    return choices;
}

void frmMain::Timer2_Timer()
{
    m_ui.chrome->Reveal();
}

void frmMain::Form_MouseMove()
{
    m_ui.lblFeed->SetBold(false);
    m_ui.lblCut->SetBold(false);
    m_ui.imgHelp->Idle();
    m_ui.imgExit->Idle();
    for (HotArea *button : {m_ui.picButtonChannel, m_ui.picButtonR, m_ui.picButtonOF, m_ui.picButtonBR})
        button->Idle();
    m_ui.imgBrowse->Idle();
    m_ui.imgMin->Idle();
    m_ui.imgDoorButton->Idle();
    for (HotArea *button : std::as_const(m_ui.imgToolbar))
        button->Idle();
    m_ui.picDrop->hide();
    for (HotArea *tab : std::as_const(m_ui.imgMenu))
        tab->Idle();
    m_ui.imgConvert->Idle();
}

void frmMain::ShowDropDown(QComboBox *picker)
{
    picker->showPopup();
}

void frmMain::picButtonOF_Click()
{
    ShowDropDown(m_ui.cmbOF);
}

void frmMain::picButtonBR_Click()
{
    ShowDropDown(m_ui.cmbBR);
}

void frmMain::picButtonR_Click()
{
    ShowDropDown(m_ui.cmbR);
}

void frmMain::picButtonChannel_Click()
{
    ShowDropDown(m_ui.cmbChannel);
}

// A move over the browse button lights it, also while a button is held; a press darkens it.
void frmMain::imgBrowse_MouseMove()
{
    m_ui.imgBrowse->SetLook(HotArea::Look::Hover);
}

void frmMain::imgBrowse_MouseDown()
{
    m_ui.imgBrowse->SetPressedLook();
}

void frmMain::ShowHintWhenEmpty()
{
    m_ui.picText->setVisible(m_queue.IsEmpty());
}

void frmMain::menuRemoveAll_Click()
{
    if (!m_queueCommands->RemoveAll())
        return;
    m_ui.LV->repaint();
    platform::PumpMessages();
    m_ui.picText->show();
    m_ui.lblText->setText(ShownCaption(IdleHintCaption()));
}

void frmMain::AddFolderToQueue()
{
    m_queueCommands->AddFolder([] { platform::PumpMessages(); });
}

void frmMain::imgAdd_Click()
{
    if (!m_queueCommands->AddFile())
        return;
    ShowHintWhenEmpty();
    update();
}

void frmMain::imgRemove_Click()
{
    const QModelIndex current = m_ui.LV->currentIndex();
    const bool selected = current.isValid() && m_ui.LV->selectionModel()->isRowSelected(current.row(), {});
    if (!m_queueCommands->RemoveRow(selected ? std::optional<int>(current.row()) : std::nullopt))
        return;
    if (m_queue.IsEmpty())
        m_ui.picText->show();
}

void frmMain::ShowOutputFolder(const QString &folder)
{
    m_ui.txtPath->setText(folder);
    // The start says where it is, also when the text was already there or typed in.
    m_ui.txtPath->setCursorPosition(0);
}

QString frmMain::OutputFolder() const
{
    return ResolveOutputFolder(m_ui.txtPath->text(), FirstRunOutputFolder(m_places.outputParent),
                               QDir::homePath());
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
    ShowOutputFolder(folder);
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
    m_ui.imgStop->setVisible(!enabled);
    for (HotArea *button : std::as_const(m_ui.imgToolbar))
        button->setEnabled(enabled);
    for (HotArea *tab : std::as_const(m_ui.imgMenu))
        tab->setEnabled(enabled);
    m_ui.imgConvert->setEnabled(enabled);
    // The start panel's button adds a file like the toolbar's Add.
    m_ui.imgDoorButton->setEnabled(enabled);
    m_ui.lblFeed->setEnabled(enabled);
    m_ui.lblCut->setEnabled(enabled);
    if (enabled)
        m_ui.imgBrowse->setEnabled(true);
}

void frmMain::ShowProgress(const ProgressDisplay &display)
{
    m_ui.imgPB->resize(qRound(display.barShare * SkinLayout::kProgressBar.width()), m_ui.imgPB->height());
    m_ui.lblPB->setText(display.label);
    m_ui.lblPB->update();
}

void frmMain::imgStop_Click()
{
    m_batch->Stop();
}

void frmMain::BatchEnded(bool finished)
{
    SetBatchControlsEnabled(true);
    if (finished) {
        m_ui.imgPB->resize(0, m_ui.imgPB->height());
        m_ui.lblPB->setText(QStringLiteral("Done."));
    }
}

void frmMain::imgBrowse_Click()
{
    const std::optional<QString> chosen =
        m_services.dialogs.BrowseForFolder(this, QStringLiteral("Please select a folder:"), OutputFolder());
    // Cancelling keeps the folder the box holds.
    if (!chosen)
        return;
    ShowOutputFolder(*chosen);
    if (FolderExists(m_ui.txtPath->text()))
        return;
    ShowOutputFolder(m_places.browseFallbackFolder);
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
