#include "UserMessages.h"

#include <cstdio>

namespace platform {

void ConsoleMessages::Show(const QString &text, const QString &title, Icon)
{
    const QString line = title.isEmpty() ? text : title + QStringLiteral(": ") + text;
    std::fprintf(stderr, "%s\n", qPrintable(line));
}

} // namespace platform

namespace platform {

void ConsoleMessages::ShowWithDetails(const QString &text, const QString &details, const QString &title,
                                      Icon icon)
{
    Show(text + QStringLiteral("\n") + details, title, icon);
}

} // namespace platform
