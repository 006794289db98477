#include "graph/graph_image.h"

#include "graph/graph_plot.h"
#include "graph/plot_layout.h"

#include <QBuffer>
#include <QPainter>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace veltrin {

namespace {

// The plots that have a bitmap, with its size and resolution.
struct Part {
    CGraphPlot* plot;
    QSize size;
    int dotsPerMetre;
};

std::vector<Part> PartsOf(PlotStack plots)
{
    std::vector<Part> parts;
    for (CGraphPlot* plot : plots) {
        if (plot == nullptr)
            continue;
        const QImage& bitmap = plot->GetBitmap();
        if (!bitmap.isNull())
            parts.push_back({plot, bitmap.size(), bitmap.dotsPerMeterY()});
    }
    return parts;
}

std::vector<QSize> SizesOf(const std::vector<Part>& parts)
{
    std::vector<QSize> sizes;
    sizes.reserve(parts.size());
    for (const Part& part : parts)
        sizes.push_back(part.size);
    return sizes;
}

int Widest(std::span<const QSize> sizes)
{
    int widest = 0;
    for (const QSize& size : sizes)
        widest = std::max(widest, size.width());
    return widest;
}

// `length` scaled by to / from, rounded; exact for length == from.
int Scaled(int length, int to, int from)
{
    const std::int64_t product = static_cast<std::int64_t>(length) * to;
    return static_cast<int>((product + from / 2) / from);
}

// How a plot drawn at `size` in a picture `factor` times its window's size
// looks: as a window of that size would show it, with the label font such a
// window takes, and lines that thicken with the scale.
PlotPrintStyle StyleAt(QSize size, double factor)
{
    PlotPrintStyle style;
    style.fontTenths = LabelFontTenths(size.width(), size.height());
    style.lineWidth = std::max(1, static_cast<int>(std::lround(factor)));
    style.curveWidth = style.lineWidth;
    // The graphs line up as they do on screen.
    style.edgeRoomScale = factor;
    return style;
}

// The generator gives the document's size in millimetres, which viewers turn
// back into pixels at resolutions of their own; the picture is meant to be
// exactly `size` pixels, as the view box is.
QByteArray InPixels(QByteArray svg, QSize size)
{
    const qsizetype root = svg.indexOf("<svg");
    if (root < 0)
        return svg;
    const auto replace = [&svg, root](const QByteArray& attribute, int pixels) {
        const QByteArray opening = ' ' + attribute + "=\"";
        const qsizetype from = svg.indexOf(opening, root);
        const qsizetype close = svg.indexOf('>', root);
        if (from < 0 || from > close)
            return;
        const qsizetype value = from + opening.size();
        const qsizetype end = svg.indexOf('"', value);
        if (end < 0)
            return;
        svg.replace(value, end - value, QByteArray::number(pixels));
    };
    replace("width", size.width());
    replace("height", size.height());
    return svg;
}

}  // namespace

std::vector<QRect> StackedPlacement(std::span<const QSize> sizes, std::optional<int> width)
{
    std::vector<QRect> placed;
    placed.reserve(sizes.size());
    const int widest = Widest(sizes);
    const bool scale = width && *width > 0 && widest > 0;
    int top = 0;
    for (const QSize& size : sizes) {
        const QSize at = scale ? QSize(Scaled(size.width(), *width, widest),
                                       Scaled(size.height(), *width, widest))
                               : size;
        placed.emplace_back(QPoint(0, top), at);
        top += at.height();
    }
    return placed;
}

QSize StackedImageSize(std::span<const QSize> sizes, std::optional<int> width)
{
    QRect bounds;
    for (const QRect& r : StackedPlacement(sizes, width))
        bounds = bounds.united(r);
    return bounds.size();
}

QImage StackedPlotImage(PlotStack plots, std::optional<int> width)
{
    const std::vector<Part> parts = PartsOf(plots);
    const std::vector<QSize> sizes = SizesOf(parts);
    const QSize total = StackedImageSize(sizes, width);
    if (parts.empty() || total.isEmpty())
        return {};
    QImage image(total, QImage::Format_RGB32);
    if (image.isNull())
        return {};  // too large for the memory there is
    image.fill(Qt::white);

    const std::vector<QRect> placed = StackedPlacement(sizes, width);
    const double factor = static_cast<double>(total.width()) / Widest(sizes);
    // The label font's point size means what it means on screen.
    image.setDotsPerMeterX(parts.front().dotsPerMetre);
    image.setDotsPerMeterY(parts.front().dotsPerMetre);

    QPainter painter(&image);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (!width)
            painter.drawImage(placed[i].topLeft(), parts[i].plot->GetBitmap());
        else
            parts[i].plot->RenderOnto(painter, placed[i], StyleAt(placed[i].size(), factor));
    }
    return image;
}

QByteArray StackedPlotSvg(PlotStack plots, const QString& title)
{
    const std::vector<Part> parts = PartsOf(plots);
    const std::vector<QSize> sizes = SizesOf(parts);
    const QSize total = StackedImageSize(sizes, std::nullopt);
    if (parts.empty() || total.isEmpty())
        return {};

    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(total);
    svg.setViewBox(QRect(QPoint(0, 0), total));
    // At the screen's resolution the label font has the size it has on screen.
    svg.setResolution(static_cast<int>(std::lround(parts.front().dotsPerMetre * 0.0254)));
    // The generator writes the title as it is; XML needs its markup escaped.
    svg.setTitle(title.toHtmlEscaped());

    QPainter painter(&svg);
    painter.fillRect(QRect(QPoint(0, 0), total), Qt::white);
    // A one-pixel line at a whole coordinate fills the pixel row below it in
    // the bitmap; a smoothing renderer would spread it over two. Moved onto
    // the pixel centres, the lines are as sharp as on screen.
    painter.translate(0.5, 0.5);
    const std::vector<QRect> placed = StackedPlacement(sizes, std::nullopt);
    for (std::size_t i = 0; i < parts.size(); ++i)
        parts[i].plot->RenderOnto(painter, placed[i], StyleAt(placed[i].size(), 1.0));
    painter.end();
    return InPixels(bytes, total);
}

}  // namespace veltrin
