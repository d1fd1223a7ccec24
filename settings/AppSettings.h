#pragma once

#include <QString>

// The main window's output choices: the four pickers and the output folder.
struct AppSettings
{
    qint16 BitrateIndex = 8;    // "192"
    qint16 SampleRateIndex = 1; // "44100"
    qint16 ChannelIndex = 1;    // "Stereo"
    QString OutputFolder;       // the platform's default output folder on a first run
    qint16 FormatIndex = 1;     // "WMA"
};
