#pragma once

#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "platform/Shell.h"

#include <QStringList>

// What the window benchmarks share: dialogs answered from lists, a desktop that does nothing,
// program places in a folder of their own, and the process's resident memory.

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

// Program places under `root`, with data/conv linked to the converter beside the benchmark.
platform::ProgramPlaces PlacesIn(const QString &root);

qint64 ResidentKiB();
