#include "CommandLineSplitter.h"

#include <QDir>

namespace {

const QLatin1Char kSpace(' ');
const QLatin1Char kQuote('"');

} // namespace

SplitCommandLine SplitConverterCommandLine(const QString &commandLine, const QString &converterPath)
{
    SplitCommandLine split;
    qsizetype programEnd = commandLine.indexOf(kSpace);
    if (!converterPath.isEmpty() && commandLine.startsWith(converterPath) &&
        (commandLine.size() == converterPath.size() || commandLine.at(converterPath.size()) == kSpace))
        programEnd = converterPath.size();
    else if (programEnd < 0)
        programEnd = commandLine.size();
    split.program = commandLine.left(programEnd);

    qsizetype pos = programEnd;
    const qsizetype size = commandLine.size();
    while (pos < size) {
        if (commandLine.at(pos) == kSpace) {
            ++pos;
            continue;
        }
        CommandLinePiece piece;
        if (commandLine.at(pos) == kQuote) {
            qsizetype close = commandLine.indexOf(kQuote, pos + 1);
            if (close < 0)
                close = size;
            piece.text = commandLine.mid(pos + 1, close - pos - 1);
            piece.quoted = true;
            pos = close + 1;
        } else {
            qsizetype end = commandLine.indexOf(kSpace, pos);
            if (end < 0)
                end = size;
            piece.text = commandLine.mid(pos, end - pos);
            pos = end;
        }
        split.arguments.append(piece);
    }
    return split;
}

QStringList ConverterArgv(const SplitCommandLine &split)
{
    QStringList argv{split.program};
    for (const CommandLinePiece &piece : split.arguments) {
        if (piece.quoted && !QDir::isAbsolutePath(piece.text))
            argv.append(QStringLiteral("file:") + piece.text);
        else
            argv.append(piece.text);
    }
    return argv;
}
