#include "QtServices.h"

#include "platform/FinishSound.h"
#include "platform/ProcessEnd.h"
#include "platform/ProcessList.h"
#include "platform/ShellOpen.h"
#include "queue/TemporaryCopies.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>

namespace {

QWidget *OwnerWidget(QObject *owner)
{
    if (auto *widget = qobject_cast<QWidget *>(owner))
        return widget;
    return QApplication::activeWindow();
}

} // namespace

void QtMessages::Show(const QString &text, const QString &title, Icon icon)
{
    ShowWithDetails(text, {}, title, icon, {});
}

platform::UserMessages::Answer QtMessages::ShowWithDetails(const QString &text, const QString &details,
                                                           const QString &title, Icon icon,
                                                           const QString &action)
{
    QMessageBox box(QApplication::activeWindow());
    box.setDetailedText(details);
    box.setWindowTitle(title.isEmpty() ? QApplication::applicationName() : title);
    box.setText(text);
    switch (icon) {
    case Icon::None:
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    // With a second button in the accept role there would be no way out by Esc or the close.
    box.setEscapeButton(QMessageBox::Ok);
    QPushButton *actionButton = action.isEmpty() ? nullptr : box.addButton(action, QMessageBox::AcceptRole);
    box.exec();
    return actionButton && box.clickedButton() == actionButton ? Answer::Action : Answer::Dismissed;
}

QStringList QtDialogs::NameFilters(const QList<FileType> &types)
{
    QStringList filters;
    for (const FileType &type : types) {
        QStringList patterns = type.patterns;
        // "*.*" takes every file, also one without a dot in its name, as the list promises.
        patterns.replaceInStrings(QRegularExpression(QStringLiteral("^\\*\\.\\*$")), QStringLiteral("*"));
        // The dialog shows only the text before the last parentheses (the description as it
        // stands) and filters by the patterns inside them.
        filters.append(type.description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                       QLatin1Char(')'));
    }
    return filters;
}

std::optional<platform::Dialogs::OpenFileResult> QtDialogs::OpenFile(const OpenFileRequest &request)
{
    QFileDialog dialog(OwnerWidget(request.owner), request.title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!request.initialFolder.isEmpty())
        dialog.setDirectory(request.initialFolder);
    dialog.setDefaultSuffix(request.defaultExtension);
    const QStringList filters = NameFilters(request.fileTypes);
    dialog.setNameFilters(filters);
    if (request.selectedFileType >= 0 && request.selectedFileType < filters.size())
        dialog.selectNameFilter(filters.at(request.selectedFileType));
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return OpenFileResult{QDir::toNativeSeparators(dialog.selectedFiles().constFirst()), request.flags};
}

std::optional<QString> QtDialogs::BrowseForFolder(QObject *owner, const QString &prompt,
                                                  const QString &startFolder)
{
    QFileDialog dialog(OwnerWidget(owner), prompt);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    // Shown inside the dialog too: without a window manager the title is not seen.
    dialog.setLabelText(QFileDialog::LookIn, prompt);
    if (QFileInfo(startFolder).isDir())
        dialog.setDirectory(startFolder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

void QtShell::OpenFolder(const QString &path)
{
    platform::OpenFolderInShell(path);
}

void QtShell::OpenWebPage(const QString &address)
{
    platform::OpenAddressInShell(address);
}

void QtShell::PlaySoundFile(const QString &path)
{
    if (!QFileInfo(path).isFile()) {
        QApplication::beep();
        return;
    }
    platform::PlayWaveAndWait(path);
}

void QtShell::EndProcess()
{
    platform::EndProcessNow();
}

void SystemHousekeeping::EndConverters()
{
    platform::KillProcessByName(platform::ConverterProcessName());
}

void SystemHousekeeping::EmptyTemporaryFolder(const QString &folder)
{
    DeleteFolderTree(folder);
}
