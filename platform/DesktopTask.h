#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace platform {

// What the desktop around the window shows of a batch: its progress on the program's taskbar
// entry, and a notification when it is over. Where the desktop offers neither, nothing is shown
// and nothing is reported.
class DesktopTask
{
public:
    virtual ~DesktopTask() = default;
    // The share of the batch done, 0 to 1, on the taskbar entry; none takes the progress off.
    virtual void ShowProgress(std::optional<double> share) = 0;
    // A notification: `summary` over `body`, with an action that runs `openFolder`.
    virtual void Notify(const QString &summary, const QString &body, std::function<void()> openFolder) = 0;
};

} // namespace platform
