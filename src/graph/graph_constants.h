#pragma once
// Fixed colours, identifiers and limits of the graph component, in one place.

#include <QColor>

#include <array>

namespace veltrin::graph_constants {

// Marker line colour (orange).
inline const QColor kMarkerColour{255, 128, 0};
inline const QColor kLimitLineColour{200, 0, 0};  // an aircraft limit across a graph
// 3-D frame colours.
inline const QColor kFrameLight{192, 192, 192};
inline const QColor kFrameDark{128, 128, 128};
inline const QColor kFrameWhite{255, 255, 255};

// Legend slot palette, entries 0..3.
inline const std::array<QColor, 4> kLegendPalette{QColor{0, 0, 255}, QColor{255, 0, 0},
                                                  QColor{0, 128, 255}, QColor{255, 128, 0}};
constexpr int kLegendSlots = 4;
constexpr int kLegendFirstId = 40001;  // control id of slot 1; slot k is 40000 + k
constexpr int kLegendButtonSize = 16;

// Double-precision epsilon; the tolerances of tick iteration derive from it.
constexpr double kEpsilon = 2.220446049250313e-16;
constexpr double kTickLowTolerance = kEpsilon;                // a tick this far below lo counts
constexpr double kTickHighTolerance = 2.220446049250313e-15;  // a tick this far above hi counts
// An axis whose range holds more ticks of one step than this draws none of them.
constexpr double kMaxTicksPerAxis = 100000.0;
// Values smaller than this in magnitude are labelled as 0 (no "-0.0").
constexpr double kLabelZero = 1e-12;

// Label font: tenths of a point per pixel of bitmap diagonal, and the minimum.
constexpr double kFontTenthsPerDiagonalPixel = 2.0 / 17.0;
constexpr int kMinFontTenths = 70;

// Pixel coordinates are clamped to this magnitude before they are drawn, so that
// extreme values or zoom factors cannot overflow integer pixels.
constexpr double kMaxPixelCoordinate = 4.0e6;
// Millisecond times derived from axis values saturate at this magnitude instead
// of overflowing 64-bit integers.
constexpr double kMaxTimeMs = 4.0e18;

}  // namespace veltrin::graph_constants
