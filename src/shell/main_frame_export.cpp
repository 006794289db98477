// The main frame's exports of the selected start: CSV (or blank-separated),
// KML and GPX, each asked for a file name first.
#include "shell/main_frame.h"

#include "export/proposed_name.h"
#include "export/start_export.h"
#include "shell/file_system_path.h"
#include "shell/shell_constants.h"
#include "shell/wait_cursor.h"

#include <QDir>
#include <QFileInfo>

namespace veltrin {

namespace {

// The proposed file of `start` in the folder last exported to in this run
// (`lastFolder`), else in the user's home folder.
QString ProposedExportPath(const QString& lastFolder, const StartRecord& start)
{
    const QString folder = lastFolder.isEmpty() ? QDir::homePath() : lastFolder;
    return QDir(folder).filePath(QString::fromStdString(ProposedFileName(start.startTime)));
}

}  // namespace

const StartRecord* CMainFrame::ReadSelectedStart()
{
    const int index = SelectedStartIndex();
    if (index < 0)
        return nullptr;
    ReadStart(index);
    return StartAt(index);
}

void CMainFrame::WriteExport(const QString& path, const std::function<ExportResult()>& write)
{
    ExportResult result;
    {
        WaitCursor wait;
        result = write();
    }
    if (!result.Ok()) {
        dialogs_->ShowError(this, QString::fromUtf8(kExportFailedText)
                                      .arg(QDir::toNativeSeparators(path),
                                           QString::fromStdString(result.Message())));
        return;
    }
    lastExportFolder_ = QFileInfo(path).absolutePath();
}

void CMainFrame::OnExportCsv()
{
    const StartRecord* start = ReadSelectedStart();
    if (!start)
        return;
    const std::optional<QString> path =
        dialogs_->SaveCsvPath(this, ProposedExportPath(lastExportFolder_, *start));
    if (!path)
        return;
    WriteExport(*path, [&] { return ExportCsv(*start, FileSystemPath(*path)); });
}

void CMainFrame::OnExportKml()
{
    const StartRecord* start = ReadSelectedStart();
    if (!start)
        return;
    bool extended = settings_.extendedKml;
    const std::optional<QString> path =
        dialogs_->SaveKmlPath(this, ProposedExportPath(lastExportFolder_, *start), extended);
    if (!path)
        return;
    // The choice is remembered even when the file cannot be written.
    settings_.extendedKml = extended;
    WriteExport(*path,
                [&] { return ExportKml(*start, FileSystemPath(*path), extended, *kmlWriter_); });
}

void CMainFrame::OnExportGpx()
{
    const StartRecord* start = ReadSelectedStart();
    if (!start)
        return;
    const std::optional<QString> path =
        dialogs_->SaveGpxPath(this, ProposedExportPath(lastExportFolder_, *start));
    if (!path)
        return;
    WriteExport(*path, [&] { return ExportGpx(*start, FileSystemPath(*path)); });
}

}  // namespace veltrin
