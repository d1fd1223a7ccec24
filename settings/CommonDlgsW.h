#pragma once

#include "platform/Paths.h"

#include "platform/Dialogs.h"

#include <QString>

#include <optional>

class QObject;

// The open-file dialog's settings and results as plain fields. One instance lives for the whole
// run; callers set FileName and Filter, call ShowOpen and read FileName back.
class CommonDlgsW
{
public:
    // How long a path the dialog's buffers hold (the longest path the system takes).
    static constexpr int kBufferSize = platform::kLongestPath;

    explicit CommonDlgsW(platform::Dialogs &dialogs) : m_dialogs(dialogs) {}

    quint32 Flags = 0; // after a dialog: the flags it handed back
    QString DefaultExt;
    QString DialogTitle;
    QString Title; // after a dialog: the chosen file's name without its folder
    QString FileName;
    QString FileTitle;
    // Description and pattern pairs, every part separated from the next by "|".
    QString Filter = QStringLiteral("All files (*.*)|*.*");
    qint32 FilterIndex = 1; // which pair is preselected, from 1
    QString InitDir;
    qint32 MaxFileSize = kBufferSize;

    // Shows the open dialog owned by `owner`; true when the user chose a file. A proposed name
    // or start folder too long for the dialog's buffers, or a chosen path that does not fit
    // MaxFileSize, counts as no choice.
    bool ShowOpen(QObject *owner);

    // The file types the dialog lists, one per description and pattern pair.
    QList<platform::Dialogs::FileType> FileTypes() const;

private:
    // The request the dialog is shown with; none when a field does not fit its buffer.
    std::optional<platform::Dialogs::OpenFileRequest> PrepareFileDialog(QObject *owner) const;
    void CollectFileDialogResult(const platform::Dialogs::OpenFileResult &result);

    platform::Dialogs &m_dialogs;
};
