#pragma once

#include "settings/CutterOptions.h"
#include "settings/OutputFormats.h"

#include <QString>
#include <QStringList>

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

struct ConverterCommand
{
    // Empty when the format index names no format.
    QString commandLine;
    // The file the converter is asked to write.
    QString outputPath;
};

// The output file extension of a format, with its dot.
QString OutputExtension(OutputFormat format);

// The converter's path inside the program folder.
QString ConverterPath(const QString &programFolder);

// The output folder with one trailing separator.
QString OutputFolderWithSeparator(const QString &folder);

// The converter command line for one queued input. Paths are put between double quotes and
// nothing else is escaped; names are taken in their narrow form, so no double quote can
// end a quoted path early.
// `outputPath`, when given, is written instead of the file named after the input's title.
ConverterCommand BuildConverterCommand(const QString &programFolder, const QString &inputPath,
                                       const ConversionChoices &choices, const QString &outputPath = {});
