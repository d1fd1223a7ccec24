#include "QtServices.h"

#include "platform/ProcessEnd.h"
#include "platform/ProcessList.h"
#include "queue/TemporaryCopies.h"

#include <QApplication>
#include <QAudioDevice>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <QtEndian>

namespace {

QWidget *OwnerWidget(QObject *owner)
{
    if (auto *widget = qobject_cast<QWidget *>(owner))
        return widget;
    return QApplication::activeWindow();
}

// How long a WAV file plays, from its header; a generous guess when it cannot be read.
int WavMilliseconds(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 5000;
    const QByteArray header = file.read(44);
    if (header.size() < 44 || !header.startsWith("RIFF"))
        return 5000;
    const quint32 bytesPerSecond = qFromLittleEndian<quint32>(header.constData() + 28);
    if (bytesPerSecond == 0)
        return 5000;
    return int(qMin<qint64>(600000, (file.size() - 44) * 1000 / bytesPerSecond));
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
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

void QtShell::OpenWebPage(const QString &address)
{
    QDesktopServices::openUrl(QUrl(address));
}

void QtShell::PlaySoundFile(const QString &path)
{
    if (!QFileInfo(path).isFile()) {
        QApplication::beep();
        return;
    }
    // With no sound device there is nothing to wait for.
    if (QMediaDevices::audioOutputs().isEmpty())
        return;
    QSoundEffect effect;
    QEventLoop loop;
    QObject::connect(&effect, &QSoundEffect::playingChanged, &loop, [&] {
        if (!effect.isPlaying())
            loop.quit();
    });
    QObject::connect(&effect, &QSoundEffect::statusChanged, &loop, [&] {
        if (effect.status() == QSoundEffect::Error)
            loop.quit();
    });
    // Without a sound device the end is never reported: never wait past the sound's length.
    QTimer::singleShot(WavMilliseconds(path) + 500, &loop, &QEventLoop::quit);
    effect.setSource(QUrl::fromLocalFile(path));
    effect.play();
    loop.exec();
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
