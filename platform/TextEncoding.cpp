#include "TextEncoding.h"

#include <QFile>
#include <QUrl>

namespace platform {

bool SystemEncodingHolds(char32_t ch)
{
    // Qt takes the locale encoding on Unix to be UTF-8, which holds every character.
    return ch < 0x110000 && (ch < 0xD800 || ch > 0xDFFF);
}

QByteArray NameBytes(const QString &name)
{
    return QFile::encodeName(name);
}

QString NameFromBytes(const QByteArray &bytes)
{
    return QFile::decodeName(bytes);
}

QByteArray NameBytesOfAddress(const QUrl &address)
{
    // The address keeps the name's own bytes, percent-encoded.
    return QByteArray::fromPercentEncoding(address.path(QUrl::FullyEncoded).toLatin1());
}

} // namespace platform
