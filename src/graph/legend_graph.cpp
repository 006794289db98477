#include "graph/legend_graph.h"

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

CLegendGraph::CLegendGraph(QWidget* parent, bool newestAtRight) : CGraphDisplay(parent)
{
    GraphSettings defaults = DefaultPaneSettings(width(), height());
    if (newestAtRight)
        defaults.viewMode = ViewMode::Latest;
    ApplySettings(defaults);
    SetData(0, nullptr);
    buttons_ = CreateLegendButtons(this, defaults.frameWidth);
    for (CLegendButton* button : buttons_)
        connect(button, &CLegendButton::Notify, this, &CLegendGraph::OnLegendNotify);
}

CLegendButton* CLegendGraph::LegendButton(int slot) const
{
    if (slot < 1 || slot > gc::kLegendSlots)
        return nullptr;
    return buttons_[static_cast<std::size_t>(slot - 1)];
}

void CLegendGraph::OnLegendNotify(int controlId)
{
    const int index = controlId - gc::kLegendFirstId;
    const GraphSeries* entry = Plot().SeriesAt(index);
    if (index < 0 || index >= gc::kLegendSlots || entry == nullptr)
        return;
    GraphSeries changed = *entry;
    changed.visible = buttons_[static_cast<std::size_t>(index)]->isChecked();
    Plot().SetSeriesAt(index, changed);
    update();
}

void CLegendGraph::resizeEvent(QResizeEvent* event)
{
    // The bitmap follows the window size; applying also tells the owner.
    ApplySettings(GetSettings());
    CGraphDisplay::resizeEvent(event);
}

}  // namespace veltrin
