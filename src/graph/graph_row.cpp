#include "graph/graph_row.h"

namespace veltrin {

void WriteGraphRow(GraphRow* table, std::size_t row, std::int32_t timeMs,
                   std::span<const double> values)
{
    GraphRow* slot = table + row * (values.size() + 1);
    slot[0] = GraphRow::Header(static_cast<std::int32_t>(values.size()), timeMs);
    for (std::size_t i = 0; i < values.size(); ++i)
        slot[i + 1] = GraphRow::Value(values[i]);
}

GraphTable::GraphTable(const GraphRow* rows, int count)
{
    if (rows == nullptr || count <= 0)
        return;
    rows_ = rows;
    count_ = count;
    columns_ = rows[0].Columns() > 0 ? rows[0].Columns() : 0;
    stride_ = static_cast<std::size_t>(columns_) + 1;
}

}  // namespace veltrin
