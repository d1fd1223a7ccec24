#include "TextEncoding.h"

#include <QUrl>

#include <windows.h>

namespace platform {

bool SystemEncodingHolds(char32_t ch)
{
    if (ch >= 0x110000 || (ch >= 0xD800 && ch <= 0xDFFF))
        return false;
    // A system whose code page is UTF-8 holds every character (and takes no flags for it).
    if (::GetACP() == CP_UTF8)
        return true;
    const std::wstring wide = QString::fromUcs4(&ch, 1).toStdWString();
    // No best fit: a character the code page has no place for is not replaced by a look-alike
    // (which would name another file), and the default character tells it was missing.
    char narrow[8];
    BOOL missing = FALSE;
    const int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), int(wide.size()),
                                           narrow, int(sizeof narrow), nullptr, &missing);
    if (size <= 0 || missing)
        return false;
    wchar_t back[4];
    const int backSize = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, narrow, size, back, 4);
    return backSize == int(wide.size()) && std::wstring(back, size_t(backSize)) == wide;
}

QByteArray NameBytes(const QString &name)
{
    return name.toUtf8();
}

QString NameFromBytes(const QByteArray &bytes)
{
    return QString::fromUtf8(bytes);
}

QByteArray NameBytesOfAddress(const QUrl &address)
{
    // A wide name is the file's own name, whole.
    return NameBytes(address.toLocalFile());
}

} // namespace platform
