#pragma once

#include "platform/Paths.h"

#include <QString>

// The main window's output choices: the four pickers and the output folder.
struct AppSettings
{
    qint16 BitrateIndex = 8;    // "192"
    qint16 SampleRateIndex = 1; // "44100"
    qint16 ChannelIndex = 1;    // "Stereo"
    QString OutputFolder;       // FirstRunOutputFolder on a first run
    qint16 FormatIndex = 1;     // "WMA"
};

// The output folder of a first run, and the one an empty folder box stands for: "output" in
// `parent` (the home folder; "c:" on Windows).
inline QString FirstRunOutputFolder(const QString &parent)
{
    return parent + platform::PathSeparator() + QStringLiteral("output");
}
