#pragma once

#include "TestSupport.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "platform/Shell.h"
#include "ui/frmMain.h"

#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <optional>

// Answers the file and folder choosers from lists the test fills; cancels when they run out.
class FakeDialogs : public platform::Dialogs
{
public:
    std::optional<QString> OpenFile(const OpenFileRequest &request) override;
    std::optional<QString> BrowseForFolder(QObject *owner, const QString &prompt) override;

    QList<std::optional<QString>> files;
    QList<std::optional<QString>> folders;
    QList<OpenFileRequest> fileRequests;
    QStringList folderPrompts;
};

// Records what the program asks of the desktop, in order.
class FakeShell : public platform::Shell
{
public:
    void OpenFolder(const QString &path) override;
    void PlaySoundFile(const QString &path) override;
    void EndProcess() override { log << QStringLiteral("end"); }

    QStringList log;
    std::function<void()> whileSoundPlays;
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
    // A clip in the work folder, made by the converter's test sources.
    QString MakeClip(const QString &name, int seconds = 2) const;
    // Runs the event loop until the batch ends or halts; false on a time-out.
    bool WaitForBatchEnd(int milliseconds = 120000);

    QTemporaryDir work;
    platform::ProgramPlaces places;
    RecordingMessages messages;
    FakeDialogs dialogs;
    FakeShell shell;

private:
    std::unique_ptr<frmMain> m_window;
};
