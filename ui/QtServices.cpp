#include "QtServices.h"

#include "platform/ProcessEnd.h"

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
    QMessageBox box(QApplication::activeWindow());
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
    box.exec();
}

std::optional<QString> QtDialogs::OpenFile(const OpenFileRequest &request)
{
    QFileDialog dialog(OwnerWidget(request.owner), request.title);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!request.initialFolder.isEmpty())
        dialog.setDirectory(request.initialFolder);
    dialog.setNameFilters(request.fileTypes);
    if (request.selectedFileType >= 0 && request.selectedFileType < request.fileTypes.size())
        dialog.selectNameFilter(request.fileTypes.at(request.selectedFileType));
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

std::optional<QString> QtDialogs::BrowseForFolder(QObject *owner, const QString &prompt)
{
    const QString folder = QFileDialog::getExistingDirectory(OwnerWidget(owner), prompt);
    if (folder.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(folder);
}

void QtShell::OpenFolder(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
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
