#include "BatchWatch.h"

#include "engine/BatchConverter.h"
#include "platform/DesktopTask.h"
#include "platform/Shell.h"

#include <QLabel>
#include <QWidget>

BatchWatch::BatchWatch(QWidget *window, QLabel *caption, BatchConverter &batch,
                       platform::DesktopTask &desktop, platform::Shell &shell,
                       std::function<QString()> outputFolder)
    : QObject(window), m_window(window), m_caption(caption), m_batch(batch), m_desktop(desktop),
      m_shell(shell), m_outputFolder(std::move(outputFolder)), m_idleTitle(window->windowTitle())
{
    connect(&batch, &BatchConverter::StandingChanged, this, &BatchWatch::ShowStanding);
    // The end comes before the failure warning, so the notification is not held up by it.
    connect(&batch, &BatchConverter::BatchFinished, this, [this] {
        ClearStanding();
        NotifyEnd();
    });
    connect(&batch, &BatchConverter::BatchHalted, this, &BatchWatch::ClearStanding);
    connect(&batch, &BatchConverter::BatchStopped, this, &BatchWatch::ClearStanding);
}

QString BatchWatch::EndSummary(int converted, int failed)
{
    if (failed == 0)
        return converted == 1 ? QStringLiteral("1 file converted")
                              : QStringLiteral("%1 files converted").arg(converted);
    return QStringLiteral("%1 converted, %2 failed").arg(converted).arg(failed);
}

void BatchWatch::ShowStanding(const BatchStanding &standing)
{
    m_caption->setText(StandingCaption(standing));
    m_caption->show();
    m_window->setWindowTitle(StandingTitle(standing, m_idleTitle));
    m_desktop.ShowProgress(standing.share);
}

void BatchWatch::ClearStanding()
{
    m_caption->hide();
    m_window->setWindowTitle(m_idleTitle);
    m_desktop.ShowProgress(std::nullopt);
}

void BatchWatch::NotifyEnd()
{
    // The user watching the window has seen the end there.
    if (m_window->isActiveWindow())
        return;
    const BatchConverter::Tally tally = m_batch.BatchTally();
    const QString folder = m_outputFolder();
    m_desktop.Notify(EndSummary(tally.converted, tally.failed), folder,
                     [shell = &m_shell, folder] { shell->OpenFolder(folder); });
}
