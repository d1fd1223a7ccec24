#include "UserMessages.h"

#include <cstdio>

namespace platform {

void ConsoleMessages::Show(const QString &text, const QString &title, Icon)
{
    const QString line = title.isEmpty() ? text : title + QStringLiteral(": ") + text;
    std::fprintf(stderr, "%s\n", qPrintable(line));
}

} // namespace platform
