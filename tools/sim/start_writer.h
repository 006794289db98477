#pragma once
// Writes one start: the recorder's data file of a whole flight, with its
// samples, GPS bursts, status and raw-value lines, event lines and landing.

#include "data/recording.h"
#include "sim/flight_profile.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace veltrin::sim {

// Limits and identity the recorder is configured with.
struct RecorderSetup {
    double negativeLoadLimit = -1.5;    // g
    double positiveLoadLimit = 3.8;     // g
    double speedLimit = 240.0;          // km/h
    double referencePressure = 1013.2;  // hPa
    std::string registration = "D-MQVT";
    int configVersion = 3;
};

enum class EventType { PositiveLoad = 1, NegativeLoad = 2, Speed = 3 };

// One overload as the recorder logs it: a run of samples beyond one limit.
struct RecordedEvent {
    int number = 0;
    EventType type = EventType::PositiveLoad;
    CalendarSeconds time = 0;  // UTC of the run's first sample
    double peak = 0.0;         // most extreme value of the run
    double limit = 0.0;
    double ias = 0.0;       // km/h at the peak
    double altitude = 0.0;  // m at the peak
};

// When a start begins, the flight it records and how many samples it holds.
struct StartSettings {
    CalendarSeconds startTime = 0;  // UTC of the first sample, also the file name
    FlightPlan flight;
    long long samples = 0;  // "$VLTDR" lines to write
    int firstEventNumber = 1;
};

// What was written for a start.
struct StartResult {
    bool written = false;
    long long samples = 0;
    std::uint64_t bytes = 0;
    CalendarSeconds touchdown = -1;  // UTC of the touchdown; -1 when the file ends before it
    std::vector<RecordedEvent> events;
};

// Number of samples for a recording of `seconds` at `rateHz`.
long long SamplesFor(double seconds, int rateHz);

// Writes the data file `file`. `written` is false when the file could not be
// created or written; nothing is left behind then.
StartResult WriteStart(const std::filesystem::path& file, const StartSettings& settings,
                       const RecorderSetup& setup);

// A start's data file made in memory, so that starts can be made on several
// threads before the numbers of their events are known.
struct RenderedStart {
    std::string bytes;
    std::vector<std::size_t> eventLines;  // where each "$VLTEV" line begins in `bytes`
    StartResult result;                   // `written` false and `bytes` 0 until written
};

// The data file that WriteStart would write, in memory.
RenderedStart RenderStart(const StartSettings& settings, const RecorderSetup& setup);

// Writes `rendered` to `file` with its events numbered from `firstEventNumber`:
// the same bytes as WriteStart with that first event number. Returns the
// result with the events renumbered.
StartResult WriteRenderedStart(const std::filesystem::path& file, const RenderedStart& rendered,
                               int firstEventNumber);

}  // namespace veltrin::sim
