#include "report/report_canvas.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <utility>

namespace veltrin {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kFooterTop = 285.0;
constexpr double kFooterPoints = 8.0;
constexpr double kHeadingPoints = 11.0;
constexpr double kHeadingGapMm = 1.5;
const char* const kFontFace = "Arial";

}  // namespace

ReportCanvas::ReportCanvas(QPagedPaintDevice& device, QPainter* painter, QString footer,
                           int pageCount)
    : device_(device),
      painter_(painter),
      footer_(std::move(footer)),
      pageCount_(pageCount),
      dotsPerMm_(device.logicalDpiY() / kMmPerInch)
{
}

QRectF ReportCanvas::ToDevice(const QRectF& mm) const
{
    return QRectF(mm.x() * dotsPerMm_, mm.y() * dotsPerMm_, mm.width() * dotsPerMm_,
                  mm.height() * dotsPerMm_);
}

bool ReportCanvas::Reserve(double heightMm)
{
    if (y_ + heightMm <= kBottom || y_ <= kTop)
        return false;
    NewPage();
    return true;
}

void ReportCanvas::NewPage()
{
    Footer();
    if (painter_)
        device_.newPage();
    ++page_;
    y_ = kTop;
}

int ReportCanvas::Finish()
{
    Footer();
    return page_;
}

QFont ReportCanvas::Font(double points, bool bold)
{
    QFont font(QString::fromUtf8(kFontFace));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

double ReportCanvas::LineHeight(const QFont& font) const
{
    return QFontMetricsF(font, &device_).height() / dotsPerMm_;
}

double ReportCanvas::TextWidth(const QFont& font, const QString& text) const
{
    return QFontMetricsF(font, &device_).horizontalAdvance(text) / dotsPerMm_;
}

void ReportCanvas::Text(const QRectF& mm, const QString& text, const QFont& font, int flags) const
{
    if (!painter_)
        return;
    painter_->setFont(font);
    painter_->setPen(Qt::black);
    painter_->drawText(ToDevice(mm), flags, text);
}

void ReportCanvas::Rule(double yMm, double widthMm, double lengthMm) const
{
    if (!painter_)
        return;
    const double right = lengthMm > 0.0 ? kLeft + lengthMm : kRight;
    painter_->setPen(QPen(Qt::black, widthMm * dotsPerMm_));
    painter_->drawLine(QPointF(kLeft * dotsPerMm_, yMm * dotsPerMm_),
                       QPointF(right * dotsPerMm_, yMm * dotsPerMm_));
}

void ReportCanvas::Heading(const QString& text, double followingMm)
{
    const QFont font = Font(kHeadingPoints, true);
    const double height = LineHeight(font);
    Reserve(height + kHeadingGapMm + followingMm);
    Text(QRectF(kLeft, y_, kWidth, height), text, font, Qt::AlignLeft | Qt::AlignVCenter);
    y_ += height + kHeadingGapMm;
}

void ReportCanvas::Footer() const
{
    const QFont font = Font(kFooterPoints);
    const double height = LineHeight(font);
    const QRectF box(kLeft, kFooterTop, kWidth, height);
    Rule(kFooterTop - 1.0, 0.1);
    Text(box, footer_, font, Qt::AlignLeft | Qt::AlignVCenter);
    Text(box, QStringLiteral("Seite %1 von %2").arg(page_).arg(pageCount_), font,
         Qt::AlignRight | Qt::AlignVCenter);
}

}  // namespace veltrin
