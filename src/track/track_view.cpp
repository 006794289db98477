#include "track/track_view.h"

#include "track/tile_server_dialog.h"
#include "track/tile_source.h"
#include "track/track_painter.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace veltrin {

namespace {

// A click picks the place on the track no farther than this, in pixels.
constexpr double kPickRadius = 10.0;
// A press that moves farther than this before its release is a drag.
constexpr int kDragThreshold = 4;
// One notch of the wheel zooms by this factor.
constexpr double kWheelZoomStep = 1.25;
// The closest and the farthest the map zooms, projection metres per pixel.
constexpr double kMinMetresPerPixel = 0.5;
constexpr double kMaxMetresPerPixel = 40000.0;

}  // namespace

TrackCanvas::TrackCanvas(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TrackCanvas"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
    view_.width = std::max(width(), 1);
    view_.height = std::max(height(), 1);
    TileSourceOptions options;
    options.applicationVersion = QCoreApplication::applicationVersion();
    SetTileSource(new TileSource(std::move(options)));
}

void TrackCanvas::SetTileServer(const QString& urlTemplate, const QString& attribution)
{
    if (urlTemplate.trimmed() == tiles_->UrlTemplate() && attribution == attribution_)
        return;
    tiles_->SetUrlTemplate(urlTemplate);
    attribution_ = attribution;
    Invalidate();
}

void TrackCanvas::SetTileSource(TileSource* tiles)
{
    const QString urlTemplate = tiles_ != nullptr ? tiles_->UrlTemplate() : QString();
    delete tiles_;
    tiles_ = tiles;
    tiles_->setParent(this);
    tiles_->SetUrlTemplate(urlTemplate);
    connect(tiles_, &TileSource::tileArrived, this, &TrackCanvas::Invalidate);
    Invalidate();
}

void TrackCanvas::SetTrack(TrackData track)
{
    scene_ = TrackScene(std::move(track));
    markerMs_.reset();
    FitWholeFlight();
}

void TrackCanvas::SetTimeRange(double fromMs, double toMs)
{
    if (fromMs == fromMs_ && toMs == toMs_)
        return;
    fromMs_ = fromMs;
    toMs_ = toMs;
    Invalidate();
}

void TrackCanvas::SetMarkerTime(double timeMs)
{
    if (markerMs_ && *markerMs_ == timeMs)
        return;
    const std::optional<PixelPoint> before = MarkerDot();
    markerMs_ = timeMs;
    UpdateDot(before);
}

void TrackCanvas::ClearMarker()
{
    const std::optional<PixelPoint> before = MarkerDot();
    markerMs_.reset();
    UpdateDot(before);
}

void TrackCanvas::SetColouring(TrackColouring colouring)
{
    if (colouring == colouring_)
        return;
    colouring_ = colouring;
    Invalidate();
}

void TrackCanvas::FitWholeFlight()
{
    viewChosen_ = false;
    SetView(FitView(scene_.World(), std::max(width(), 1), std::max(height(), 1), kFitMargins));
}

std::optional<PixelPoint> TrackCanvas::MarkerDot() const
{
    if (!markerMs_)
        return std::nullopt;
    const std::optional<WorldPoint> at = scene_.PositionAt(*markerMs_);
    if (!at)
        return std::nullopt;
    return view_.ToScreen(*at);
}

QSize TrackCanvas::sizeHint() const
{
    return {520, 420};
}

QSize TrackCanvas::minimumSizeHint() const
{
    return {160, 120};
}

void TrackCanvas::SetView(const MapView& view)
{
    view_ = view;
    view_.metresPerPixel = std::clamp(view_.metresPerPixel, kMinMetresPerPixel, kMaxMetresPerPixel);
    Invalidate();
}

void TrackCanvas::Invalidate()
{
    picture_ = QImage();
    update();
}

void TrackCanvas::UpdateDot(const std::optional<PixelPoint>& before)
{
    const std::optional<PixelPoint> after = MarkerDot();
    if (before)
        update(MarkerDotRect(*before));
    if (after)
        update(MarkerDotRect(*after));
}

void TrackCanvas::paintEvent(QPaintEvent* event)
{
    const qreal ratio = devicePixelRatioF();
    const QSize pixels(static_cast<int>(std::ceil(width() * ratio)),
                       static_cast<int>(std::ceil(height() * ratio)));
    if (picture_.isNull() || picture_.size() != pixels) {
        picture_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        picture_.setDevicePixelRatio(ratio);
        QPainter painter(&picture_);
        painter.setFont(font());
        TrackPaintOptions options;
        options.view = view_;
        options.colouring = colouring_;
        options.fromMs = fromMs_;
        options.toMs = toMs_;
        options.tiles = tiles_;
        options.attribution = attribution_;
        PaintTrackMap(painter, scene_, options);
    }
    QPainter painter(this);
    const QRect dirty = event->rect();
    painter.drawImage(dirty, picture_,
                      QRectF(dirty.x() * ratio, dirty.y() * ratio, dirty.width() * ratio,
                             dirty.height() * ratio));
    if (const std::optional<PixelPoint> dot = MarkerDot();
        dot && MarkerDotRect(*dot).intersects(dirty))
        PaintMarkerDot(painter, *dot);
}

