// veltrin-view [BASEDIR]: the desktop viewer for the recorder's data directory.
#include "recorder/ui/config_wizard.h"
#include "shell/main_frame.h"
#include "shell/viewer_app.h"

#include <QStringList>

#include <optional>

int main(int argc, char** argv)
{
    veltrin::CViewerApp app(argc, argv);
    const QStringList arguments = veltrin::CViewerApp::arguments();
    if (!app.InitInstance(arguments.size() > 1 ? arguments.at(1) : QString()))
        return 1;
    // "Logger konfigurieren" runs the recorder wizard with the remembered port
    // and keeps the port the recorder was found on, and the recorder's limits
    // the wizard read or wrote.
    app.MainFrame()->SetConfigureLoggerHandler([](veltrin::CMainFrame& frame) {
        QString port = frame.Port();
        std::optional<veltrin::RecorderLimits> limits;
        if (veltrin::RunRecorderConfiguration(&frame, frame.LinkSession(), port, &limits))
            frame.SetPort(port);
        if (limits)
            frame.SetRecorderLimits({limits->negativeLoad, limits->positiveLoad, limits->speed});
    });
    return veltrin::CViewerApp::exec();
}
