#include "graph/graph_item.h"

namespace veltrin {

CGraphItem::CGraphItem(QWidget* parent) : CLegendGraph(parent, true)
{
    setObjectName(QStringLiteral("ACGraphItem"));
}

}  // namespace veltrin
