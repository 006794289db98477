#pragma once
// A track ready to draw: its points projected once, the colour steps of both
// colourings, and the look-ups between time and place that the marker and a
// click need.

#include "track/track_colours.h"
#include "track/track_data.h"
#include "track/web_mercator.h"

#include <optional>
#include <vector>

namespace veltrin {

class TrackScene {
public:
    TrackScene() = default;
    explicit TrackScene(TrackData data);

    const TrackData& Data() const { return data_; }
    bool Empty() const { return data_.points.empty(); }
    const std::vector<WorldPoint>& World() const { return world_; }
    const ColourScale& Scale(TrackColouring colouring) const;
    const std::vector<unsigned char>& Steps(TrackColouring colouring) const;
    // The middle latitude of the track, where the scale bar is true.
    double MiddleLatitude() const { return middleLatitude_; }

    // The position at `timeMs`, interpolated between the points around it;
    // none before the first point or after the last.
    std::optional<WorldPoint> PositionAt(double timeMs) const;

    // The time of the place on the track nearest to `screen` in `view`, at most
    // `maxPixels` away, interpolated along the segment there. A segment inside
    // [fromMs, toMs] within reach wins over nearer ones outside it.
    std::optional<double> NearestTime(const MapView& view, PixelPoint screen, double maxPixels,
                                      double fromMs, double toMs) const;

private:
    TrackData data_;
    std::vector<WorldPoint> world_;
    ColourScale accelerationScale_;
    ColourScale speedScale_;
    std::vector<unsigned char> accelerationSteps_;
    std::vector<unsigned char> speedSteps_;
    double middleLatitude_ = 0.0;
};

}  // namespace veltrin
