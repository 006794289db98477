#pragma once
// The points of a V-n diagram (air speed against vertical load) and the
// envelope of an aircraft's load and speed limits they are checked against.

#include <QPointF>

#include <array>

namespace veltrin {

// One point of the diagram: indicated air speed and vertical load.
struct VnPoint {
    double ias = 0.0;   // km/h
    double accZ = 0.0;  // g
};

// The limits the envelope is drawn from: the negative and positive load limit
// up to the speed limit.
struct VnEnvelope {
    double negativeLoad = 0.0;  // g, below zero
    double positiveLoad = 0.0;  // g, above zero
    double speed = 0.0;         // km/h
};

// True when `point` lies beyond the envelope: accZ above the positive or below
// the negative limit, or ias above the speed limit. A value equal to a limit
// is inside.
constexpr bool IsBeyondEnvelope(double ias, double accZ, const VnEnvelope& envelope)
{
    return accZ > envelope.positiveLoad || accZ < envelope.negativeLoad || ias > envelope.speed;
}

// The closed outline in axis values (x = km/h, y = g): (0, negative),
// (0, positive), (speed, positive), (speed, negative); the last corner joins
// the first.
std::array<QPointF, 4> EnvelopeOutline(const VnEnvelope& envelope);

}  // namespace veltrin
