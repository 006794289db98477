#pragma once
// VnDiagramWidget: a window that shows a V-n diagram and lets the user pick a
// point of it with a click.

#include "graph/point_density.h"
#include "graph/vn_diagram_painter.h"
#include "graph/vn_envelope.h"

#include <QWidget>

#include <optional>
#include <vector>

namespace veltrin {

class VnDiagramWidget : public QWidget {
    Q_OBJECT

public:
    explicit VnDiagramWidget(QWidget* parent = nullptr);

    // Shows `points` (and no density); no point is marked.
    void SetPoints(std::vector<VnPoint> points);
    // Shows the binned points of `density` (and no single points).
    void SetDensity(PointDensity density);
    void SetEnvelope(const std::optional<VnEnvelope>& envelope);
    // Highlights point `index`; an index outside the points marks none.
    void SetMarkedPoint(int index);

    const std::vector<VnPoint>& Points() const { return points_; }
    const PointDensity& Density() const { return density_; }
    const std::optional<VnEnvelope>& Envelope() const { return envelope_; }
    int MarkedPoint() const { return marked_; }
    // What the widget paints, lent from the widget.
    VnDiagramData Data() const;
    // The layout of the diagram over the whole widget.
    VnDiagramLayout Layout() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The user clicked near point `index`; it is marked already.
    void pointPicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::vector<VnPoint> points_;
    PointDensity density_;
    std::optional<VnEnvelope> envelope_;
    int marked_ = -1;
};

}  // namespace veltrin
