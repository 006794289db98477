// veltrin-view [BASEDIR]: the desktop viewer for the recorder's data directory.
#include "recorder/ui/config_wizard.h"
#include "shell/main_frame.h"
#include "shell/viewer_app.h"
#include "veltrin/version.h"

#include <QStringList>

#include <cstdio>
#include <optional>
#include <string_view>

namespace {

constexpr const char* kUsage =
    "Aufruf: veltrin-view [BASISVERZ]\n"
    "       veltrin-view --help | --version\n"
    "Zeigt die Flüge eines Veltrin-Flugdatenschreibers an. BASISVERZ ist das\n"
    "Datenverzeichnis des Loggers (der Ordner VELT der Karte).\n";

}  // namespace

int main(int argc, char** argv)
{
    // Answered before the application starts, so that they need no display.
    if (argc == 2) {
        const std::string_view option = argv[1];
        if (option == "--version") {
            std::fputs("veltrin-view " VELTRIN_VERSION "\n", stdout);
            return 0;
        }
        if (option == "--help" || option == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
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
