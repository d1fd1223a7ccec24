#pragma once

#include "AppSettings.h"
#include "CutterOptions.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Reads the values of a settings file one after another. A value is either a double-quoted
// text (commas inside belong to it) or an unquoted text from its first non-space character to
// the next comma or line end.
class SettingsFieldReader
{
public:
    explicit SettingsFieldReader(const QByteArray &content);
    // The next value; none once the file is used up.
    std::optional<QString> Next();

private:
    QString m_text;
    qsizetype m_pos = 0;
};

// A picker index written as decimal text: optional sign, surrounding spaces and a fraction,
// rounded to the nearest integer with ties to the even one. None when it is not such a
// number or lies outside -32768..32767.
std::optional<qint16> IndexFromText(const QString &text);

// The lenient number rule: spaces anywhere are ignored, the longest leading decimal number is
// taken ("90s" is 90), and a text with none is 0.
double LenientValue(const QString &text);
// The same, rounded, ties to the even integer.
double LenientNumber(const QString &text);

// A time in seconds as the cutter stores it: rounded (ties to even) and, when too large or too
// small for 32 bits, the nearest value that fits.
qint32 WholeSeconds(double seconds);

// setup.ini: values missing, damaged or naming no picker item leave the first-run values in
// `settings`; an empty folder becomes `defaultFolder`.
void LoadAppSettings(const QString &path, AppSettings &settings, const QString &defaultFolder);
// Writes every value quoted, one per line, CR LF ended. False when the file could not be
// written; the previous file then stays whole. A folder holding a double quote is not written:
// the folder the file held stays.
bool SaveAppSettings(const QString &path, const AppSettings &settings);

// options.ini: missing values and numbers too large for their field stay 0. A fifth line, the
// files converted at once, is read when it is a whole number from 1 to `mostFilesAtOnce`;
// otherwise (missing, unreadable, out of range) it is 1.
CutterOptions LoadCutterOptions(const QString &path, int mostFilesAtOnce = MostFilesAtOnce());
// Writes the four values, one per line, and the fifth only when it is not 1, so that a file
// with the default choice is the same four lines as ever.
bool SaveCutterOptions(const QString &path, const CutterOptions &options);

// What a save writes over a file in place (a folder that takes no new file) before cutting it
// to length: `bytes`, padded with spaces to the old file's size.
QByteArray PaddedForInPlace(const QByteArray &bytes, qint64 oldSize);

// Deletes what saves stopped midway (a kill, a power loss) left in `folder`.
void RemoveSaveLeftovers(const QString &folder);
