#pragma once
// The modal questions the main frame asks: folder browser, export save dialogs,
// the graph picture's options and error messages. The frame asks through this
// interface so that another implementation (a test's) can give the answers.

#include "shell/graph_image_dialog.h"

#include <QString>

#include <optional>

class QPrinter;
class QWidget;

namespace veltrin {

class FrameDialogs {
public:
    virtual ~FrameDialogs() = default;

    // Lets the user pick a data directory, starting at `start`; nullopt on cancel.
    virtual std::optional<QString> BrowseFolder(QWidget* parent, const QString& title,
                                                const QString& start) = 0;

    // Asks for the CSV export's file; `proposedPath` is folder plus proposed name.
    virtual std::optional<QString> SaveCsvPath(QWidget* parent, const QString& proposedPath) = 0;

    // Asks for the KML export's file. `extended` is the check box's initial state
    // and receives its final state on confirmation; unchanged on cancel.
    virtual std::optional<QString> SaveKmlPath(QWidget* parent, const QString& proposedPath,
                                               bool& extended) = 0;

    // Asks for the GPX export's file; `proposedPath` is folder plus proposed name.
    virtual std::optional<QString> SaveGpxPath(QWidget* parent, const QString& proposedPath) = 0;

    // Asks for the PDF file of a report under `title`; nullopt on cancel.
    virtual std::optional<QString> SavePdfPath(QWidget* parent, const QString& title,
                                               const QString& proposedPath) = 0;
    // Lets the user choose and set up `printer`; false on cancel.
    virtual bool SetUpPrinter(QWidget* parent, QPrinter& printer) = 0;

    // Asks which graphs a picture shows and how wide it is, starting from
    // `initial`; `windowWidth` is the active graph window's. nullopt on cancel.
    virtual std::optional<GraphImageOptions> AskGraphImageOptions(QWidget* parent,
                                                                  const GraphImageOptions& initial,
                                                                  int windowWidth) = 0;
    // Asks for the picture's file, ending in ".png" or ".svg"; nullopt on cancel.
    virtual std::optional<QString> SaveImagePath(QWidget* parent, const QString& proposedPath) = 0;

    // Shows a stop message with the application's caption.
    virtual void ShowError(QWidget* parent, const QString& text) = 0;
};

// The real dialogs of the desktop.
class DesktopDialogs final : public FrameDialogs {
public:
    std::optional<QString> BrowseFolder(QWidget* parent, const QString& title,
                                        const QString& start) override;
    std::optional<QString> SaveCsvPath(QWidget* parent, const QString& proposedPath) override;
    std::optional<QString> SaveKmlPath(QWidget* parent, const QString& proposedPath,
                                       bool& extended) override;
    std::optional<QString> SaveGpxPath(QWidget* parent, const QString& proposedPath) override;
    std::optional<QString> SavePdfPath(QWidget* parent, const QString& title,
                                       const QString& proposedPath) override;
    bool SetUpPrinter(QWidget* parent, QPrinter& printer) override;
    std::optional<GraphImageOptions> AskGraphImageOptions(QWidget* parent,
                                                          const GraphImageOptions& initial,
                                                          int windowWidth) override;
    std::optional<QString> SaveImagePath(QWidget* parent, const QString& proposedPath) override;
    void ShowError(QWidget* parent, const QString& text) override;
};

}  // namespace veltrin
