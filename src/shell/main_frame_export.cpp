// The main frame's exports of the selected start: CSV (or blank-separated)
// and KML, each asked for a file name first.
#include "shell/main_frame.h"

#include "export/proposed_name.h"
#include "export/start_export.h"
#include "shell/wait_cursor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace veltrin {

namespace {

std::filesystem::path FileSystemPath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace

QString CMainFrame::ProposedExportPath(const StartRecord& start) const
{
    // The folder last exported to in this run, else the user's home folder.
    const QString folder = lastExportFolder_.isEmpty() ? QDir::homePath() : lastExportFolder_;
    return QDir(folder).filePath(QString::fromStdString(ProposedFileName(start.startTime)));
}

const StartRecord* CMainFrame::ReadSelectedStart()
{
    const int index = SelectedStartIndex();
    if (index < 0)
        return nullptr;
    ReadStart(index);
    return startAt(index);
}

void CMainFrame::WriteExport(const QString& path, const std::function<ExportResult()>& write)
{
    ExportResult result;
    {
        WaitCursor wait;
        result = write();
    }
    if (!result.ok()) {
        dialogs_->ShowError(this,
                            QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden:\n%2")
                                .arg(QDir::toNativeSeparators(path), QString::fromStdString(result.Message())));
        return;
    }
    lastExportFolder_ = QFileInfo(path).absolutePath();
}

void CMainFrame::OnExportCsv()
{
    const StartRecord* start = ReadSelectedStart();
    if (!start)
        return;
    const std::optional<QString> path = dialogs_->SaveCsvPath(this, ProposedExportPath(*start));
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
        dialogs_->SaveKmlPath(this, ProposedExportPath(*start), extended);
    if (!path)
        return;
    // The choice is remembered even when the file cannot be written.
    settings_.extendedKml = extended;
    WriteExport(*path, [&] { return ExportKml(*start, FileSystemPath(*path), extended, *kmlWriter_); });
}

}  // namespace veltrin
