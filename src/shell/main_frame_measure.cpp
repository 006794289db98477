// The main frame's measured range: cursor B next to the marker in all graphs,
// the "Messbereich" command, and the read-out in the "Messung" bar and the
// status bar.
#include "shell/main_frame.h"

#include "graph/graph_pane.h"
#include "graph/graph_plot.h"
#include "graph/range_measure.h"
#include "shell/child_frame.h"
#include "shell/graph_window_config.h"
#include "shell/measure_window.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QMdiArea>
#include <QTimer>

#include <array>

namespace veltrin {

namespace {

constexpr const char* kMeasureBarTitle = "Messung";
constexpr const char* kMarkerFirstText =
    "Zuerst die Marke setzen (mittlere Maustaste), dann den Messbereich.";
// Height of the bar when it first comes up.
constexpr int kMeasureBarHeight = 130;

// The read-out's curves, in the order of the marker read-out.
constexpr std::array kMeasureCurves{
    MeasureCurve{kAccelerationColumn, "Beschleunigung", "g", 2},
    MeasureCurve{kSpeedColumn, "Geschwindigkeit", "km/h", 0},
    MeasureCurve{kAltitudeColumn, "Höhe", "m", 0},
};
constexpr std::array kMeasureColumns{kAccelerationColumn, kSpeedColumn, kAltitudeColumn};

}  // namespace

void CMainFrame::createMeasureActions()
{
    connect(AddCommand(Command::MeasureRange), &QAction::triggered, this,
            &CMainFrame::ToggleMeasureRange);
    Action(Command::MeasureRange)->setCheckable(true);
    AddCommand(Command::ToggleMeasureWindow)->setCheckable(true);
    connect(Action(Command::ToggleMeasureWindow), &QAction::triggered, this,
            [this] { ShowMeasureBar(measureBar_->isHidden()); });
}

void CMainFrame::createMeasureBar()
{
    measureBar_ = new QDockWidget(QString::fromUtf8(kMeasureBarTitle), this);
    measureBar_->setObjectName(QStringLiteral("MeasureBar"));
    measureBar_->setAllowedAreas(Qt::AllDockWidgetAreas);
    measureBar_->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable |
                             QDockWidget::DockWidgetClosable);
    measureWindow_ = new MeasureWindow(measureBar_);
    measureBar_->setWidget(measureWindow_);
    addDockWidget(Qt::BottomDockWidgetArea, measureBar_);
    resizeDocks({measureBar_}, {kMeasureBarHeight}, Qt::Vertical);
    measureBar_->hide();
    connect(measureBar_, &QDockWidget::visibilityChanged, this, &CMainFrame::UpdateMenus);

    for (CChildFrame* window : graphWindows_)
        window->Pane().SetRangeEndCallback(&CMainFrame::OnRangeEnd, this);
    // B belongs to the start it was set in; the marker's moves change the read-out.
    connect(this, &CMainFrame::shownStartChanged, this, [this] { SetRangeEnd(-1); });
    connect(this, &CMainFrame::sampleMarked, this, &CMainFrame::UpdateMeasure);
}

void CMainFrame::ShowMeasureBar(bool show)
{
    // The bar takes room from the graphs: stacked graphs are stacked again in
    // the room left, once the layout has given it.
    const bool stacked = GraphWindowsStacked();
    measureBar_->setVisible(show);
    if (stacked)
        QTimer::singleShot(0, this, &CMainFrame::StackGraphWindows);
}

void CMainFrame::OnRangeEnd(void* userData, int row, QPoint /*screenPos*/)
{
    static_cast<CMainFrame*>(userData)->SetRangeEnd(row);
}

bool CMainFrame::RangeEndSet() const
{
    return graphWindows_[0]->Pane().Plot().RangeEndShown();
}

void CMainFrame::SetRangeEnd(int row)
{
    const CGraphPlot& lead = graphWindows_[0]->Pane().Plot();
    const int rowCount = lead.Table().Count();
    const bool inside = row >= 0 && row < rowCount;
    // A click that set B in one graph is taken back when there is no marker
    // to measure from.
    const bool markerShown = lead.MarkerShown();
    for (CChildFrame* window : graphWindows_) {
        CGraphPlot& plot = window->Pane().Plot();
        if (inside && markerShown)
            plot.SetRangeEndRow(row);
        else
            plot.ClearRangeEnd();
        window->Pane().update();
    }
    if (inside && !markerShown)
        SetStatusText(QString::fromUtf8(kMarkerFirstText));
    if (RangeEndSet() && !measureBarOffered_) {
        measureBarOffered_ = true;
        ShowMeasureBar(true);
    }
    UpdateMeasure();
    UpdateMenus();
}

void CMainFrame::ToggleMeasureRange()
{
    if (RangeEndSet()) {
        SetRangeEnd(-1);
        return;
    }
    CChildFrame* window = ActiveGraphWindow();
    const CGraphPlot& plot = (window ? window : graphWindows_[0])->Pane().Plot();
    const GraphSettings s = plot.GetSettings();
    const int row = plot.RowAtX((s.xMin + s.xMax) / 2);
    if (row < 0) {
        UpdateMenus();
        return;
    }
    SetRangeEnd(row);
}

void CMainFrame::UpdateMeasure()
{
    const CGraphPlot& lead = graphWindows_[0]->Pane().Plot();
    if (!lead.MarkerShown() || !lead.RangeEndShown()) {
        measureWindow_->ShowTable({});
        measurePane_->clear();
        measurePane_->hide();
        return;
    }
    const RangeMeasure measure =
        MeasureRange(lead.Table(), kMeasureColumns, lead.MarkerTime(), lead.RangeEndTime());
    measureWindow_->ShowTable(MeasureTableOf(measure, kMeasureCurves));
    measurePane_->setText(QString::fromStdString(MeasurePaneText(measure, kMeasureCurves)));
    measurePane_->show();
}

void CMainFrame::UpdateMeasureCommands()
{
    // The menus are brought up to date while the graph windows are made, before the bar is.
    if (measureBar_ == nullptr)
        return;
    Action(Command::MeasureRange)->setEnabled(!graphTable_.empty());
    Action(Command::MeasureRange)->setChecked(RangeEndSet());
    Action(Command::ToggleMeasureWindow)->setChecked(!measureBar_->isHidden());
}

}  // namespace veltrin
