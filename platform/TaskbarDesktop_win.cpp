#include "SystemDesktop.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QWindow>

#include <windows.h>
// After windows.h, which it needs.
#include <shobjidl.h>

namespace {

// The taskbar button's progress through ITaskbarList3, and the end of a batch as a balloon of
// the notification area, which opens the output folder when clicked.
class TaskbarDesktop : public platform::DesktopTask
{
public:
    ~TaskbarDesktop() override
    {
        if (m_taskbar)
            m_taskbar->Release();
        delete m_tray;
    }

    void ShowProgress(std::optional<double> share) override
    {
        const HWND window = ProgramWindow();
        if (!window || !Taskbar())
            return;
        if (!share) {
            m_taskbar->SetProgressState(window, TBPF_NOPROGRESS);
            return;
        }
        m_taskbar->SetProgressState(window, TBPF_NORMAL);
        m_taskbar->SetProgressValue(window, ULONGLONG(qBound(0.0, *share, 1.0) * 1000), 1000);
    }

    void Notify(const QString &summary, const QString &body, std::function<void()> openFolder) override
    {
        if (!QSystemTrayIcon::isSystemTrayAvailable())
            return;
        if (!m_tray) {
            m_tray = new QSystemTrayIcon(QApplication::windowIcon());
            QObject::connect(m_tray, &QSystemTrayIcon::messageClicked, [this] {
                if (m_openFolder)
                    m_openFolder();
            });
            m_tray->show();
        }
        m_openFolder = std::move(openFolder);
        m_tray->showMessage(summary, body, QSystemTrayIcon::Information);
    }

private:
    // The program's main window: its one visible top-level window.
    static HWND ProgramWindow()
    {
        for (QWindow *window : QGuiApplication::topLevelWindows()) {
            if (window->isVisible() && window->type() == Qt::Window)
                return reinterpret_cast<HWND>(window->winId());
        }
        return nullptr;
    }

    ITaskbarList3 *Taskbar()
    {
        if (!m_taskbar && !m_triedTaskbar) {
            m_triedTaskbar = true;
            void *made = nullptr;
            if (SUCCEEDED(::CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_ITaskbarList3, &made))) {
                m_taskbar = static_cast<ITaskbarList3 *>(made);
                if (FAILED(m_taskbar->HrInit())) {
                    m_taskbar->Release();
                    m_taskbar = nullptr;
                }
            }
        }
        return m_taskbar;
    }

    ITaskbarList3 *m_taskbar = nullptr;
    bool m_triedTaskbar = false;
    QSystemTrayIcon *m_tray = nullptr;
    std::function<void()> m_openFolder;
};

} // namespace

std::unique_ptr<platform::DesktopTask> platform::SystemDesktop(const QString &)
{
    return std::make_unique<TaskbarDesktop>();
}
