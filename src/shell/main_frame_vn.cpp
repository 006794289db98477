// The main frame's V-n diagram window: made on first use, shown beside the
// graphs, and given many starts at once on request.
#include "shell/main_frame.h"

#include "graph/vn_diagram_widget.h"
#include "shell/vn_window.h"

#include <QMdiArea>

namespace veltrin {

VnWindow& CMainFrame::VnDiagramWindow()
{
    if (!vnWindow_) {
        vnWindow_ = new VnWindow(*this);
        mdiArea_->addSubWindow(vnWindow_);
        // Beside the graphs: the upper right corner of the graph area.
        const QRect client = mdiArea_->viewport()->rect();
        const QSize size = vnWindow_->sizeHint().boundedTo(client.size());
        vnWindow_->setGeometry(client.right() + 1 - size.width(), client.top(), size.width(),
                               size.height());
    }
    return *vnWindow_;
}

bool CMainFrame::VnDiagramShown() const
{
    return vnWindow_ && !vnWindow_->isHidden();
}

void CMainFrame::ToggleVnDiagram()
{
    VnWindow& window = VnDiagramWindow();
    if (window.isHidden()) {
        window.show();
        mdiArea_->setActiveSubWindow(&window);
    } else {
        window.hide();
        ActivateVisibleGraphWindow();
    }
    UpdateMenus();
}

void CMainFrame::ShowStartsInVnDiagram(std::vector<StartFile> files)
{
    VnWindow& window = VnDiagramWindow();
    window.show();
    mdiArea_->setActiveSubWindow(&window);
    window.ShowStarts(std::move(files));
    UpdateMenus();
}

}  // namespace veltrin
