#include "UserMessages.h"

#include <cstdio>

namespace platform {

void ConsoleMessages::Show(const QString &text, const QString &title, Icon)
{
    const QString line = title.isEmpty() ? text : title + QStringLiteral(": ") + text;
    std::fprintf(stderr, "%s\n", qPrintable(line));
}

// No one can press a button on standard error: the message counts as dismissed.
UserMessages::Answer ConsoleMessages::ShowWithDetails(const QString &text, const QString &details,
                                                      const QString &title, Icon icon, const QString &)
{
    Show(details.isEmpty() ? text : text + QStringLiteral("\n") + details, title, icon);
    return Answer::Dismissed;
}

} // namespace platform
