#pragma once
// A report as a whole document: laid out once to count its pages, then drawn
// into a PDF file (written atomically) or onto a printer.

#include <QString>

#include <functional>

class QPrinter;

namespace veltrin {

class ReportCanvas;

// Why a report could not be written or printed; empty when it was.
struct ReportResult {
    QString error;
    bool Ok() const { return error.isEmpty(); }
};

// Lays a report out on `canvas`; called twice, so it must give the same pages.
using ReportLayout = std::function<void(ReportCanvas& canvas)>;

// Writes the document into the PDF file `path`, which is replaced only once the
// file is complete. Fails, leaving `path` as it was, when the folder cannot
// take the file or the file cannot be written.
ReportResult WritePdfReport(const QString& path, const QString& title, const QString& footer,
                            const ReportLayout& layout);

// Prints the document on `printer`, as its dialog set it up, with A4 pages.
// Fails when the printer cannot be started.
ReportResult PrintReport(QPrinter& printer, const QString& title, const QString& footer,
                         const ReportLayout& layout);

// Sets `printer` up for reports: A4 portrait, coordinates from the paper's edge.
void PrepareReportPrinter(QPrinter& printer);

}  // namespace veltrin
