#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QObject;

namespace platform {

// The system's file and folder choosers. The program shows the real ones; tests answer for them.
class Dialogs
{
public:
    struct OpenFileRequest
    {
        QObject *owner = nullptr;
        QString title;            // empty: the system's own title
        QString initialFolder;    // empty: the system's choice
        QString proposedName;     // the name first offered
        QStringList fileTypes;    // "Description (patterns)" each
        int selectedFileType = 0; // 0-based
    };

    virtual ~Dialogs() = default;
    // The chosen file's full path; none when the user cancelled.
    virtual std::optional<QString> OpenFile(const OpenFileRequest &request) = 0;
    // The chosen folder's path; none when the user cancelled.
    virtual std::optional<QString> BrowseForFolder(QObject *owner, const QString &prompt) = 0;
};

} // namespace platform
