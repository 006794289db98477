#include "report/report_table.h"

#include "report/report_canvas.h"

#include <QColor>
#include <QPainter>

#include <algorithm>

namespace veltrin {

namespace {

constexpr double kTablePoints = 8.5;
constexpr double kRowPaddingMm = 1.2;
constexpr double kCellPaddingMm = 1.0;
const QColor kShading{236, 236, 236};

double TableWidth(const ReportTable& table)
{
    double width = 0.0;
    for (const ReportColumn& column : table.columns)
        width += column.widthMm;
    return width;
}

int HeadLines(const ReportTable& table)
{
    int lines = 1;
    for (const ReportColumn& column : table.columns)
        lines = std::max(lines, static_cast<int>(column.head.count(QLatin1Char('\n'))) + 1);
    return lines;
}

void DrawRow(ReportCanvas& canvas, const ReportTable& table, const QStringList& cells,
             const QFont& font, double height, int flags)
{
    double x = ReportCanvas::kLeft;
    for (qsizetype i = 0; i < static_cast<qsizetype>(table.columns.size()); ++i) {
        const ReportColumn& column = table.columns[static_cast<std::size_t>(i)];
        const QRectF cell(x + kCellPaddingMm, canvas.Y(), column.widthMm - 2 * kCellPaddingMm,
                          height);
        if (i < cells.size()) {
            const int align = column.alignRight ? Qt::AlignRight : Qt::AlignLeft;
            canvas.Text(cell, cells[i], font, align | flags | Qt::TextDontClip);
        }
        x += column.widthMm;
    }
}

void DrawHead(ReportCanvas& canvas, const ReportTable& table, double lineHeight)
{
    const QFont font = ReportCanvas::Font(kTablePoints, true);
    const double height = HeadLines(table) * lineHeight + kRowPaddingMm;
    DrawRow(
        canvas, table,
        [&] {
            QStringList heads;
            for (const ReportColumn& column : table.columns)
                heads << column.head;
            return heads;
        }(),
        font, height, Qt::AlignBottom);
    canvas.Advance(height + 0.6);
    canvas.Rule(canvas.Y() - 0.3, 0.25, TableWidth(table));
}

}  // namespace

void DrawTable(ReportCanvas& canvas, const ReportTable& table)
{
    const QFont font = ReportCanvas::Font(kTablePoints);
    const double lineHeight = canvas.LineHeight(font);
    const double rowHeight = lineHeight + kRowPaddingMm;
    const double headHeight = HeadLines(table) * lineHeight + kRowPaddingMm + 0.6;

    canvas.Reserve(headHeight + rowHeight);
    DrawHead(canvas, table, lineHeight);
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        if (canvas.Reserve(rowHeight))
            DrawHead(canvas, table, lineHeight);
        if (r % 2 == 1 && canvas.Painter()) {
            canvas.Painter()->fillRect(canvas.ToDevice(QRectF(ReportCanvas::kLeft, canvas.Y(),
                                                              TableWidth(table), rowHeight)),
                                       kShading);
        }
        DrawRow(canvas, table, table.rows[r], font, rowHeight, Qt::AlignVCenter);
        canvas.Advance(rowHeight);
    }
    if (!table.closingRow.isEmpty()) {
        if (canvas.Reserve(rowHeight + 0.6))
            DrawHead(canvas, table, lineHeight);
        canvas.Rule(canvas.Y() + 0.3, 0.25, TableWidth(table));
        canvas.Advance(0.6);
        DrawRow(canvas, table, table.closingRow, ReportCanvas::Font(kTablePoints, true), rowHeight,
                Qt::AlignVCenter);
        canvas.Advance(rowHeight);
    }
}

}  // namespace veltrin
