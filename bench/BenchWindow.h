#pragma once

#include "platform/DesktopTask.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "platform/Shell.h"
#include "platform/UserMessages.h"
#include "ui/QtServices.h"
#include "ui/frmMain.h"

#include <QStringList>

// What the window benchmarks share: dialogs answered from lists, a desktop that does nothing,
// program places in a folder of their own.

class ScriptedDialogs : public platform::Dialogs
{
public:
    std::optional<OpenFileResult> OpenFile(const OpenFileRequest &) override;
    std::optional<QString> BrowseForFolder(QObject *, const QString &, const QString &) override;
    QStringList files;
    QStringList folders;
};

class QuietShell : public platform::Shell
{
public:
    void OpenFolder(const QString &) override {}
    void OpenWebPage(const QString &) override {}
    void PlaySoundFile(const QString &) override {}
    void EndProcess() override {}
};

// Everything a benchmark's window is given: messages on standard error, scripted dialogs, a
// quiet desktop, the real start-up chores.
struct BenchServices
{
    platform::ConsoleMessages messages;
    ScriptedDialogs dialogs;
    QuietShell shell;
    SystemHousekeeping housekeeping;
    platform::NoDesktopTask desktop;
    frmMain::Services All() { return {messages, dialogs, shell, housekeeping, desktop}; }
};

// MP3 at 192 kbit/s into `folder`, as a user picks it.
void ChooseMp3At192(frmMain &window, const QString &folder);

// Program places under `root`, with the converter beside the benchmark as their data/conv.
platform::ProgramPlaces PlacesIn(const QString &root);
