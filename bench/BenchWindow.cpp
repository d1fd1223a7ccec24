#include "BenchWindow.h"

#include "BenchSupport.h"
#include "BenchSystem.h"
#include "engine/ConverterCommand.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>

#include <cstdio>

void ChooseMp3At192(frmMain &window, const QString &folder)
{
    window.Ui().cmbOF->setCurrentIndex(0);
    window.Ui().cmbBR->setCurrentText(QStringLiteral("192"));
    window.Ui().txtPath->setText(QDir::toNativeSeparators(folder));
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
    places.unfinishedNote = root + "/cache/unfinished-output";
    QDir().mkpath(places.programFolder + "/data");
    PlaceProgram(RealConverter(), ConverterPath(places.programFolder));
    return places;
}

void PrintDesktopAround()
{
    std::printf("Desktop: %s window system, %s\n\n", qPrintable(QGuiApplication::platformName()),
                qPrintable(DesktopServicesAround()));
    std::fflush(stdout);
}
