#pragma once

#include "engine/BatchStanding.h"

#include <QObject>
#include <QString>

#include <functional>

class BatchConverter;
class QLabel;
class QWidget;
namespace platform {
class DesktopTask;
class Shell;
} // namespace platform

// Where a running batch stands, outside the progress bar: the caption under the queue's
// heading, the window's title (which the taskbar shows), the taskbar entry's progress, and a
// notification at the end when the user is looking elsewhere.
class BatchWatch : public QObject
{
    Q_OBJECT
public:
    BatchWatch(QWidget *window, QLabel *caption, BatchConverter &batch, platform::DesktopTask &desktop,
               platform::Shell &shell, std::function<QString()> outputFolder);

    // The notification's headline: "5 files converted", "4 converted, 1 failed".
    static QString EndSummary(int converted, int failed);

private:
    void ShowStanding(const BatchStanding &standing);
    void ClearStanding();
    void NotifyEnd();

    QWidget *m_window;
    QLabel *m_caption;
    BatchConverter &m_batch;
    platform::DesktopTask &m_desktop;
    platform::Shell &m_shell;
    std::function<QString()> m_outputFolder;
    // The window's own title, shown again when the batch is over.
    QString m_idleTitle;
};
