#include "InstanceChannel.h"
#include "QtServices.h"
#include "frmMain.h"
#include "platform/ProcessEnd.h"
#include "platform/SingleInstance.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brimwave"));
    const platform::ProgramPlaces places = platform::ProgramPlaces::ForThisProgram();
    // A second start brings the running window to the front and ends, before it reads or
    // touches anything.
    platform::SingleInstance instance(places.instanceLock);
    if (instance.Result() == platform::SingleInstance::Outcome::AnotherRunning) {
        InstanceChannel::HandToRunning(places.instanceSocket, {});
        return 0;
    }
    platform::DoBeforeProcessEnd([&instance] { instance.Release(); });

    QtMessages messages;
    QtDialogs dialogs;
    QtShell shell;
    frmMain window(places, {messages, dialogs, shell});
    InstanceChannel channel(places.instanceSocket);
    window.AcceptLaterStarts(channel);
    if (instance.Result() == platform::SingleInstance::Outcome::First)
        channel.Listen();
    window.show();
    return app.exec();
}
