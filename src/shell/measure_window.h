#pragma once
// The read-out of the range between the marker (cursor A) and cursor B: its
// texts, built from a RangeMeasure without any window, and MeasureWindow, the
// small table the "Messung" bar shows, which copies itself as text.

#include "graph/range_measure.h"

#include <QWidget>

#include <span>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace veltrin {

// How the read-out names and writes one curve's values.
struct MeasureCurve {
    int column;        // value column of the graph table
    const char* name;  // row title
    const char* unit;
    int decimals;
};

// The read-out as a table: a row for the time, then one per curve; each row
// holds the title with the unit, then A, B, B - A, minimum, maximum and mean.
// Cells without a value are empty. Numbers are written with a decimal point,
// the same under every locale.
struct MeasureTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};
MeasureTable MeasureTableOf(const RangeMeasure& measure, std::span<const MeasureCurve> curves);

// The table as lines of tab-separated cells, the header first, each line ended by "\n".
std::string MeasureCopyText(const MeasureTable& table);

// The compact form for the status bar: Δt and each curve's difference.
std::string MeasurePaneText(const RangeMeasure& measure, std::span<const MeasureCurve> curves);

class MeasureWindow : public QWidget {
    Q_OBJECT

public:
    explicit MeasureWindow(QWidget* parent = nullptr);

    // Shows `table`; an empty table shows how to set the cursors instead.
    void ShowTable(MeasureTable table);
    const MeasureTable& Shown() const { return shown_; }
    // Puts the shown table on the clipboard as MeasureCopyText; nothing while it is empty.
    void Copy();

    QTreeWidget* Table() const { return table_; }
    QPushButton* CopyButton() const { return copy_; }

private:
    MeasureTable shown_;
    QTreeWidget* table_ = nullptr;
    QLabel* hint_ = nullptr;
    QPushButton* copy_ = nullptr;
};

}  // namespace veltrin
