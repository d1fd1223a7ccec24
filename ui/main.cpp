#include "InstanceChannel.h"
#include "QtServices.h"
#include "Skin.h"
#include "frmMain.h"
#include "platform/ProcessEnd.h"
#include "platform/SingleInstance.h"
#include "platform/SystemDesktop.h"

#include <QApplication>
#include <QFileInfo>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brimwave"));
    QApplication::setWindowIcon(Skin::ProgramIcon());
    // Files to open (the desktop's "Open with"): queued as if dropped on the start panel.
    QStringList files;
    for (const QString &argument : QApplication::arguments().mid(1))
        files << QFileInfo(argument).absoluteFilePath();

    const platform::ProgramPlaces places = platform::ProgramPlaces::ForThisProgram();
    // A second start hands its files to the running window, brings it to the front and ends,
    // before it reads or touches anything.
    platform::SingleInstance instance(places.instanceLock);
    if (instance.Result() == platform::SingleInstance::Outcome::AnotherRunning) {
        // Files the running window did not take are said to be lost, by the exit status.
        return InstanceChannel::HandToRunning(places.instanceSocket, files) ? 0 : 1;
    }
    platform::DoBeforeProcessEnd([&instance] { instance.Release(); });

    QtMessages messages;
    QtDialogs dialogs;
    QtShell shell;
    SystemHousekeeping housekeeping;
    const std::unique_ptr<platform::DesktopTask> desktop =
        platform::SystemDesktop(platform::ProgramDesktopEntry());
    frmMain window(places, {messages, dialogs, shell, housekeeping, *desktop});
    InstanceChannel channel(places.instanceSocket);
    window.AcceptLaterStarts(channel);
    if (instance.Result() == platform::SingleInstance::Outcome::First)
        channel.Listen();
    window.show();
    if (!files.isEmpty())
        window.QueueFilesGiven(files);
    return app.exec();
}
