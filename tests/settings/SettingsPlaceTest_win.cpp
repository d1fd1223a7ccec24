// Where an installed Windows program keeps the settings.
#include "TestSupport.h"
#include "settings/SettingsPlace.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A program in Program Files (whichever of its folders, named in any case) keeps each user's
// settings in the user's folder, though Windows may let it write its own; a folder whose name
// merely begins the same is no part of Program Files.
TEST(SettingsPlace, AnInstalledProgramKeepsTheSettingsInTheUsersFolder)
{
    QTemporaryDir dir;
    const QString programFiles = Native(dir.path() + "/Program Files");
    const QString config = Native(dir.path() + "/config");
    for (const char *variable : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"}) {
        SCOPED_TRACE(variable);
        const QByteArray saved = qgetenv(variable);
        qputenv(variable, programFiles.toUpper().toLocal8Bit());
        for (const auto &[folder, installed] : {std::pair{programFiles + "\\Brimwave", true},
                                                {programFiles + " (portable)\\Brimwave", false}}) {
            QDir().mkpath(folder);
            const SettingsPlace place(folder, config);
            EXPECT_EQ(place.ToWrite("setup.ini"), (installed ? config : folder) + "\\setup.ini") << folder;
        }
        qputenv(variable, saved);
    }
}

} // namespace
