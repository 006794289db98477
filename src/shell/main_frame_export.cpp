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

void CMainFrame::ReportExportFailure(const QString& path, const QString& reason)
{
    dialogs_->ShowError(this,
                        QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden:\n%2")
                            .arg(QDir::toNativeSeparators(path), reason));
}

void CMainFrame::OnExportCsv()
{
    const int index = SelectedStartIndex();
    if (index < 0)
        return;
    ReadStart(index);
    const StartRecord& start = *startAt(index);
    const std::optional<QString> path = dialogs_->SaveCsvPath(this, ProposedExportPath(start));
    if (!path)
        return;
    ExportResult result;
    {
        WaitCursor wait;
        result = ExportCsv(start, FileSystemPath(*path));
    }
    if (!result.ok()) {
        ReportExportFailure(*path, QString::fromStdString(result.Message()));
        return;
    }
    lastExportFolder_ = QFileInfo(*path).absolutePath();
}

void CMainFrame::OnExportKml()
{
    const int index = SelectedStartIndex();
    if (index < 0)
        return;
    ReadStart(index);
    const StartRecord& start = *startAt(index);
    bool extended = settings_.extendedKml;
    const std::optional<QString> path =
        dialogs_->SaveKmlPath(this, ProposedExportPath(start), extended);
    if (!path)
        return;
    // The choice is remembered even when the file cannot be written.
    settings_.extendedKml = extended;
    ExportResult result;
    {
        WaitCursor wait;
        result = ExportKml(start, FileSystemPath(*path), extended, *kmlWriter_);
    }
    if (!result.ok()) {
        ReportExportFailure(*path, QString::fromStdString(result.Message()));
        return;
    }
    lastExportFolder_ = QFileInfo(*path).absolutePath();
}

}  // namespace veltrin
