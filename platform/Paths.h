#pragma once

#include <QChar>
#include <QString>

namespace platform {

// The separator the program puts into paths it builds.
constexpr QChar PathSeparator()
{
#ifdef Q_OS_WIN
    return QLatin1Char('\\');
#else
    return QLatin1Char('/');
#endif
}

// How long a path may be: characters on Windows, bytes of the file system's encoding elsewhere
// (the longest path the system takes).
#ifdef Q_OS_WIN
constexpr int kLongestPath = 256;
#else
constexpr int kLongestPath = 4096;
#endif
// The length of `path` in the unit kLongestPath counts.
qsizetype PathLength(const QString &path);
// kLongestPath with its unit, as a person reads it ("4,096 bytes").
QString LongestPathText();

// The folder that holds the running executable; settings, sound and data/conv live beside it.
QString ProgramFolder();

// Whether the settings files may be kept in the program's folder: the user may write it, and it
// is no installed program's folder (Windows' Program Files, where each user keeps their own).
bool SettingsMayLiveIn(const QString &programFolder);

// Where the program keeps its files.
struct ProgramPlaces
{
    QString programFolder;  // sound.wav and data/conv; the settings files when it may be written
    QString configFolder;   // the settings files of an installed program
    QString tempFolder;     // temporary copies; the program's own, emptied at every start
    QString unfinishedNote; // names the output being written, for the start after a crash
    // The folder the first run's output folder is made in (see FirstRunOutputFolder).
    QString outputParent;
    // The folder Browse falls back to.
    QString browseFallbackFolder;
    // How the fallback message names the fallback folder.
    QString browseFallbackName;
    QString instanceLock;   // held while the program runs
    QString instanceSocket; // where the running program listens for a later start

    // The places of the running program, per user.
    static ProgramPlaces ForThisProgram();
};

} // namespace platform
