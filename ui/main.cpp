#include "QtServices.h"
#include "frmMain.h"
#include "platform/SingleInstance.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brimwave"));
    const platform::ProgramPlaces places = platform::ProgramPlaces::ForThisProgram();
    // A second start ends at once, before it reads or touches anything.
    const platform::SingleInstance instance(places.instanceLock);
    if (!instance.IsFirst())
        return 0;

    QtMessages messages;
    QtDialogs dialogs;
    QtShell shell;
    frmMain window(places, {messages, dialogs, shell});
    window.show();
    return app.exec();
}
