#pragma once
// CViewerApp: the application object. It names the program for the settings
// store and message boxes, creates the main frame and answers the about command.

#include <QApplication>

#include <memory>

namespace veltrin {

class CMainFrame;

class CViewerApp : public QApplication {
    Q_OBJECT

public:
    CViewerApp(int& argc, char** argv);
    ~CViewerApp() override;

    // Creates and shows the main frame; `baseDirectory`, when not empty, is
    // loaded as if chosen with "Verzeichnis laden". False when creation failed.
    bool InitInstance(const QString& baseDirectory);

    CMainFrame* MainFrame() const { return mainFrame_.get(); }

    void OnAppAbout();

private:
    std::unique_ptr<CMainFrame> mainFrame_;
};

}  // namespace veltrin
