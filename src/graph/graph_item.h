#pragma once
// CGraphItem: a graph window like CGraphPane with the newest data at the right
// (view mode 0) and without SetLegendSlot. The application itself uses CGraphPane.

#include "graph/legend_graph.h"

namespace veltrin {

class CGraphItem : public CLegendGraph {
    Q_OBJECT

public:
    explicit CGraphItem(QWidget* parent = nullptr);
};

}  // namespace veltrin
