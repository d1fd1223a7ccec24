#pragma once

#include "settings/CutterOptions.h"
#include "settings/OutputFormats.h"

#include <QString>

// The output choices one conversion is built from, read when its file starts.
struct ConversionChoices
{
    int formatIndex = int(OutputFormat::WMA);
    QString bitrateText = QStringLiteral("192");      // MP3 only, kbit/s
    QString sampleRateText = QStringLiteral("44100"); // MP3 only, Hz
    int channelIndex = 1;                             // MP3 only: 0 "Mono", 1 "Stereo"
    QString outputFolder;
    CutterOptions cutter;
};
