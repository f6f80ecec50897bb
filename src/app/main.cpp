#include "app/QuorvelApp.h"
#include "app/SingleInstance.h"
#include "platform/PlatformSession.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    PlatformSession::choosePlatform();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    // The main window hides into the tray; only closing it or "退出" ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance;
    if (!instance.becomePrimary()) {
        // Another copy runs: bring its window forward and leave without a trace.
        instance.askPrimaryToRaise();
        return 0;
    }

    QuorvelApp quorvel;
    QObject::connect(&instance, &SingleInstance::raiseRequested, &quorvel, &QuorvelApp::raiseMainWindow);
    quorvel.start();
    return app.exec();
}
