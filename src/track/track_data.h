#pragma once
// What the track view shows: the points of one start in time order, where it
// took off and landed, and the times to mark on it. A value type of its own,
// built by the owner from the recording.

#include <vector>

namespace veltrin {

struct TrackPoint {
    double timeMs = 0.0;     // on the graphs' time axis
    double latitude = 0.0;   // degrees, north positive
    double longitude = 0.0;  // degrees, east positive
    bool fix = true;         // false: the position is estimated; drawn dashed
    double accZ = 1.0;       // vertical load, g
    double ias = 0.0;        // air speed, km/h
};

struct TrackData {
    std::vector<TrackPoint> points;  // in time order
    int takeOffIndex = -1;           // into `points`; -1 none
    int landingIndex = -1;           // into `points`; -1 none
    std::vector<double> eventTimesMs;
    std::vector<double> exceedanceTimesMs;
};

}  // namespace veltrin
