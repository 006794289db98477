#pragma once
// Shared pieces of the main-frame tests: a temporary card with data files,
// dialogs that answer from a script, and a fixture with isolated settings.

#include "shell/frame_dialogs.h"
#include "shell/main_frame.h"
#include "support/made_lines.h"

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QTreeWidgetItem;

namespace veltrin::test {

// "$GPGGA" line of one fix.
std::string FixLine(double timeOfDay, double latitude, double longitude, double altitude);

// Writes `lines`, each ended by CR LF, to base/day/file.
void WriteDataFile(const QString& base, const QString& day, const QString& file,
                   const std::vector<std::string>& lines);

// A start with one sample every `stepMs` from 0 to `seconds` (inclusive),
// values rising with time, plus one fix per second.
std::vector<std::string> SteadyStart(int seconds, int stepMs = 1000);

// Answers the frame's modal questions from queues and records what was asked.
class ScriptedDialogs final : public FrameDialogs {
public:
    // Answers in order; a null QString cancels, as does an empty queue.
    std::deque<QString> folderAnswers;
    std::deque<QString> saveAnswers;
    std::optional<bool> extendedAnswer;  // ticks or clears the KML check box
    std::vector<QString> errors;
    QString lastProposedPath;
    bool lastExtendedShown = false;
    int browseCount = 0;
    QString lastBrowseStart;
    QString lastSaveTitle;
    QString printerFile;
    // The picture's options: null cancels; what was offered and the window width.
    std::optional<GraphImageOptions> imageOptionsAnswer = GraphImageOptions{};
    std::optional<GraphImageOptions> lastImageOptionsShown;
    int lastImageWindowWidth = 0;

    std::optional<QString> BrowseFolder(QWidget*, const QString&, const QString& start) override;
    std::optional<QString> SaveCsvPath(QWidget*, const QString& proposedPath) override;
    std::optional<QString> SaveKmlPath(QWidget*, const QString& proposedPath,
                                       bool& extended) override;
    std::optional<QString> SaveGpxPath(QWidget*, const QString& proposedPath) override;
    std::optional<QString> SavePdfPath(QWidget*, const QString& title,
                                       const QString& proposedPath) override;
    // Prints into the PDF file `printerFile`; an empty name cancels.
    bool SetUpPrinter(QWidget*, QPrinter& printer) override;
    std::optional<GraphImageOptions> AskGraphImageOptions(QWidget*,
                                                          const GraphImageOptions& initial,
                                                          int windowWidth) override;
    // Answers from saveAnswers, as the other save dialogs do.
    std::optional<QString> SaveImagePath(QWidget*, const QString& proposedPath) override;
    void ShowError(QWidget*, const QString& text) override;

private:
    std::optional<QString> NextSave(const QString& proposedPath);
};

// Settings in a temporary folder; the card folder is the stored base directory.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the frame on the stored settings, shown at `size`.
    CMainFrame& MakeFrame(QSize size = QSize(900, 700));
    void DestroyFrame();
    void StoreSetting(const QString& key, const QVariant& value);
    QVariant StoredSetting(const QString& key);

    // The start item carrying `index` (nullptr if none).
    QTreeWidgetItem* StartItem(int index) const;
    void Select(QTreeWidgetItem* item) const;
    // A real double click on the item (its day is expanded first).
    void DoubleClick(QTreeWidgetItem* item) const;

    QTemporaryDir settingsDir_;
    QTemporaryDir card_;
    QString cardPath_;
    ScriptedDialogs* dialogs_ = nullptr;  // owned by the frame
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace veltrin::test
