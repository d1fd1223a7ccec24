#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A converter command line taken apart into the pieces it was built from.
struct CommandLinePiece
{
    QString text;
    bool quoted = false; // it stood between double quotes: a file name
};

struct SplitCommandLine
{
    QString program;
    QList<CommandLinePiece> arguments;
};

// Splits a command line the way it was put together:
// - the program path is not quoted and may hold spaces: when the line begins with
//   `converterPath` followed by a space (or nothing), that path is the program, exactly; any
//   other line's program is its first word. Nothing is looked up on disk, so no file whose
//   name is a part of the path can take the converter's place;
// - after it, a piece that starts with a double quote runs to the next double quote, whatever
//   it holds (spaces, dashes, newlines); any other piece runs to the next space.
SplitCommandLine SplitConverterCommandLine(const QString &commandLine, const QString &converterPath);

// The argument vector to start the converter with, program first. A quoted piece is a file
// name; one that does not begin with the root is passed as "file:" + name, so that the
// converter reads it as a file and never as an option or another protocol.
QStringList ConverterArgv(const SplitCommandLine &split);
