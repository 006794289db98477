#pragma once
// CLegendGraph: a graph window with the four legend buttons in its top left
// corner; pressing a button shows or hides the series of its slot. The window's
// bitmap follows its size. CGraphPane and CGraphItem build on it.

#include "graph/graph_display.h"
#include "graph/legend_button.h"

#include <array>

namespace veltrin {

class CLegendGraph : public CGraphDisplay {
    Q_OBJECT

public:
    CLegendButton* LegendButton(int slot) const;  // slot 1..4, else null

protected:
    // Installs the default settings for the window's size (with the newest data
    // at the right when `newestAtRight`), an empty table and the legend buttons.
    CLegendGraph(QWidget* parent, bool newestAtRight);

    void resizeEvent(QResizeEvent* event) override;

private:
    void OnLegendNotify(int controlId);

    std::array<CLegendButton*, 4> buttons_{};  // children of this window
};

// The settings a graph window installs when it is created, for a client of
// width x height pixels.
GraphSettings DefaultPaneSettings(int width, int height);

}  // namespace veltrin
