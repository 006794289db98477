#include "report/report_document.h"

#include "report/report_canvas.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

namespace veltrin {

namespace {

constexpr int kPdfDotsPerInch = 600;
const char* const kCreator = "Veltrin View";

// Counts the pages, then draws them; false when no painter can be started.
bool PaintPages(QPagedPaintDevice& device, const QString& footer, const ReportLayout& layout)
{
    ReportCanvas counter(device, nullptr, footer, 0);
    layout(counter);
    const int pages = counter.Finish();

    QPainter painter;
    if (!painter.begin(&device))
        return false;
    ReportCanvas canvas(device, &painter, footer, pages);
    layout(canvas);
    canvas.Finish();
    return painter.end();
}

QString WithReason(const char* text, const QString& reason)
{
    QString message = QString::fromUtf8(text);
    if (!reason.isEmpty())
        message += QStringLiteral(" (") + reason + QLatin1Char(')');
    return message + QLatin1Char('.');
}

}  // namespace

ReportResult WritePdfReport(const QString& path, const QString& title, const QString& footer,
                            const ReportLayout& layout)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {WithReason("Die Datei konnte nicht angelegt werden", file.errorString())};
    {
        QPdfWriter writer(&file);
        writer.setResolution(kPdfDotsPerInch);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        writer.setTitle(title);
        writer.setCreator(QString::fromUtf8(kCreator));
        if (!PaintPages(writer, footer, layout)) {
            file.cancelWriting();
            return {WithReason("Die Datei konnte nicht geschrieben werden", file.errorString())};
        }
    }
    if (!file.commit())
        return {WithReason("Die Datei konnte nicht geschrieben werden", file.errorString())};
    return {};
}

void PrepareReportPrinter(QPrinter& printer)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
}

ReportResult PrintReport(QPrinter& printer, const QString& title, const QString& footer,
                         const ReportLayout& layout)
{
    printer.setFullPage(true);
    printer.setDocName(title);
    printer.setCreator(QString::fromUtf8(kCreator));
    if (!PaintPages(printer, footer, layout))
        return {QString::fromUtf8("Der Drucker konnte nicht angesprochen werden.")};
    return {};
}

}  // namespace veltrin
