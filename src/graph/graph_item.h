#pragma once
// CGraphItem: a graph window like CGraphPane with the newest data at the right
// (view mode 0) and without SetLegendSlot. The application itself uses CGraphPane.

#include "graph/graph_display.h"
#include "graph/legend_button.h"

#include <array>

namespace veltrin {

class CGraphItem : public CGraphDisplay {
    Q_OBJECT

public:
    explicit CGraphItem(QWidget* parent = nullptr);

    CLegendButton* LegendButton(int slot) const;  // slot 1..4, else null

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnLegendNotify(int controlId);

    std::array<CLegendButton*, 4> buttons_{};  // children of this window
};

}  // namespace veltrin
