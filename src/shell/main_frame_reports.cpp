// The main frame's reports: the flight report of the shown start as a PDF
// file or on paper, and the logbook report of the loaded card as a PDF file,
// its summaries read on all cores behind a progress dialog that can cancel.
#include "shell/main_frame.h"

#include "analysis/start_summary.h"
#include "export/proposed_name.h"
#include "report/flight_report.h"
#include "report/logbook_report.h"
#include "shell/shell_constants.h"
#include "shell/wait_cursor.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QProgressDialog>

#include <atomic>
#include <chrono>
#include <future>

namespace veltrin {

namespace {

constexpr auto kProgressPoll = std::chrono::milliseconds(30);

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// "<folder>/<prefix>_<start's proposed name>.pdf" in the folder last exported
// to in this run, else in the user's home folder.
QString ProposedReportPath(const QString& lastFolder, const QString& name)
{
    const QString folder = lastFolder.isEmpty() ? QDir::homePath() : lastFolder;
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

}  // namespace

void CMainFrame::createReportActions()
{
    connect(AddCommand(Command::FlightReportPdf), &QAction::triggered, this,
            &CMainFrame::OnFlightReportPdf);
    connect(AddCommand(Command::PrintFlightReport), &QAction::triggered, this,
            &CMainFrame::OnPrintFlightReport);
    connect(AddCommand(Command::LogbookReportPdf), &QAction::triggered, this,
            [this] { LogbookReportOfDateRange(); });
}

void CMainFrame::UpdateReportCommands()
{
    const bool startShown = ShownStart() != nullptr;
    Action(Command::FlightReportPdf)->setEnabled(startShown);
    Action(Command::PrintFlightReport)->setEnabled(startShown);
    Action(Command::LogbookReportPdf)->setEnabled(!recording_.empty());
}

void CMainFrame::OnFlightReportPdf()
{
    const StartRecord* start = ShownStart();
    if (!start)
        return;
    const QString name =
        Text("Flugbericht_") + QString::fromStdString(ProposedFileName(start->startTime));
    const std::optional<QString> path = dialogs_->SavePdfPath(
        this, Text("Flugbericht als PDF"), ProposedReportPath(lastExportFolder_, name));
    if (!path)
        return;
    ReportResult result;
    {
        WaitCursor wait;
        result = WriteFlightReport(MakeFlightReport(*start, limits_), *path);
    }
    if (!result.Ok()) {
        dialogs_->ShowError(
            this, Text(kExportFailedText).arg(QDir::toNativeSeparators(*path), result.error));
        return;
    }
    lastExportFolder_ = QFileInfo(*path).absolutePath();
}

void CMainFrame::OnPrintFlightReport()
{
    const StartRecord* start = ShownStart();
    if (!start)
        return;
    QPrinter printer(QPrinter::HighResolution);
    PrepareReportPrinter(printer);
    if (!dialogs_->SetUpPrinter(this, printer))
        return;
    ReportResult result;
    {
        WaitCursor wait;
        result = PrintFlightReport(MakeFlightReport(*start, limits_), printer);
    }
    if (!result.Ok())
        dialogs_->ShowError(this, result.error);
}

void CMainFrame::OnLogbookReportPdf(std::optional<CalendarSeconds> fromDay,
                                    std::optional<CalendarSeconds> toDay)
{
    if (recording_.empty())
        return;
    const std::optional<QString> path =
        dialogs_->SavePdfPath(this, Text("Flugbuch-Bericht als PDF"),
                              ProposedReportPath(lastExportFolder_, Text("Flugbuch")));
    if (!path)
        return;

    std::vector<StartFile> files;
    for (const StartFile& file : StartFiles(recording_)) {
        if (StartInRange(file.startTime, fromDay, toDay))
            files.push_back(file);
    }
    std::atomic<bool> cancel{false};
    std::atomic<int> done{0};
    CardSummaryOptions options;
    options.limits = limits_;
    options.cancel = &cancel;
    options.onSummary = [&done](const StartSummary&) {
        ++done;
    };
    auto summaries = std::async(std::launch::async,
                                [&files, &options] { return SummariseCard(files, options); });

    QProgressDialog progress(Text("Das Flugbuch wird gelesen …"), Text("Abbrechen"), 0,
                             static_cast<int>(files.size()), this);
    progress.setWindowTitle(Text(kApplicationTitle));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    while (summaries.wait_for(kProgressPoll) != std::future_status::ready) {
        progress.setValue(done.load());
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (progress.wasCanceled())
            cancel = true;
    }
    LogbookReport report;
    report.starts = summaries.get();
    progress.reset();
    if (cancel)
        return;  // the user stopped it: no report of part of the card
    report.source = QDir::toNativeSeparators(settings_.baseDir);
    report.fromDay = fromDay;
    report.toDay = toDay;
    report.limits = limits_;

    ReportResult result;
    {
        WaitCursor wait;
        result = WriteLogbookReport(report, *path);
    }
    if (!result.Ok()) {
        dialogs_->ShowError(
            this, Text(kExportFailedText).arg(QDir::toNativeSeparators(*path), result.error));
        return;
    }
    lastExportFolder_ = QFileInfo(*path).absolutePath();
}

}  // namespace veltrin
