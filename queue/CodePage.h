#pragma once

#include <QString>

#include <functional>

// The narrow code page in which names cross over to the converter's command line.
// A character the code page cannot hold comes back as "?", and so does the double quote,
// which the quoted command line cannot carry. Tests put in an ASCII-only or Latin-1 page
// to exercise every path that a foreign name takes.
class CodePage
{
public:
    using HoldsCharacter = std::function<bool(char32_t)>;

    // The system's locale encoding (UTF-8 on Linux holds every character).
    static CodePage System();
    static CodePage Ascii();
    static CodePage Latin1();

    // The code page in use for the whole program; System() unless replaced.
    static const CodePage &Active();
    static void SetActive(const CodePage &page);

    // The text converted to the code page and back.
    QString Narrow(const QString &text) const;

private:
    explicit CodePage(HoldsCharacter holds) : m_holds(std::move(holds)) {}
    HoldsCharacter m_holds;
};

// Convenience: the narrow form of `text` in the active code page.
QString NarrowForm(const QString &text);
