#include "report/logbook_report.h"

#include "report/report_canvas.h"
#include "report/report_table.h"
#include "report/report_texts.h"

namespace veltrin {

namespace {

constexpr CalendarSeconds kSecondsPerDay = 86400;
constexpr double kTitlePoints = 16.0;
constexpr double kFieldPoints = 9.5;

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QString PeriodText(const LogbookReport& report)
{
    if (!report.fromDay && !report.toDay)
        return Text("alle Starts der Karte");
    const QString from = report.fromDay ? ReportDayText(*report.fromDay) : Text("…");
    const QString to = report.toDay ? ReportDayText(*report.toDay) : Text("…");
    return from + Text(" bis ") + to;
}

void DrawHeader(ReportCanvas& canvas, const LogbookReport& report)
{
    const QFont title = ReportCanvas::Font(kTitlePoints, true);
    const double height = canvas.LineHeight(title);
    canvas.Text(QRectF(ReportCanvas::kLeft, canvas.Y(), ReportCanvas::kWidth, height),
                Text("Flugbuch-Bericht"), title, Qt::AlignLeft | Qt::AlignVCenter);
    canvas.Advance(height + 1.0);
    canvas.Rule(canvas.Y(), 0.4);
    canvas.Advance(3.0);

    const QFont label = ReportCanvas::Font(kFieldPoints, true);
    const QFont value = ReportCanvas::Font(kFieldPoints);
    const double line = canvas.LineHeight(value) * 1.25;
    const std::pair<QString, QString> fields[] = {
        {Text("Zeitraum"), PeriodText(report)},
        {Text("Karte"), report.source},
        {Text("Grenzwerte"), LimitsText(report.limits)},
    };
    for (const auto& [name, text] : fields) {
        canvas.Text(QRectF(ReportCanvas::kLeft, canvas.Y(), 30, line), name, label,
                    Qt::AlignLeft | Qt::AlignVCenter);
        canvas.Text(QRectF(ReportCanvas::kLeft + 30, canvas.Y(), ReportCanvas::kWidth - 30, line),
                    text, value, Qt::AlignLeft | Qt::AlignVCenter);
        canvas.Advance(line);
    }
    canvas.Advance(4.0);
}

QStringList RowOf(const StartSummary& summary, std::size_t number, bool limitsGiven)
{
    QStringList row{QString::number(number), ReportDayText(summary.file.startTime),
                    ReportTimeText(summary.file.startTime)};
    if (!summary.read.Ok()) {
        row << Text("Datei nicht lesbar");
        return row;
    }
    const std::optional<CalendarSeconds> flight =
        FlightSeconds(summary.file.startTime, summary.landingTime, summary.landingIsTimeOfDay);
    row << (flight ? ReportTimeText(summary.landingTime) : QString())
        << (flight ? DurationText(*flight) : QString()) << DecimalText(summary.minAccZ, 2)
        << DecimalText(summary.maxAccZ, 2) << DecimalText(summary.maxIas, 1)
        << DecimalText(summary.maxAltitude, 1) << QString::number(summary.events)
        << (limitsGiven ? QString::number(summary.exceedances) : Text("–"));
    return row;
}

ReportTable TableOf(const LogbookReport& report)
{
    ReportTable table;
    table.columns = {
        {Text("Nr."), 10},
        {Text("Datum"), 20, false},
        {Text("Start\n(UTC)"), 15, false},
        {Text("Landung\n(UTC)"), 16, false},
        {Text("Dauer"), 16},
        {Text("min.\n(g)"), 14},
        {Text("max.\n(g)"), 14},
        {Text("max. IAS\n(km/h)"), 18},
        {Text("max. Höhe\n(m)"), 19},
        {Text("Ereig-\nnisse"), 15},
        {Text("Über-\nschr."), 15},
    };
    CalendarSeconds total = 0;
    long long events = 0;
    long long exceedances = 0;
    for (std::size_t i = 0; i < report.starts.size(); ++i) {
        const StartSummary& summary = report.starts[i];
        table.rows.push_back(RowOf(summary, i + 1, report.limits.has_value()));
        if (!summary.read.Ok())
            continue;
        total +=
            FlightSeconds(summary.file.startTime, summary.landingTime, summary.landingIsTimeOfDay)
                .value_or(0);
        events += summary.events;
        exceedances += summary.exceedances;
    }
    table.closingRow = {QString(),
                        Text("Summe"),
                        QString::number(report.starts.size()) + Text(" Starts"),
                        QString(),
                        DurationText(total),
                        QString(),
                        QString(),
                        QString(),
                        QString(),
                        QString::number(events),
                        report.limits.has_value() ? QString::number(exceedances) : Text("–")};
    return table;
}

ReportLayout LayoutOf(const LogbookReport& report, const ReportTable& table)
{
    return [&report, &table](ReportCanvas& canvas) {
        DrawHeader(canvas, report);
        DrawTable(canvas, table);
    };
}

const QString& Title()
{
    static const QString title = Text("Flugbuch-Bericht");
    return title;
}

QString FooterOf(const LogbookReport& report)
{
    return Title() + Text(", ") + PeriodText(report) + Text(" · Veltrin View");
}

}  // namespace

bool StartInRange(CalendarSeconds startTime, const std::optional<CalendarSeconds>& fromDay,
                  const std::optional<CalendarSeconds>& toDay)
{
    if (fromDay && startTime < *fromDay)
        return false;
    if (toDay && startTime >= *toDay + kSecondsPerDay)
        return false;
    return true;
}

ReportResult WriteLogbookReport(const LogbookReport& report, const QString& path)
{
    const ReportTable table = TableOf(report);
    return WritePdfReport(path, Title(), FooterOf(report), LayoutOf(report, table));
}

ReportResult PrintLogbookReport(const LogbookReport& report, QPrinter& printer)
{
    const ReportTable table = TableOf(report);
    return PrintReport(printer, Title(), FooterOf(report), LayoutOf(report, table));
}

}  // namespace veltrin
