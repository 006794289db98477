#pragma once
// The colour scale of the track: what a point's colour shows (vertical load or
// air speed), the range of the scale for a track, and the colour of a value in
// a fixed number of steps, so that the track draws with few pens.

#include "track/track_data.h"

#include <QColor>
#include <QString>

#include <span>
#include <vector>

namespace veltrin {

enum class TrackColouring { Acceleration, Speed };

constexpr int kColourSteps = 24;

struct ColourScale {
    TrackColouring colouring = TrackColouring::Acceleration;
    double low = 0.0;        // value at the scale's first colour
    double high = 1.0;       // value at its last colour
    double labelStep = 1.0;  // between the legend's labels
    QString unit;            // "g", "km/h"

    // The step (0 .. kColourSteps - 1) a value falls into; values beyond the
    // range take the end steps.
    int StepOf(double value) const;
    // The step of the calm value (1 g, zero speed): the track draws the steps
    // farthest from it on top.
    int CalmStep() const;
};

// The colour of a step: blue through cyan, green and amber to red.
QColor StepColour(int step);
// The colour at a fraction 0 .. 1 of the scale, without steps.
QColor ColourAtFraction(double fraction);

// The scale for the points: round bounds holding every value; for the load
// whole g on either side of 1 g alike, at least 0 .. 2 g; for the speed from
// zero, at least to 100 km/h.
ColourScale ScaleFor(TrackColouring colouring, std::span<const TrackPoint> points);

// The step of every point under `scale`.
std::vector<unsigned char> StepsOf(const ColourScale& scale, std::span<const TrackPoint> points);

}  // namespace veltrin
