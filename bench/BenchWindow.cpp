#include "BenchWindow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>

void ChooseMp3At192(frmMain &window, const QString &folder)
{
    window.Ui().cmbOF->setCurrentIndex(0);
    window.Ui().cmbBR->setCurrentText(QStringLiteral("192"));
    window.Ui().txtPath->setText(folder);
}

std::optional<platform::Dialogs::OpenFileResult> ScriptedDialogs::OpenFile(const OpenFileRequest &)
{
    if (files.isEmpty())
        return std::nullopt;
    return OpenFileResult{files.takeFirst(), 0};
}

std::optional<QString> ScriptedDialogs::BrowseForFolder(QObject *, const QString &, const QString &)
{
    if (folders.isEmpty())
        return std::nullopt;
    return folders.takeFirst();
}

platform::ProgramPlaces PlacesIn(const QString &root)
{
    platform::ProgramPlaces places;
    places.programFolder = root + "/program";
    places.configFolder = root + "/config";
    places.tempFolder = root + "/cache/tmp";
    places.outputParent = root;
    places.browseFallbackFolder = root + "/output";
    places.browseFallbackName = places.browseFallbackFolder;
    places.instanceLock = root + "/cache/lock";
    QDir().mkpath(places.programFolder + "/data");
    QFile::link(QCoreApplication::applicationDirPath() + "/data/conv", places.programFolder + "/data/conv");
    return places;
}

qint64 ResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}
