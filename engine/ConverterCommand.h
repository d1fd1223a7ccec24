#pragma once

#include "ConversionChoices.h"
#include "settings/OutputFormats.h"

#include <QString>
#include <QStringList>

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
