#pragma once

#include <QString>

namespace platform {

// Modal messages to the user. The program shows them as message boxes; tests put a recorder in.
class UserMessages
{
public:
    enum class Icon { None, Information, Warning, Error };

    virtual ~UserMessages() = default;
    // Shows `text` with an OK button and returns when the user has dismissed it.
    // An empty title shows the application's own title.
    virtual void Show(const QString &text, const QString &title, Icon icon) = 0;
    // The same, with a longer text the user can open below the message.
    virtual void ShowWithDetails(const QString &text, const QString &details, const QString &title,
                                 Icon icon) = 0;
};

// Used where no window exists: writes the message to standard error.
class ConsoleMessages : public UserMessages
{
public:
    void Show(const QString &text, const QString &title, Icon icon) override;
    void ShowWithDetails(const QString &text, const QString &details, const QString &title,
                         Icon icon) override;
};

} // namespace platform