void TrackCanvas::resizeEvent(QResizeEvent* /*event*/)
{
    if (!viewChosen_) {
        FitWholeFlight();
        return;
    }
    MapView view = view_;
    view.width = std::max(width(), 1);
    view.height = std::max(height(), 1);
    SetView(view);
}

void TrackCanvas::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton && event->button() != Qt::MiddleButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    pressed_ = true;
    dragging_ = false;
    pressAt_ = event->position().toPoint();
    lastDragAt_ = pressAt_;
}

void TrackCanvas::mouseMoveEvent(QMouseEvent* event)
{
    if (!pressed_)
        return;
    const QPoint at = event->position().toPoint();
    if (!dragging_ && (at - pressAt_).manhattanLength() > kDragThreshold) {
        dragging_ = true;
        setCursor(Qt::ClosedHandCursor);
    }
    if (dragging_) {
        const QPoint moved = at - lastDragAt_;
        lastDragAt_ = at;
        viewChosen_ = true;
        SetView(PanBy(view_, moved.x(), moved.y()));
    }
}

void TrackCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    if (!pressed_)
        return;
    pressed_ = false;
    if (dragging_) {
        dragging_ = false;
        setCursor(Qt::CrossCursor);
        return;
    }
    const QPointF at = event->position();
    const std::optional<double> timeMs =
        scene_.NearestTime(view_, {at.x(), at.y()}, kPickRadius, fromMs_, toMs_);
    if (!timeMs)
        return;
    SetMarkerTime(*timeMs);
    emit markerRequested(*timeMs);
}

void TrackCanvas::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0 || scene_.Empty()) {
        event->ignore();
        return;
    }
    // Zoomed as far as the limits allow, around the pointer.
    const double metresPerPixel =
        std::clamp(view_.metresPerPixel / std::pow(kWheelZoomStep, notches), kMinMetresPerPixel,
                   kMaxMetresPerPixel);
    const QPointF at = event->position();
    const MapView zoomed =
        ZoomAround(view_, {at.x(), at.y()}, view_.metresPerPixel / metresPerPixel);
    viewChosen_ = true;
    SetView(zoomed);
    event->accept();
}

TrackView::TrackView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TrackView"));
    setWindowTitle(QStringLiteral("Flugweg"));
    canvas_ = new TrackCanvas(this);
    colouring_ = new QComboBox(this);
    colouring_->addItem(QStringLiteral("Beschleunigung"));
    colouring_->addItem(QStringLiteral("Geschwindigkeit"));
    auto* label = new QLabel(QStringLiteral("Farbe:"), this);
    label->setBuddy(colouring_);
    wholeFlight_ = new QPushButton(QStringLiteral("Ganzer Flug"), this);
    wholeFlight_->setAutoDefault(false);
    map_ = new QPushButton(QStringLiteral("Karte…"), this);
    map_->setAutoDefault(false);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(4, 2, 4, 2);
    bar->addWidget(label);
    bar->addWidget(colouring_);
    bar->addStretch(1);
    bar->addWidget(map_);
    bar->addWidget(wholeFlight_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(bar);
    layout->addWidget(canvas_, 1);

    connect(colouring_, &QComboBox::currentIndexChanged, this, [this](int index) {
        canvas_->SetColouring(index == 1 ? TrackColouring::Speed : TrackColouring::Acceleration);
    });
    connect(wholeFlight_, &QPushButton::clicked, this, &TrackView::FitWholeFlight);
    connect(map_, &QPushButton::clicked, this, &TrackView::AskForTileServer);
    connect(canvas_, &TrackCanvas::markerRequested, this, &TrackView::markerRequested);
}

void TrackView::SetTrack(TrackData track)
{
    canvas_->SetTrack(std::move(track));
}

void TrackView::SetTimeRange(double fromMs, double toMs)
{
    canvas_->SetTimeRange(fromMs, toMs);
}

void TrackView::SetMarkerTime(double timeMs)
{
    canvas_->SetMarkerTime(timeMs);
}

void TrackView::ClearMarker()
{
    canvas_->ClearMarker();
}

void TrackView::SetColouring(TrackColouring colouring)
{
    colouring_->setCurrentIndex(colouring == TrackColouring::Speed ? 1 : 0);
}

void TrackView::SetTileServer(const QString& urlTemplate, const QString& attribution)
{
    canvas_->SetTileServer(urlTemplate, attribution);
}

QString TrackView::TileServer() const
{
    return canvas_->Tiles()->UrlTemplate();
}

QString TrackView::TileAttribution() const
{
    return canvas_->TileAttribution();
}

void TrackView::FitWholeFlight()
{
    canvas_->FitWholeFlight();
}

void TrackView::AskForTileServer()
{
    // Not modal to the program's event loop: a test or the shell may go on.
    auto* dialog = new TileServerDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->SetValues(TileServer(), TileAttribution());
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        const QString urlTemplate = dialog->UrlTemplate();
        const QString attribution = dialog->Attribution();
        if (urlTemplate == TileServer() && attribution == TileAttribution())
            return;
        SetTileServer(urlTemplate, attribution);
        emit tileServerChanged(urlTemplate, attribution);
    });
    dialog->open();
}

}  // namespace veltrin
