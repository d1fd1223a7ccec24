#include "ConversionFailure.h"

#include "platform/ChildProcess.h"

#include "PlainReasons.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

// A converter line is cut to this length: a line can be a whole file's worth of text.
constexpr int kLongestReason = 300;
// An encoder pads what it was given to one frame of its own (20 to 50 ms): an output that
// short, holding less than the statistics' smallest unit of audio, holds nothing of the file.
constexpr double kEncoderPaddingSeconds = 0.05;

bool HoldsSound(double furthestPosition, const QString &outputs)
{
    if (furthestPosition <= 0)
        return false;
    return furthestPosition > kEncoderPaddingSeconds || !outputs.contains(QLatin1String(" audio:0kB "));
}

QString Capped(const QString &text)
{
    return text.size() <= kLongestReason ? text : text.left(kLongestReason - 3) + QStringLiteral("...");
}

// What the converter's lines tell: its last words, and the last line that names a failure a
// person knows, with those words. The converter goes on after its reason (the statistics,
// "Conversion failed!"), so the reason is looked for in every line.
struct Telling
{
    QString lastLine;
    QString reasonLine;
    QString plain;
};

bool IsLineBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

Telling Tell(const QString &outputs, const QString &input, const QString &output)
{
    Telling telling;
    // Line by line from the end: the reason is mostly near it, and the output is not cut up whole.
    for (qsizetype end = outputs.size(); end > 0;) {
        qsizetype start = end;
        while (start > 0 && !IsLineBreak(outputs.at(start - 1)))
            --start;
        const QString line = QStringView(outputs).sliced(start, end - start).trimmed().toString();
        for (end = start; end > 0 && IsLineBreak(outputs.at(end - 1));)
            --end;
        if (line.isEmpty())
            continue;
        if (telling.lastLine.isEmpty())
            telling.lastLine = Capped(line);
        telling.plain = PlainReason(line, input, output);
        if (!telling.plain.isEmpty()) {
            telling.reasonLine = Capped(line);
            break;
        }
    }
    return telling;
}

} // namespace

ConversionVerdict ConversionFailure(const DOSOutputs::ChildEnd &end, const QString &outputs,
                                    const CutterOptions &cutter, double furthestPosition,
                                    const QString &input, const QString &output)
{
    if (end.kind == DOSOutputs::ChildEnd::Kind::Signalled)
        return {QStringLiteral("the converter stopped unexpectedly (signal %1)").arg(end.signal), {}};
    const QString crash =
        end.kind == DOSOutputs::ChildEnd::Kind::Exited ? platform::CrashOfExitCode(end.exitCode) : QString();
    if (!crash.isEmpty())
        return {QStringLiteral("the converter stopped unexpectedly (%1)").arg(crash), {}};
    const Telling telling = Tell(outputs, input, output);
    if (end.kind != DOSOutputs::ChildEnd::Kind::Exited || end.exitCode != 0) {
        if (!telling.plain.isEmpty())
            return {telling.plain, telling.reasonLine};
        return {telling.lastLine.isEmpty() ? QStringLiteral("the converter failed without a word")
                                           : telling.lastLine,
                {}};
    }
    // A full disk while the file is closed still ends some encoders with 0: the file is cut short.
    if (telling.plain == DiskFullReason())
        return {telling.plain, telling.reasonLine};
    const bool holdsSound = HoldsSound(furthestPosition, outputs);
    // A cut outside the file gives an output without any sound, and the converter is content.
    if (cutter.CutterEnabled != 0 && !holdsSound) {
        return {cutter.CutLengthSeconds == 0 ? QStringLiteral("the cut length is 0")
                                             : QStringLiteral("the cut starts after the end of the file"),
                {}};
    }
    // Nothing was converted: an output without a single sound, however the converter ended.
    if (!holdsSound)
        return {QStringLiteral("has no sound to convert"), {}};
    const QFileInfo written(output);
    if (!written.isFile() || written.size() == 0) {
        // The converter wrote into a file that a removed folder took with it.
        if (!written.absoluteDir().exists())
            return {QStringLiteral("the output folder is gone"), {}};
        return {QStringLiteral("no output file was written"), telling.lastLine};
    }
    return {};
}
