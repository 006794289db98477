#pragma once
// Pictures of graphs for files and the clipboard: one plot, or several stacked
// top to bottom as their windows lie on screen, as a bitmap or as SVG.

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace veltrin {

class CGraphPlot;

// The plots of one picture, top to bottom. Each takes the size of its bitmap
// (its window's client size); all start at the left edge. Plots without a
// bitmap are left out.
using PlotStack = std::span<CGraphPlot* const>;

// Where each of `sizes` lies in the picture: one below the other, at their own
// size, or, with `width`, all scaled by the factor that makes the widest one
// `width` pixels wide.
std::vector<QRect> StackedPlacement(std::span<const QSize> sizes, std::optional<int> width);
// The bounding size of StackedPlacement.
QSize StackedImageSize(std::span<const QSize> sizes, std::optional<int> width);

// The plots stacked as a bitmap on white. Without `width`, the plots' bitmaps
// as the windows show them; with it, drawn anew, sharp, at their scaled size
// as windows of that size would show them, lines thickened by the scale.
// Null when no plot has a size or the picture does not fit in memory.
QImage StackedPlotImage(PlotStack plots, std::optional<int> width = std::nullopt);

// The plots stacked at their windows' size as an SVG document titled `title`;
// empty when no plot has a size.
QByteArray StackedPlotSvg(PlotStack plots, const QString& title);

}  // namespace veltrin
