#include "graph/graph_pane.h"

#include "graph/graph_constants.h"

namespace veltrin {

namespace gc = graph_constants;

CGraphPane::CGraphPane(QWidget* parent) : CLegendGraph(parent, false)
{
}

void CGraphPane::SetLegendSlot(int slot, std::int32_t column, const QString& name, bool visible)
{
    if (slot < 1 || slot > gc::kLegendSlots)
        return;
    // Slot k takes palette entry k; the palette has four entries, so slot 4 wraps
    // round to entry 0.
    const QColor& colour = gc::kLegendPalette[static_cast<std::size_t>(slot % gc::kLegendSlots)];
    if (const GraphSeries* entry = Plot().SeriesAt(slot - 1)) {
        GraphSeries changed = *entry;
        changed.column = column;
        changed.colour = colour;
        changed.visible = visible;
        changed.name = name;
        changed.label = name;
        Plot().SetSeriesAt(slot - 1, changed);
        update();
    }
    CLegendButton* button = LegendButton(slot);
    button->setToolTip(name);
    button->SetSwatch(colour, true);
    button->setChecked(visible);
}

}  // namespace veltrin
