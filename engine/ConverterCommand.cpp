#include "ConverterCommand.h"

#include "platform/Paths.h"
#include "platform/ProcessList.h"
#include "queue/CodePage.h"
#include "queue/PathHelpers.h"

namespace {

const QLatin1Char kQuote('"');

QString Quoted(const QString &text)
{
    return kQuote + text + kQuote;
}

} // namespace

QString OutputExtension(OutputFormat format)
{
    static const char *const extensions[] = {".mp3", ".wma", ".ogg", ".wav", ".flac", ".ac3", ".aac", ".amr"};
    return QString::fromLatin1(extensions[int(format)]);
}

QString ConverterPath(const QString &programFolder)
{
    const QChar sep = platform::PathSeparator();
    return programFolder + sep + QStringLiteral("data") + sep + platform::ConverterProcessName();
}

QString OutputFolderWithSeparator(const QString &folder)
{
    return folder.endsWith(platform::PathSeparator()) ? folder : folder + platform::PathSeparator();
}

ConverterCommand BuildConverterCommand(const QString &programFolder, const QString &inputPath,
                                       const ConversionChoices &choices, const QString &outputPath)
{
    if (choices.formatIndex < 0 || choices.formatIndex > int(OutputFormat::AMR))
        return {};
    const auto format = OutputFormat(choices.formatIndex);

    QString options;
    switch (format) {
    case OutputFormat::MP3:
        options = QStringLiteral("-ab ") + choices.bitrateText + QStringLiteral("k -ar ") +
                  choices.sampleRateText + QStringLiteral(" -ac ") +
                  QString::number(choices.channelIndex + 1) + QLatin1Char(' ');
        break;
    case OutputFormat::WMA:
        options = QStringLiteral("-acodec wmav1 ");
        break;
    case OutputFormat::OGG:
        options = QStringLiteral("-ac 2 ");
        break;
    case OutputFormat::WAV:
        options = QStringLiteral("-acodec pcm_s16le ");
        break;
    case OutputFormat::AMR:
        options = QStringLiteral("-ar 8000 -ab 7.4k -ac 1 ");
        break;
    case OutputFormat::FLAC:
    case OutputFormat::AC3:
    case OutputFormat::AAC:
        break;
    }

    ConverterCommand command;
    command.outputPath = !outputPath.isEmpty()
                             ? NarrowForm(outputPath)
                             : NarrowForm(OutputFolderWithSeparator(choices.outputFolder)) +
                                   NarrowForm(TitleOfPath(inputPath)) + OutputExtension(format);

    QString line =
        ConverterPath(programFolder) + QStringLiteral(" -threads 1 -i ") + Quoted(NarrowForm(inputPath));
    if (choices.cutter.CutterEnabled != 0) {
        line += QStringLiteral(" -ss ") + QString::number(choices.cutter.CutStartSeconds) +
                QStringLiteral(" -t ") + QString::number(choices.cutter.CutLengthSeconds);
    }
    line += QStringLiteral(" -y -vn ") + options + Quoted(command.outputPath);
    command.commandLine = line;
    return command;
}
