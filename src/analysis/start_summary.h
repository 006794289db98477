#pragma once
// What the logbook shows of a start, with its events and exceedances, found
// while the start's file is read and without keeping its samples; and the same
// for every start of a card, on several threads.

#include "analysis/aircraft_limits.h"
#include "data/recording.h"
#include "data/start_reader.h"

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace veltrin {

// The part of a start that names its file; safe to hand to another thread.
struct StartFile {
    std::filesystem::path path;
    CalendarSeconds startTime = 0;
};

// The start files of `recording`, in its order.
std::vector<StartFile> StartFiles(const Recording& recording);

struct StartSummary {
    std::size_t index = 0;  // position in the list that was summarised
    StartFile file;
    StartReadResult read;             // why the file could not be read; then all below is empty
    CalendarSeconds landingTime = 0;  // as StartRecord
    bool landingIsTimeOfDay = false;
    double minAccZ = 0.0;
    double maxAccZ = 0.0;
    double maxIas = 0.0;
    double maxAltitude = 0.0;
    std::size_t sampleCount = 0;
    int eventMarks = 0;   // samples with the event mark, as the start list counts them
    int events = 0;       // events found by EventFinder
    int exceedances = 0;  // runs found by ExceedanceFinder; 0 without limits
};

// Reads the start's file once and summarises it. Without `limits` no
// exceedances are counted.
StartSummary SummariseStart(const StartFile& file, const std::optional<AircraftLimits>& limits);

struct CardSummaryOptions {
    std::optional<AircraftLimits> limits;
    unsigned threads = 0;  // worker threads; 0: one per core
    // Called once per finished start, from a worker thread, in any order.
    std::function<void(const StartSummary&)> onSummary;
    // Polled between starts; once true, no further start is begun.
    const std::atomic<bool>* cancel = nullptr;
};

// Summarises every start of `files` on worker threads that take the next
// start as they finish one; no worker keeps a start's samples. Returns the
// summaries of the starts that were done, each complete, ordered by index;
// all of them unless cancelled.
std::vector<StartSummary> SummariseCard(const std::vector<StartFile>& files,
                                        const CardSummaryOptions& options);

}  // namespace veltrin
