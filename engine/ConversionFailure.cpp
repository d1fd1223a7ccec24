#include "ConversionFailure.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace {

// A converter line is cut to this length: a line can be a whole file's worth of text.
constexpr int kLongestReason = 300;

QString Capped(const QString &text)
{
    return text.size() <= kLongestReason ? text : text.left(kLongestReason - 3) + QStringLiteral("...");
}

// The converter's last words: the last line of its output that holds anything.
QString LastLine(const QString &outputs)
{
    static const QRegularExpression lineBreak(QStringLiteral("[\r\n]+"));
    const QStringList lines = outputs.split(lineBreak, Qt::SkipEmptyParts);
    for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
        if (!it->trimmed().isEmpty())
            return Capped(it->trimmed());
    }
    return {};
}

} // namespace

QString ConversionFailure(const DOSOutputs::ChildEnd &end, const QString &outputs,
                          const CutterOptions &cutter, bool reachedPastStart, const QString &output)
{
    if (end.kind == DOSOutputs::ChildEnd::Kind::Signalled) {
        return QStringLiteral("the converter stopped unexpectedly (signal %1)").arg(end.signal);
    }
    const QString lastLine = LastLine(outputs);
    if (end.kind != DOSOutputs::ChildEnd::Kind::Exited || end.exitCode != 0)
        return lastLine.isEmpty() ? QStringLiteral("the converter failed without a word") : lastLine;
    // A cut outside the file gives an output without any sound, and the converter is content.
    if (cutter.CutterEnabled != 0 && !reachedPastStart) {
        return cutter.CutLengthSeconds == 0 ? QStringLiteral("the cut length is 0")
                                            : QStringLiteral("the cut starts after the end of the file");
    }
    const QFileInfo written(output);
    if (!written.isFile() || written.size() == 0)
        return lastLine.isEmpty() ? QStringLiteral("no output file was written") : lastLine;
    return {};
}
