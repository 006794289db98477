#include "graph/graph_item.h"

#include "graph/graph_constants.h"
#include "graph/graph_pane.h"

#include <QResizeEvent>

namespace veltrin {

namespace gc = graph_constants;

CGraphItem::CGraphItem(QWidget* parent) : CGraphDisplay(parent)
{
    setObjectName(QStringLiteral("ACGraphItem"));
    GraphSettings defaults = DefaultPaneSettings(width(), height());
    defaults.viewMode = 0;  // newest data at the right
    ApplySettings(defaults);
    SetData(0, nullptr);
    buttons_ = CreateLegendButtons(this, defaults.frameWidth);
    for (CLegendButton* button : buttons_)
        connect(button, &CLegendButton::Notify, this, &CGraphItem::OnLegendNotify);
}

CLegendButton* CGraphItem::LegendButton(int slot) const
{
    if (slot < 1 || slot > gc::kLegendSlots)
        return nullptr;
    return buttons_[static_cast<std::size_t>(slot - 1)];
}

void CGraphItem::OnLegendNotify(int controlId)
{
    const int index = controlId - gc::kLegendFirstId;
    const GraphSeries* entry = plot().SeriesAt(index);
    if (index < 0 || index >= gc::kLegendSlots || entry == nullptr)
        return;
    GraphSeries changed = *entry;
    changed.visible = buttons_[static_cast<std::size_t>(index)]->isChecked();
    plot().SetSeriesAt(index, changed);
    update();
}

void CGraphItem::resizeEvent(QResizeEvent* event)
{
    ApplySettings(GetSettings());
    CGraphDisplay::resizeEvent(event);
}

}  // namespace veltrin
