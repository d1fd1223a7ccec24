#include "CommandLineSplitter.h"

#include <QDir>

namespace {

const QLatin1Char kSpace(' ');
const QLatin1Char kQuote('"');

} // namespace

SplitCommandLine SplitConverterCommandLine(const QString &commandLine,
                                           const std::function<bool(const QString &)> &isProgram)
{
    SplitCommandLine split;
    qsizetype programEnd = -1;
    for (qsizetype end = commandLine.indexOf(kSpace);; end = commandLine.indexOf(kSpace, end + 1)) {
        const qsizetype candidateEnd = end < 0 ? commandLine.size() : end;
        if (candidateEnd > 0 && isProgram(commandLine.left(candidateEnd))) {
            programEnd = candidateEnd;
            break;
        }
        if (end < 0)
            break;
    }
    if (programEnd < 0) {
        programEnd = commandLine.indexOf(kSpace);
        if (programEnd < 0)
            programEnd = commandLine.size();
    }
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
