#pragma once

#include "TestSupport.h"
#include "engine/BatchConverter.h"
#include "platform/DesktopTask.h"
#include "platform/Housekeeping.h"
#include "platform/Paths.h"
#include "ui/HotArea.h"
#include "ui/ProgressBar.h"
#include "ui/QtServices.h"
#include "ui/frmMain.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>

// Start-up's chores inside the test's own folders: the temporary folder is emptied for real, the
// user's converters are ended only when a test asks (the tests that do so hold the converter lock).
class TestHousekeeping : public platform::Housekeeping
{
public:
    void EndConverters() override;
    void EmptyTemporaryFolder(const QString &folder) override;

    bool endConvertersForReal = false;
    QStringList log;
};

// Records what the window tells the desktop: each progress (-1 for none) and each notification.
class RecordingDesktop : public platform::DesktopTask
{
public:
    void ShowProgress(std::optional<double> share) override { progress << share.value_or(-1); }
    void Notify(const QString &summary, const QString &body, std::function<void()> openFolder) override
    {
        notifications << summary + " | " + body;
        openFolders << openFolder;
    }

    QList<double> progress;
    QStringList notifications;
    QList<std::function<void()>> openFolders;
};

// A program folder of its own (with the real converter and a chime), per-user places inside
// it, and the main window started on them with the fakes above.
class WindowFixture
{
public:
    WindowFixture();
    ~WindowFixture();
    frmMain &Start();
    frmMain &Window() { return *m_window; }

    QString ProgramFile(const QString &name) const { return places.programFolder + "/" + name; }
    void WriteProgramFile(const QString &name, const QByteArray &bytes) const;
    QByteArray ReadProgramFile(const QString &name) const;
    // Puts the fake converter with `steps` in the place of the converter.
    void UseFakeConverter(const QString &steps) const;
    // A clip in the work folder, made by the converter's test sources.
    QString MakeClip(const QString &name, int seconds = 2) const;
    // Runs the event loop until the batch ends or halts; false on a time-out.
    bool WaitForBatchEnd(int milliseconds = 120000);

    QTemporaryDir work{PrivateTestFolder() + "/window XXXXXX"};
    platform::ProgramPlaces places;
    RecordingMessages messages;
    FakeDialogs dialogs;
    FakeShell shell;
    TestHousekeeping housekeeping;
    RecordingDesktop recordedDesktop;
    // How many files the window lets convert at once (the machine's cores, unless a test says).
    int mostFilesAtOnce = MostFilesAtOnce();
    // What the window tells the desktop; a test may put the session bus's own in before Start.
    platform::DesktopTask *desktop = &recordedDesktop;

private:
    std::unique_ptr<frmMain> m_window;
};
