#pragma once
// Plans and writes a whole sample card: day directories with one data file
// per start, and the recorder's event files EVENTS.LOG and LASTEV.LOG.

#include "data/recording.h"
#include "sim/start_writer.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace veltrin::sim {

struct CardOptions {
    std::uint64_t seed = 1;
    int days = 3;
    int starts = 7;
    int year = 2025;  // date of the first day
    int month = 7;
    int day = 18;
    double minMinutes = 7.0;  // length of a start, drawn per start
    double maxMinutes = 10.0;
    int rateHz = 0;                // 0: each start records at 10 to 25 Hz
    double longFlightHours = 0.0;  // > 0: one start of the last day lasts this long
    bool nightFlights = true;      // a start landing after midnight UTC, then one in hour 0
    unsigned threads = 0;          // starts made at once; 0: one per core. Same bytes for any.
    RecorderSetup recorder;
};

// One start as planned: where it goes and what it holds.
struct PlannedStart {
    std::string dayDirectory;  // "Dyymmdd"
    std::string fileName;      // "Shhmmss.LOG"
    StartSettings settings;
};

struct CardResult {
    bool ok = false;
    std::string error;  // why nothing or not everything was written
    std::vector<PlannedStart> starts;
    std::vector<StartResult> written;  // parallel to `starts`
    std::vector<RecordedEvent> events;
    std::uint64_t bytes = 0;
};

// Plans every start in time order. Returns an empty list and sets `error`
// when the options are out of range or the starts do not fit into the days.
std::vector<PlannedStart> PlanCard(const CardOptions& options, std::string& error);

// Writes the card below `dir`/VELT, which must not hold a card yet. With more
// than one thread, each start is made in memory and written once the numbers
// of the events before it are known.
CardResult WriteCard(const std::filesystem::path& dir, const CardOptions& options);

// The event file line of `event` without its line end: "d.m.yyyy h:mm:ss …*hh".
std::string EventLogLine(const RecordedEvent& event);

}  // namespace veltrin::sim
