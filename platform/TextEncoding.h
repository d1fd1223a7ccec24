#pragma once

#include <QByteArray>
#include <QString>

class QUrl;

namespace platform {

// Whether the system's narrow encoding can carry the character `ch` there and back.
bool SystemEncodingHolds(char32_t ch);

// A file name as the bytes the file system knows it by, and back: exact both ways for every
// name the system can hold (the locale's encoding on Linux; UTF-8 of the wide name on Windows).
QByteArray NameBytes(const QString &name);
QString NameFromBytes(const QByteArray &bytes);
// The bytes of the local file a file:// address names, also those that are no text.
QByteArray NameBytesOfAddress(const QUrl &address);

} // namespace platform
