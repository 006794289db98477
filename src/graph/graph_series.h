#pragma once
// One curve of a graph: which value column it draws, in which colour, and its names.

#include <QColor>
#include <QString>

#include <cstdint>

namespace veltrin {

struct GraphSeries {
    std::int32_t column = -1;  // value column drawn; the key for RemoveSeries
    QColor colour;             // pen colour of the curve
    bool visible = true;       // drawn only when set
    QString name;              // series name
    QString label;             // second text, set together with the name
    bool flag = false;         // stored, not interpreted
};

}  // namespace veltrin
