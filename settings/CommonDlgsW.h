#pragma once

#include <QString>
#include <QStringList>

class QObject;
namespace platform {
class Dialogs;
}

// The open-file dialog's settings and results as plain fields. One instance lives for the whole
// run; callers set FileName and Filter, call ShowOpen and read FileName back.
class CommonDlgsW
{
public:
    static constexpr int kBufferCharacters = 256;

    explicit CommonDlgsW(platform::Dialogs &dialogs) : m_dialogs(dialogs) {}

    quint32 Flags = 0;
    QString DefaultExt;
    QString DialogTitle;
    QString Title; // after a dialog: the chosen file's name without its folder
    QString FileName;
    QString FileTitle;
    // Description and pattern pairs, every part separated from the next by "|".
    QString Filter = QStringLiteral("All files (*.*)|*.*");
    qint32 FilterIndex = 1; // which pair is preselected, from 1
    QString InitDir;
    qint32 MaxFileSize = kBufferCharacters;

    // Shows the open dialog owned by `owner`; true when the user chose a file. A proposed name
    // or start folder too long for the dialog's buffers, or a chosen path longer than
    // MaxFileSize, counts as no choice.
    bool ShowOpen(QObject *owner);

    // The file types the dialog lists, one per description and pattern pair.
    QStringList FileTypes() const;

private:
    platform::Dialogs &m_dialogs;
};
