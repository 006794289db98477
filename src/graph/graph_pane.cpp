#include "graph/graph_pane.h"

#include "graph/graph_constants.h"

#include <QResizeEvent>

namespace veltrin {

namespace gc = graph_constants;

GraphSettings DefaultPaneSettings(int width, int height)
{
    GraphSettings s;
    s.width = width;
    s.height = height;
    return s;
}

CGraphPane::CGraphPane(QWidget* parent) : CGraphDisplay(parent)
{
    const GraphSettings defaults = DefaultPaneSettings(width(), height());
    ApplySettings(defaults);
    SetData(0, nullptr);
    buttons_ = CreateLegendButtons(this, defaults.frameWidth);
    for (CLegendButton* button : buttons_)
        connect(button, &CLegendButton::Notify, this, &CGraphPane::OnLegendNotify);
}

CLegendButton* CGraphPane::LegendButton(int slot) const
{
    if (slot < 1 || slot > gc::kLegendSlots)
        return nullptr;
    return buttons_[static_cast<std::size_t>(slot - 1)];
}

void CGraphPane::SetLegendSlot(int slot, std::int32_t column, const QString& name, bool visible)
{
    if (slot < 1 || slot > gc::kLegendSlots)
        return;
    // Slot k takes palette entry k; the palette has four entries, so slot 4 wraps
    // round to entry 0.
    const QColor& colour = gc::kLegendPalette[static_cast<std::size_t>(slot % gc::kLegendSlots)];
    if (const GraphSeries* entry = plot().SeriesAt(slot - 1)) {
        GraphSeries changed = *entry;
        changed.column = column;
        changed.colour = colour;
        changed.visible = visible;
        changed.name = name;
        changed.label = name;
        plot().SetSeriesAt(slot - 1, changed);
        update();
    }
    CLegendButton* button = LegendButton(slot);
    button->setToolTip(name);
    button->SetSwatch(colour, true);
    button->setChecked(visible);
}

void CGraphPane::OnLegendNotify(int controlId)
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

void CGraphPane::resizeEvent(QResizeEvent* event)
{
    // The bitmap follows the window size; applying also tells the owner.
    ApplySettings(GetSettings());
    CGraphDisplay::resizeEvent(event);
}

}  // namespace veltrin
