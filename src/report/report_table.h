#pragma once
// A table on report pages: column heads (repeated on every page the table
// runs onto), rows with alternate shading, and a bold closing row such as
// the totals.

#include <QString>
#include <QStringList>

#include <vector>

namespace veltrin {

class ReportCanvas;

struct ReportColumn {
    QString head;  // "\n" breaks it into lines
    double widthMm = 20.0;
    bool alignRight = true;
};

struct ReportTable {
    std::vector<ReportColumn> columns;
    std::vector<QStringList> rows;  // one text per column; missing ones are empty
    QStringList closingRow;         // drawn bold below a rule; none when empty
};

// Draws `table` from the canvas cursor on, as many pages as it needs, and
// moves the cursor below it.
void DrawTable(ReportCanvas& canvas, const ReportTable& table);

}  // namespace veltrin
