#pragma once
// Rules by which the graphs show a part of a flight: the time range around
// an event or exceedance, and tick steps that suit any shown span.

#include "shell/view_rules.h"

namespace veltrin {

// Seconds shown before and after a part of a flight, at least; a longer part
// gets a quarter of its length on either side.
inline constexpr double kPartMarginSeconds = 2.0;

// The range [fromSeconds, toSeconds] with the margin on either side.
TimeRange RangeAroundPart(double fromSeconds, double toSeconds);

// The range [fromSeconds, toSeconds] as the graphs can show it: at least
// `minSpan` wide (widened about its middle), moved to end by `lastSecond`
// where it is not wider than that, and never beginning before 0.
TimeRange ShowableRange(double fromSeconds, double toSeconds, double minSpan, double lastSecond);

// The time axis tick step for `span` seconds: the smallest of 1, 2, 5, 10,
// 20, 50 … seconds that gives at most 10 steps across it; 1 for spans of 10
// seconds or less, and for a span that is not a positive number.
double TimeTickStep(double span);

}  // namespace veltrin
