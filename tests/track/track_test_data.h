#pragma once
// Made tracks for the track view's tests.

#include "track/track_data.h"

#include <cmath>
#include <numbers>

namespace veltrin::track_test {

constexpr double kLatitude = 47.5;
constexpr double kLongitude = 8.0;

// `count` points one second apart flying east along the parallel at
// kLatitude, `metresApart` metres of ground each, with load and speed rising
// from 1 g and 0 km/h by `accStep` g and `iasStep` km/h a point.
inline TrackData EastwardTrack(int count, double metresApart = 100.0, double accStep = 0.0,
                               double iasStep = 0.0)
{
    TrackData track;
    const double degreesPerMetre =
        1.0 / (111320.0 * std::cos(kLatitude * std::numbers::pi / 180.0));
    for (int i = 0; i < count; ++i) {
        TrackPoint p;
        p.timeMs = 1000.0 * i;
        p.latitude = kLatitude;
        p.longitude = kLongitude + i * metresApart * degreesPerMetre;
        p.accZ = 1.0 + i * accStep;
        p.ias = i * iasStep;
        track.points.push_back(p);
    }
    if (count > 0) {
        track.takeOffIndex = 0;
        track.landingIndex = count - 1;
    }
    return track;
}

}  // namespace veltrin::track_test
