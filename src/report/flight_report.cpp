#include "report/flight_report.h"

#include "graph/vn_diagram_painter.h"
#include "report/flight_graphs.h"
#include "report/report_canvas.h"
#include "report/report_table.h"
#include "report/report_texts.h"

#include <QPainter>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace veltrin {

namespace {

constexpr double kTitlePoints = 16.0;
constexpr double kFieldPoints = 9.5;
constexpr double kLabelWidthMm = 38.0;
constexpr double kRightColumnMm = 105.0;  // from the left edge of the text
constexpr double kGraphHeightMm = 58.0;
constexpr double kVnHeightMm = 110.0;
constexpr double kSectionGapMm = 5.0;
const QColor kBoxColour{160, 160, 160};

QString Text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// One line "label  value" of a column of fields, at the cursor.
struct Field {
    QString label;
    QString value;
};

void DrawFields(ReportCanvas& canvas, double leftMm, double widthMm,
                const std::vector<Field>& fields, double top)
{
    const QFont labelFont = ReportCanvas::Font(kFieldPoints, true);
    const QFont valueFont = ReportCanvas::Font(kFieldPoints);
    const double line = canvas.LineHeight(valueFont) * 1.25;
    double y = top;
    for (const Field& field : fields) {
        canvas.Text(QRectF(leftMm, y, kLabelWidthMm, line), field.label, labelFont,
                    Qt::AlignLeft | Qt::AlignVCenter);
        canvas.Text(QRectF(leftMm + kLabelWidthMm, y, widthMm - kLabelWidthMm, line), field.value,
                    valueFont, Qt::AlignLeft | Qt::AlignVCenter);
        y += line;
    }
}

double FieldsHeight(const ReportCanvas& canvas, std::size_t count)
{
    return canvas.LineHeight(ReportCanvas::Font(kFieldPoints)) * 1.25 * static_cast<double>(count);
}

void DrawTitle(ReportCanvas& canvas, const StartRecord& start)
{
    const QFont font = ReportCanvas::Font(kTitlePoints, true);
    const double height = canvas.LineHeight(font);
    const QRectF box(ReportCanvas::kLeft, canvas.Y(), ReportCanvas::kWidth, height);
    canvas.Text(box, Text("Flugbericht"), font, Qt::AlignLeft | Qt::AlignVCenter);
    canvas.Text(box,
                ReportDayText(start.startTime) + QLatin1Char(' ') +
                    ReportTimeText(start.startTime) + Text(" UTC"),
                ReportCanvas::Font(11.0), Qt::AlignRight | Qt::AlignVCenter);
    canvas.Advance(height + 1.0);
    canvas.Rule(canvas.Y(), 0.4);
    canvas.Advance(3.0);
}

void DrawSummary(ReportCanvas& canvas, const FlightReport& report)
{
    const StartRecord& start = *report.start;
    const std::optional<CalendarSeconds> flight =
        FlightSeconds(start.startTime, start.landingTime, start.landingIsTimeOfDay);
    const std::vector<Field> left{
        {Text("Datum"), ReportDayText(start.startTime)},
        {Text("Start (UTC)"), ReportTimeText(start.startTime)},
        {Text("Landung (UTC)"), flight ? ReportTimeText(start.landingTime) : Text("keine")},
        {Text("Flugdauer"), flight ? DurationText(*flight) : Text("–")},
        {Text("Ereignisse"), QString::number(report.events.size())},
        {Text("Überschreitungen"),
         report.limits ? QString::number(report.exceedances.size()) : Text("– (keine Grenzwerte)")},
    };
    const std::vector<Field> right{
        {Text("Beschleunigung min."), DecimalText(start.minAccZ, 2) + Text(" g")},
        {Text("Beschleunigung max."), DecimalText(start.maxAccZ, 2) + Text(" g")},
        {Text("Höchste Fahrt (IAS)"), DecimalText(start.maxIas, 1) + Text(" km/h")},
        {Text("Größte Höhe"), DecimalText(start.maxAltitude, 1) + Text(" m")},
        {Text("Messwerte"), QString::number(start.samples.size())},
    };
    const double top = canvas.Y();
    canvas.Text(QRectF(ReportCanvas::kLeft, top, 60, 5), Text("Flug"),
                ReportCanvas::Font(11.0, true), Qt::AlignLeft | Qt::AlignVCenter);
    canvas.Text(QRectF(ReportCanvas::kLeft + kRightColumnMm, top, 60, 5), Text("Extremwerte"),
                ReportCanvas::Font(11.0, true), Qt::AlignLeft | Qt::AlignVCenter);
    DrawFields(canvas, ReportCanvas::kLeft, kRightColumnMm, left, top + 6.0);
    DrawFields(canvas, ReportCanvas::kLeft + kRightColumnMm, ReportCanvas::kWidth - kRightColumnMm,
               right, top + 6.0);
    canvas.Advance(6.0 + FieldsHeight(canvas, left.size()) + 1.0);
    const std::vector<Field> below{
        {Text("Grenzwerte"), LimitsText(report.limits)},
        {Text("Datendatei"), QString::fromStdString(start.path.string())},
    };
    DrawFields(canvas, ReportCanvas::kLeft, ReportCanvas::kWidth, below, canvas.Y());
    canvas.Advance(FieldsHeight(canvas, below.size()) + kSectionGapMm);
}

void DrawBox(const ReportCanvas& canvas, const QRectF& mm)
{
    if (!canvas.Painter())
        return;
    canvas.Painter()->setPen(QPen(kBoxColour, 0.1 * canvas.DotsPerMm()));
    canvas.Painter()->setBrush(Qt::NoBrush);
    canvas.Painter()->drawRect(canvas.ToDevice(mm));
}

void DrawGraphs(ReportCanvas& canvas, const FlightGraphs& graphs)
{
    for (FlightGraphs::Which which : FlightGraphs::kAll) {
        canvas.Heading(FlightGraphs::Title(which), kGraphHeightMm);
        const QRectF box(ReportCanvas::kLeft, canvas.Y(), ReportCanvas::kWidth, kGraphHeightMm);
        if (QPainter* painter = canvas.Painter())
            graphs.Paint(which, *painter, canvas.ToDevice(box).toRect(), canvas.DotsPerMm());
        DrawBox(canvas, box);
        canvas.Advance(kGraphHeightMm + kSectionGapMm);
    }
}

void DrawVnDiagram(ReportCanvas& canvas, const VnDiagramPainter& paint)
{
    if (!paint)
        return;
    canvas.Heading(Text("V-n-Diagramm"), kVnHeightMm);
    const QRectF box(ReportCanvas::kLeft, canvas.Y(), ReportCanvas::kWidth, kVnHeightMm);
    if (QPainter* painter = canvas.Painter()) {
        painter->save();
        paint(*painter, canvas.ToDevice(box));
        painter->restore();
    }
    DrawBox(canvas, box);
    canvas.Advance(kVnHeightMm + kSectionGapMm);
}

// A line of text in place of an empty table.
void DrawNote(ReportCanvas& canvas, const QString& text)
{
    const QFont font = ReportCanvas::Font(kFieldPoints);
    const double height = canvas.LineHeight(font);
    canvas.Reserve(height);
    canvas.Text(QRectF(ReportCanvas::kLeft, canvas.Y(), ReportCanvas::kWidth, height), text, font,
                Qt::AlignLeft | Qt::AlignVCenter);
    canvas.Advance(height + kSectionGapMm);
}

QString Whole(double value)
{
    return QString::number(static_cast<long long>(value));
}

void DrawEvents(ReportCanvas& canvas, const std::vector<FlightEvent>& events)
{
    canvas.Heading(Text("Ereignisse"), 12.0);
    if (events.empty()) {
        DrawNote(canvas, Text("Keine Ereignisse."));
        return;
    }
    ReportTable table;
    table.columns = {{Text("Nr."), 14},     {Text("Zeit (s)"), 26}, {Text("Dauer (s)"), 26},
                     {Text("min. g"), 22},  {Text("max. g"), 22},   {Text("max. IAS (km/h)"), 32},
                     {Text("Höhe (m)"), 26}};
    for (std::size_t i = 0; i < events.size(); ++i) {
        const FlightEvent& e = events[i];
        table.rows.push_back({QString::number(i + 1), DecimalText(e.time, 3),
                              DecimalText(e.duration, 3), DecimalText(e.minAccZ, 2),
                              DecimalText(e.maxAccZ, 2), DecimalText(e.maxIas, 1),
                              Whole(e.altitude)});
    }
    DrawTable(canvas, table);
    canvas.Advance(kSectionGapMm);
}

QString PeakText(const Exceedance& exceedance)
{
    if (exceedance.kind == ExceedanceKind::Speed)
        return DecimalText(exceedance.peak, 1) + Text(" km/h");
    return DecimalText(exceedance.peak, 2) + Text(" g");
}

void DrawExceedances(ReportCanvas& canvas, const FlightReport& report)
{
    canvas.Heading(Text("Überschreitungen"), 12.0);
    if (!report.limits) {
        DrawNote(canvas, Text("Keine Grenzwerte angegeben; nicht geprüft."));
        return;
    }
    if (report.exceedances.empty()) {
        DrawNote(canvas, Text("Keine Überschreitungen."));
        return;
    }
    ReportTable table;
    table.columns = {{Text("Nr."), 14},
                     {Text("Art"), 18, false},
                     {Text("Zeit (s)"), 26},
                     {Text("Dauer (s)"), 26},
                     {Text("Spitzenwert"), 32}};
    for (std::size_t i = 0; i < report.exceedances.size(); ++i) {
        const Exceedance& e = report.exceedances[i];
        table.rows.push_back(
            {QString::number(i + 1),
             QString::fromUtf8(ExceedanceKindText(e.kind).data(),
                               static_cast<qsizetype>(ExceedanceKindText(e.kind).size())),
             DecimalText(e.time, 3), DecimalText(e.duration, 3), PeakText(e)});
    }
    DrawTable(canvas, table);
}

QString TitleOf(const StartRecord& start)
{
    return Text("Flugbericht ") + ReportDayText(start.startTime) + QLatin1Char(' ') +
           ReportTimeText(start.startTime);
}

ReportLayout LayoutOf(const FlightReport& report, const FlightGraphs& graphs)
{
    return [&report, &graphs](ReportCanvas& canvas) {
        DrawTitle(canvas, *report.start);
        DrawSummary(canvas, report);
        DrawGraphs(canvas, graphs);
        DrawVnDiagram(canvas, report.paintVnDiagram);
        DrawEvents(canvas, report.events);
        DrawExceedances(canvas, report);
    };
}

QString FooterOf(const StartRecord& start)
{
    return TitleOf(start) + Text(" UTC · Veltrin View");
}

}  // namespace

