#include "graph/vn_diagram_widget.h"

#include <QMouseEvent>
#include <QPainter>

namespace veltrin {

namespace {

// A click picks the nearest point no farther than this, in pixels.
constexpr double kPickRadius = 12.0;

}  // namespace

VnDiagramWidget::VnDiagramWidget(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("VnDiagram"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void VnDiagramWidget::SetPoints(std::vector<VnPoint> points)
{
    points_ = std::move(points);
    density_ = PointDensity(density_.Shape());
    marked_ = -1;
    update();
}

void VnDiagramWidget::SetDensity(PointDensity density)
{
    points_.clear();
    points_.shrink_to_fit();
    density_ = std::move(density);
    marked_ = -1;
    update();
}

void VnDiagramWidget::SetEnvelope(const std::optional<VnEnvelope>& envelope)
{
    envelope_ = envelope;
    update();
}

void VnDiagramWidget::SetMarkedPoint(int index)
{
    const int marked = index >= 0 && static_cast<std::size_t>(index) < points_.size() ? index : -1;
    if (marked == marked_)
        return;
    marked_ = marked;
    update();
}

VnDiagramData VnDiagramWidget::Data() const
{
    VnDiagramData shown;
    shown.points = points_;
    shown.density = density_.Empty() ? nullptr : &density_;
    shown.envelope = envelope_;
    shown.markedPoint = marked_;
    return shown;
}

VnDiagramLayout VnDiagramWidget::Layout() const
{
    return LayoutVnDiagram(QRectF(rect()), QFontMetricsF(font()), Data());
}

QSize VnDiagramWidget::sizeHint() const
{
    return {520, 400};
}

QSize VnDiagramWidget::minimumSizeHint() const
{
    return {200, 150};
}

void VnDiagramWidget::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setFont(font());
    PaintVnDiagram(painter, QRectF(rect()), Data());
}

void VnDiagramWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || points_.empty()) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int index = NearestVnPoint(points_, Layout(), event->position(), kPickRadius);
    if (index < 0)
        return;
    SetMarkedPoint(index);
    emit pointPicked(index);
}

}  // namespace veltrin
