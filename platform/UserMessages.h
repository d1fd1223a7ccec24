#pragma once

#include <QString>

namespace platform {

// Modal messages to the user. The program shows them as message boxes; tests put a recorder in.
class UserMessages
{
public:
    enum class Icon { None, Information, Warning, Error };
    // Which button dismissed a message: OK (or the window's close), or its action button.
    enum class Answer { Dismissed, Action };

    virtual ~UserMessages() = default;
    // Shows `text` with an OK button and returns when the user has dismissed it.
    // An empty title shows the application's own title.
    virtual void Show(const QString &text, const QString &title, Icon icon) = 0;
    // The same, with a longer text the user can open below the message (no button for it when
    // `details` is empty) and, when `action` is not empty, a second button with that caption.
    virtual Answer ShowWithDetails(const QString &text, const QString &details, const QString &title,
                                   Icon icon, const QString &action) = 0;
};

// Used where no window exists: writes the message to standard error.
class ConsoleMessages : public UserMessages
{
public:
    void Show(const QString &text, const QString &title, Icon icon) override;
    Answer ShowWithDetails(const QString &text, const QString &details, const QString &title, Icon icon,
                           const QString &action) override;
};

} // namespace platform
