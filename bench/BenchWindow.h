#pragma once

#include "platform/DesktopTask.h"
#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "platform/SystemDesktop.h"
#include "platform/UserMessages.h"
#include "ui/QtServices.h"
#include "ui/frmMain.h"

#include <QStringList>

#include <memory>

// What the window benchmarks share: dialogs answered from lists, the real desktop calls,
// program places in a folder of their own.

class ScriptedDialogs : public platform::Dialogs
{
public:
    std::optional<OpenFileResult> OpenFile(const OpenFileRequest &) override;
    std::optional<QString> BrowseForFolder(QObject *, const QString &, const QString &) override;
    QStringList files;
    QStringList folders;
};

// Everything a benchmark's window is given: messages on standard error, scripted dialogs, and
// as the program has them, the shell (the output folder opened, the finish sound), the desktop
// task (the taskbar entry's progress, the notification) and the start-up chores.
struct BenchServices
{
    platform::ConsoleMessages messages;
    ScriptedDialogs dialogs;
    QtShell shell;
    SystemHousekeeping housekeeping;
    std::unique_ptr<platform::DesktopTask> desktop = platform::SystemDesktop(platform::ProgramDesktopEntry());
    frmMain::Services All() { return {messages, dialogs, shell, housekeeping, *desktop}; }
};

// Prints what desktop is around the benchmark (the window system, the desktop's services), so
// its figures say where they were taken.
void PrintDesktopAround();

// MP3 at 192 kbit/s into `folder`, as a user picks it.
void ChooseMp3At192(frmMain &window, const QString &folder);

// Program places under `root`, with the converter beside the benchmark as their data/conv.
platform::ProgramPlaces PlacesIn(const QString &root);
