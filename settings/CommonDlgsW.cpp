#include "CommonDlgsW.h"

#include "platform/Dialogs.h"
#include "queue/PathHelpers.h"

QStringList CommonDlgsW::FileTypes() const
{
    const QStringList parts = Filter.split(QLatin1Char('|'));
    QStringList types;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts.at(i);
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // The dialog reads the patterns from the parentheses at the end of each type.
        const QString tail = QLatin1Char('(') + patterns + QLatin1Char(')');
        types.append(description.endsWith(tail) ? description : description + QLatin1Char(' ') + tail);
    }
    return types;
}

bool CommonDlgsW::ShowOpen(QObject *owner)
{
    if (FileName.size() > kBufferCharacters || InitDir.size() > kBufferCharacters)
        return false;
    platform::Dialogs::OpenFileRequest request;
    request.owner = owner;
    request.title = DialogTitle;
    request.initialFolder = InitDir;
    request.proposedName = FileName;
    request.fileTypes = FileTypes();
    request.selectedFileType =
        qBound(0, FilterIndex - 1, int(std::max<qsizetype>(request.fileTypes.size() - 1, 0)));
    const std::optional<QString> chosen = m_dialogs.OpenFile(request);
    if (!chosen || chosen->size() >= MaxFileSize)
        return false;
    FileName = *chosen;
    FileTitle = FileNameOfPath(*chosen);
    Title = FileTitle;
    return true;
}