FlightReport MakeFlightReport(const StartRecord& start, const std::optional<AircraftLimits>& limits)
{
    FlightReport report;
    report.start = &start;
    report.events = FindEvents(start.samples);
    if (limits && LimitsAreUsable(*limits)) {
        report.limits = limits;
        report.exceedances = FindExceedances(start.samples, *limits);
    }
    // Every sample of the start over the limit envelope, as the program's
    // V-n window draws it.
    auto points = std::make_shared<std::vector<VnPoint>>();
    points->reserve(start.samples.size());
    for (const Sample& sample : start.samples)
        points->push_back({sample.ias, sample.accZ});
    std::optional<VnEnvelope> envelope;
    if (report.limits)
        envelope = VnEnvelope{report.limits->negativeLoad, report.limits->positiveLoad,
                              report.limits->speed};
    report.paintVnDiagram = [points, envelope](QPainter& painter, const QRectF& box) {
        VnDiagramData data;
        data.points = *points;
        data.envelope = envelope;
        PaintVnDiagram(painter, box, data);
    };
    return report;
}

ReportResult WriteFlightReport(const FlightReport& report, const QString& path)
{
    const FlightGraphs graphs(*report.start, report.events, report.limits);
    return WritePdfReport(path, TitleOf(*report.start), FooterOf(*report.start),
                          LayoutOf(report, graphs));
}

ReportResult PrintFlightReport(const FlightReport& report, QPrinter& printer)
{
    const FlightGraphs graphs(*report.start, report.events, report.limits);
    return PrintReport(printer, TitleOf(*report.start), FooterOf(*report.start),
                       LayoutOf(report, graphs));
}

}  // namespace veltrin
