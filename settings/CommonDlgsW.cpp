#include "CommonDlgsW.h"

#include "queue/PathHelpers.h"

namespace {

// Whether `text` fits a buffer of `size` with its end mark.
bool FitsBuffer(const QString &text, int size)
{
    return platform::PathLength(text) < size;
}

} // namespace

QList<platform::Dialogs::FileType> CommonDlgsW::FileTypes() const
{
    const QStringList parts = Filter.split(QLatin1Char('|'));
    QList<platform::Dialogs::FileType> types;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        types.append({parts.at(i), parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)});
    return types;
}

std::optional<platform::Dialogs::OpenFileRequest> CommonDlgsW::PrepareFileDialog(QObject *owner) const
{
    if (!FitsBuffer(FileName, kBufferSize) || !FitsBuffer(InitDir, kBufferSize))
        return std::nullopt;
    platform::Dialogs::OpenFileRequest request;
    request.owner = owner;
    request.title = DialogTitle;
    request.initialFolder = InitDir;
    request.proposedName = FileName;
    request.defaultExtension = DefaultExt;
    request.fileTypes = FileTypes();
    request.selectedFileType =
        qBound(0, FilterIndex - 1, int(std::max<qsizetype>(request.fileTypes.size() - 1, 0)));
    request.flags = Flags;
    return request;
}

void CommonDlgsW::CollectFileDialogResult(const platform::Dialogs::OpenFileResult &result)
{
    FileName = result.path;
    FileTitle = FileNameOfPath(result.path);
    Title = FileTitle;
    Flags = result.flags;
}

bool CommonDlgsW::ShowOpen(QObject *owner)
{
    const std::optional<platform::Dialogs::OpenFileRequest> request = PrepareFileDialog(owner);
    if (!request)
        return false;
    const std::optional<platform::Dialogs::OpenFileResult> chosen = m_dialogs.OpenFile(*request);
    if (!chosen || !FitsBuffer(chosen->path, MaxFileSize))
        return false;
    CollectFileDialogResult(*chosen);
    return true;
}
