#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QObject;

namespace platform {

// The system's file and folder choosers. The program shows the real ones; tests answer for them.
class Dialogs
{
public:
    struct FileType
    {
        QString description; // what the list of types shows, as it stands
        QStringList patterns;
    };

    struct OpenFileRequest
    {
        QObject *owner = nullptr;
        QString title;            // empty: the system's own title
        QString initialFolder;    // empty: the system's choice
        QString proposedName;     // the name first offered
        QString defaultExtension; // added to a typed name without one
        QList<FileType> fileTypes;
        int selectedFileType = 0; // 0-based
        quint32 flags = 0;
    };

    struct OpenFileResult
    {
        QString path;
        quint32 flags = 0; // as the dialog hands them back
    };

    virtual ~Dialogs() = default;
    // The chosen file; none when the user cancelled.
    virtual std::optional<OpenFileResult> OpenFile(const OpenFileRequest &request) = 0;
    // The chosen folder's path; none when the user cancelled. The browser starts in
    // `startFolder` when that exists, and shows `prompt` inside itself.
    virtual std::optional<QString> BrowseForFolder(QObject *owner, const QString &prompt,
                                                   const QString &startFolder) = 0;
};

} // namespace platform
