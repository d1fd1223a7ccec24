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

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

} // namespace

QString OutputExtension(OutputFormat format)
{
    return Latin1(kOutputFormats[int(format)].extension);
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
    if (choices.formatIndex < 0 || choices.formatIndex >= kOutputFormatCount)
        return {};
    const OutputFormatRow &format = kOutputFormats[choices.formatIndex];

    QString options;
    if (format.pickers == OutputFormatRow::Pickers::Taken) {
        options = QStringLiteral("-ab ") + choices.bitrateText + QStringLiteral("k -ar ") +
                  choices.sampleRateText + QStringLiteral(" -ac ") +
                  QString::number(choices.channelIndex + 1) + QLatin1Char(' ');
    }
    if (!format.options.empty())
        options += Latin1(format.options) + QLatin1Char(' ');

    ConverterCommand command;
    command.outputPath = !outputPath.isEmpty()
                             ? NarrowForm(outputPath)
                             : NarrowForm(OutputFolderWithSeparator(choices.outputFolder)) +
                                   NarrowForm(TitleOfPath(inputPath)) + Latin1(format.extension);

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
