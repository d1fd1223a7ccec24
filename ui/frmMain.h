#pragma once

#include "platform/Paths.h"
#include "queue/QueueModel.h"
#include "settings/CutterOptions.h"
#include "settings/SettingsPlace.h"
#include "ui/ProductSite.h"
#include "ui/frmMainUi.h"

#include <QHash>
#include <QTimer>
#include <QWidget>

#include <memory>

struct AppSettings;
class BatchConverter;
class BatchWatch;
class CommonDlgsW;
struct ConversionChoices;
struct ProgressDisplay;
namespace Commands {
enum class CommandId;
}
class frmMenu;
class InstanceChannel;
class QComboBox;
class QueueCommands;
class QueueDrops;
namespace platform {
class DesktopTask;
class Dialogs;
class EndSignals;
class Housekeeping;
class Shell;
class UserMessages;
} // namespace platform

// The main window: the skinned face with its hot areas, the queue, the output pickers and
// folder, and the progress of the batch. Loading it starts the program; unloading ends it.
// It wires its controls (`Ui()`) to the queue commands, the batch and its dialogs.
class frmMain : public QWidget
{
    Q_OBJECT
public:
    struct Services
    {
        platform::UserMessages &messages;
        platform::Dialogs &dialogs;
        platform::Shell &shell;
        platform::Housekeeping &housekeeping;
        platform::DesktopTask &desktop;
    };

    // `mostFilesAtOnce` bounds the files converted at once (the machine's cores; tests choose).
    frmMain(const platform::ProgramPlaces &places, Services services, int mostFilesAtOnce = MostFilesAtOnce(),
            QWidget *parent = nullptr);
    ~frmMain() override;

    // The operations behind the window's buttons.
    void imgAdd_Click();
    void imgStart_Click();
    void imgConvert_Click() { imgStart_Click(); }
    void imgRemove_Click();
    void menuRemoveAll_Click();
    // Queues every file under a folder the user picks.
    void AddFolderToQueue();
    void imgBrowse_Click();
    void imgBrowse_MouseMove();
    void imgBrowse_MouseDown();
    void imgHelp_Click();
    void picButtonOF_Click();
    void picButtonBR_Click();
    void picButtonR_Click();
    void picButtonChannel_Click();
    void imgExit_Click();
    void imgMin_Click();
    void imgToolbar_Click(qint16 index);
    void imgMenu_Click(qint16 index);
    // Stops the batch: the converter ends, the file it was writing goes, the rest stays queued.
    void imgStop_Click();
    // Opens the feedback form.
    void lblFeed_Click();
    // The command mailbox's dispatch: the word a menu item wrote picks the operation.
    void txtAction_Change();
    // A later start of the program asked for this window: show it in front, restored.
    void BringToFront();
    // Takes the requests of later starts of the program from `channel`.
    void AcceptLaterStarts(InstanceChannel &channel);
    // Files given on the command line or by a later start: queued as if dropped on the start panel.
    void QueueFilesGiven(const QStringList &files);

    // The output choices as the pickers and the folder box hold them now.
    AppSettings CurrentAppSettings() const;
    ConversionChoices CurrentChoices() const;
    // The output folder the box names, as an absolute path.
    QString OutputFolder() const;
    const CutterOptions &Cutter() const { return m_cutter; }

    // The controls, by their names.
    const frmMainUi &Ui() const { return m_ui; }
    QueueModel &Queue() { return m_queue; }
    BatchConverter &Batch() { return *m_batch; }
    QueueDrops &Drops() { return *m_drops; }
    frmMenu *Menus() const { return m_frmMenu; }
    // A folder search is running: queue commands and drops wait their turn by being ignored.
    bool IsSearching() const;
    // The product's web address that About, Help and the feedback form use (the build's own
    // unless replaced).
    void SetProductSite(const QString &site) { m_site = site; }
    QTimer &Timer2() { return m_timer2; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Whether the start panel lies over `control`, so that no click could reach it.
    bool CoveredByStartPanel(const QWidget *control) const;
    // Puts `folder` in the output-folder box, showing its start.
    void ShowOutputFolder(const QString &folder);
    // A folder search met folders it could not search.
    void TellFoldersNotSearched(const QStringList &folders, const QString &reason);
    void WireControls();
    void BuildShortcuts();
    void RunCommand(Commands::CommandId id);
    void ShowAbout();
    void ShowOptions();
    void CoverWithDoor(bool covered);
    void Form_Load();
    void Form_Unload();
    void Form_MouseMove();
    void Timer2_Timer();
    void LoadSettings();
    void ApplyAppSettings(const AppSettings &settings);
    void SetBatchControlsEnabled(bool enabled);
    void ShowHintWhenEmpty();
    void ShowDropDown(QComboBox *picker);
    void ShowProgress(const ProgressDisplay &display);
    void BatchEnded(bool finished);

    platform::ProgramPlaces m_places;
    Services m_services;
    SettingsPlace m_settings;
    QueueModel m_queue;
    CutterOptions m_cutter;
    const int m_mostFilesAtOnce;
    frmMainUi m_ui;
    std::unique_ptr<CommonDlgsW> m_FileDialogs;
    std::unique_ptr<BatchConverter> m_batch;
    QueueCommands *m_queueCommands = nullptr;
    platform::EndSignals *m_endSignals = nullptr;
    QTimer m_timer2;
    QueueDrops *m_drops = nullptr;
    BatchWatch *m_batchWatch = nullptr;
    frmMenu *m_frmMenu = nullptr;
    // Focus policies of the controls under the start panel, while it covers them.
    QHash<QWidget *, Qt::FocusPolicy> m_focusUnderDoor;
    QString m_site = ProductSite();
};
