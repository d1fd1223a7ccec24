#include "TextEncoding.h"

#include <QString>
#include <QStringConverter>

namespace platform {

bool SystemEncodingHolds(char32_t ch)
{
#ifndef Q_OS_WIN
    // Qt takes the locale encoding on Unix to be UTF-8, which holds every character.
    return ch < 0x110000 && (ch < 0xD800 || ch > 0xDFFF);
#else
    const QString one = QString::fromUcs4(&ch, 1);
    QStringEncoder encode(QStringConverter::System);
    QStringDecoder decode(QStringConverter::System);
    const QByteArray bytes = encode(one);
    return !encode.hasError() && QString(decode(bytes)) == one;
#endif
}

} // namespace platform
