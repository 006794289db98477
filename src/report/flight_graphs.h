#pragma once
// The three graphs of a flight report (acceleration, speed, altitude) over the
// whole start, with its event lines and the aircraft's limit lines, drawn by
// the graph component at the resolution of the page they are put on.

#include "analysis/aircraft_limits.h"
#include "analysis/flight_events.h"
#include "data/recording.h"
#include "graph/graph_row.h"

#include <QRect>
#include <QString>

#include <array>
#include <optional>
#include <vector>

class QPainter;

namespace veltrin {

class FlightGraphs {
public:
    enum class Which { Acceleration, Speed, Altitude };
    static constexpr std::array kAll{Which::Acceleration, Which::Speed, Which::Altitude};

    // Copies what the graphs show of `start`; the start need not outlive this.
    FlightGraphs(const StartRecord& start, const std::vector<FlightEvent>& events,
                 const std::optional<AircraftLimits>& limits);

    // "Beschleunigung (g)" ...
    static QString Title(Which which);

    // Draws graph `which` into `target` (pixels of the painter's device, which
    // has `dotsPerMm` pixels per millimetre).
    void Paint(Which which, QPainter& painter, const QRect& target, double dotsPerMm) const;

private:
    std::vector<GraphRow> table_;
    int rows_ = 0;
    std::int32_t lastMs_ = 0;
    std::vector<double> eventTimesMs_;
    std::optional<AircraftLimits> limits_;
};

}  // namespace veltrin
