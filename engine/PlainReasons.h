#pragma once

#include <QString>

// The converter's commonest failures in the words a person would use. `converterLine` is the
// converter's line, `input` and `output` the file being converted and the one being
// written (the converter names whichever it could not use). Empty when the line is none of them.
QString PlainReason(const QString &converterLine, const QString &input, const QString &output);

// The words for a full disk, which no encoder may shrug off.
QString DiskFullReason();
