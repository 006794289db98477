#include "shell/viewer_app.h"

#include "shell/about_dialog.h"
#include "shell/command_table.h"
#include "shell/main_frame.h"
#include "shell/resources_init.h"
#include "shell/shell_constants.h"

#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>

namespace veltrin {

namespace {
// Initial main window size, shrunk to fit smaller screens.
constexpr QSize kInitialSize{1180, 780};
}  // namespace

CViewerApp::CViewerApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QString::fromUtf8(kApplicationTitle));
    setOrganizationName(QString::fromUtf8(kOrganisation));
    setApplicationVersion(QString::fromUtf8(kApplicationVersion));
    setDesktopFileName(QStringLiteral("veltrin-view"));
    InitShellResources();
    setWindowIcon(ApplicationIcon());
    // The program speaks German, so Qt's own dialogs and buttons do too.
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
}

CViewerApp::~CViewerApp()
{
    // The frame writes its settings as it goes, while the application still exists.
    mainFrame_.reset();
}

bool CViewerApp::InitInstance(const QString& baseDirectory)
{
    mainFrame_ = std::make_unique<CMainFrame>();
    connect(mainFrame_->Action(Command::About), &QAction::triggered, this, &CViewerApp::OnAppAbout);
    if (!baseDirectory.isEmpty())
        mainFrame_->LoadBaseDirectory(QFileInfo(baseDirectory).absoluteFilePath());

    QSize size = kInitialSize;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableSize() * 0.95);
    mainFrame_->resize(size);
    mainFrame_->show();
    return true;
}

void CViewerApp::OnAppAbout()
{
    CAboutDialog dialog(mainFrame_.get());
    dialog.exec();
}

}  // namespace veltrin
