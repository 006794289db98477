// veltrin-view [BASEDIR]: the desktop viewer for the recorder's data directory.
#include "recorder/ui/config_wizard.h"
#include "shell/main_frame.h"
#include "shell/viewer_app.h"

#include <QStringList>

int main(int argc, char** argv)
{
    veltrin::CViewerApp app(argc, argv);
    const QStringList arguments = veltrin::CViewerApp::arguments();
    if (!app.InitInstance(arguments.size() > 1 ? arguments.at(1) : QString()))
        return 1;
    // "Logger konfigurieren" runs the recorder wizard with the remembered port
    // and keeps the port the recorder was found on.
    app.MainFrame()->SetConfigureLoggerHandler([](veltrin::CMainFrame& frame) {
        QString port = frame.Port();
        if (veltrin::RunRecorderConfiguration(&frame, frame.LinkSession(), port))
            frame.SetPort(port);
    });
    return veltrin::CViewerApp::exec();
}
