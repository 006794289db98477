#pragma once
// Runs of samples beyond the aircraft's limits.

#include "analysis/aircraft_limits.h"
#include "data/recording.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace veltrin {

// In the order that ranks exceedances of the same time.
enum class ExceedanceKind { PositiveLoad, NegativeLoad, Speed };

// "+g", "-g" or "IAS".
std::string_view ExceedanceKindText(ExceedanceKind kind);

// A maximal run of consecutive samples beyond one limit: accZ above the
// positive load limit, accZ below the negative one, or ias above the speed
// limit. A value equal to a limit is within it.
struct Exceedance {
    ExceedanceKind kind = ExceedanceKind::PositiveLoad;
    double time = 0.0;      // s, of the run's first sample, from the start's first sample
    double duration = 0.0;  // s, from the run's first to its last sample
    double peak = 0.0;      // largest accZ (+g), smallest accZ (-g), largest ias (IAS)
    std::size_t firstSample = 0;
    std::size_t lastSample = 0;
};

// Finds exceedances sample by sample; the three kinds independently.
class ExceedanceFinder {
public:
    explicit ExceedanceFinder(const AircraftLimits& limits) : limits_(limits) {}

    void Add(const Sample& sample)
    {
        // Most samples are within the limits with no run open: only counted.
        if (openRuns_ == 0 && index_ != 0 && sample.accZ <= limits_.positiveLoad &&
            sample.accZ >= limits_.negativeLoad && sample.ias <= limits_.speed) {
            ++index_;
            return;
        }
        AddSample(sample);
    }
    // Ends the open runs and orders the result by time, then kind.
    void Finish();

    const std::vector<Exceedance>& Exceedances() const { return found_; }
    std::vector<Exceedance> TakeExceedances() { return std::move(found_); }

private:
    struct Run {
        bool open = false;
        std::int64_t firstMs = 0;
        std::int64_t lastMs = 0;
        Exceedance found;
    };
    void AddSample(const Sample& sample);
    void Extend(ExceedanceKind kind, bool beyond, double value, std::int64_t timeMs);
    void Close(Run& run);

    AircraftLimits limits_;
    std::array<Run, 3> runs_;
    int openRuns_ = 0;
    std::vector<Exceedance> found_;
    std::size_t index_ = 0;
    std::int64_t firstTimeMs_ = 0;
};

// The exceedances of `samples` ordered by time, then "+g", "-g", "IAS".
std::vector<Exceedance> FindExceedances(const std::deque<Sample>& samples,
                                        const AircraftLimits& limits);

}  // namespace veltrin
