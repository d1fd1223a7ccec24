#pragma once

#include "platform/Dialogs.h"
#include "platform/Housekeeping.h"
#include "platform/Shell.h"
#include "platform/UserMessages.h"

// The real message boxes, file choosers and desktop services, for the running program.
class QtMessages : public platform::UserMessages
{
public:
    void Show(const QString &text, const QString &title, Icon icon) override;
    Answer ShowWithDetails(const QString &text, const QString &details, const QString &title, Icon icon,
                           const QString &action) override;
};

class QtDialogs : public platform::Dialogs
{
public:
    std::optional<OpenFileResult> OpenFile(const OpenFileRequest &request) override;
    std::optional<QString> BrowseForFolder(QObject *owner, const QString &prompt,
                                           const QString &startFolder) override;
    // The dialog's name filters for the file types, one each, in order.
    static QStringList NameFilters(const QList<FileType> &types);
};

class QtShell : public platform::Shell
{
public:
    void OpenFolder(const QString &path) override;
    void OpenWebPage(const QString &address) override;
    void PlaySoundFile(const QString &path) override;
    void EndProcess() override;
};

class SystemHousekeeping : public platform::Housekeeping
{
public:
    void EndConverters() override;
    void EmptyTemporaryFolder(const QString &folder) override;
};
