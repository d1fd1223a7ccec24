#pragma once

#include "CodePage.h"

#include <QString>

// The characters after the last separator of `path`; the whole path when it has none.
QString FileNameOfPath(const QString &path);

// The file name of `path` cut before its last "."; "" when the name has no "." or begins
// with its only ".". This is the base name of the output file.
QString TitleOfPath(const QString &path);

// The last three characters of `text`, each upper-cased; the whole text when shorter.
QString FormatCode(const QString &text);

// `text` without its leading and trailing spaces; other blanks (tabs, line breaks) stay.
QString TrimSpaces(const QString &text);

// The row text for a chosen file: its narrow form, with each character of the file name that
// a file name cannot show ("/", "<", ">", "?", '"', ":", "*", "|") replaced by a space.
QString MakeDisplayText(const QString &path, const CodePage &page = CodePage::Active());
