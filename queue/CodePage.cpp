#include "CodePage.h"

#include "platform/TextEncoding.h"

#include <QList>

#include <algorithm>

namespace {

CodePage &ActivePage()
{
    static CodePage page = CodePage::System();
    return page;
}

} // namespace

CodePage CodePage::System()
{
    return CodePage(platform::SystemEncodingHolds);
}

CodePage CodePage::Ascii()
{
    return CodePage([](char32_t ch) { return ch < 0x80; });
}

CodePage CodePage::Latin1()
{
    return CodePage([](char32_t ch) { return ch < 0x100; });
}

const CodePage &CodePage::Active()
{
    return ActivePage();
}

void CodePage::SetActive(const CodePage &page)
{
    ActivePage() = page;
}

QString CodePage::Narrow(const QString &text) const
{
    // Plain ASCII without a double quote is the same in every code page: the common case costs
    // one look at each character.
    const bool plain = std::all_of(text.cbegin(), text.cend(),
                                   [](QChar ch) { return ch.unicode() < 0x80 && ch != QLatin1Char('"'); });
    if (plain)
        return text;
    QString narrow;
    narrow.reserve(text.size());
    for (const char32_t ch : text.toUcs4()) {
        if (ch == U'"' || !m_holds(ch))
            narrow += QLatin1Char('?');
        else
            narrow += QString::fromUcs4(&ch, 1);
    }
    return narrow;
}

QString NarrowForm(const QString &text)
{
    return CodePage::Active().Narrow(text);
}
