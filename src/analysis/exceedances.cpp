#include "analysis/exceedances.h"

#include "analysis/relative_time.h"

#include <algorithm>

namespace veltrin {

std::string_view ExceedanceKindText(ExceedanceKind kind)
{
    switch (kind) {
    case ExceedanceKind::PositiveLoad: return "+g";
    case ExceedanceKind::NegativeLoad: return "-g";
    case ExceedanceKind::Speed: return "IAS";
    }
    return "";
}

void ExceedanceFinder::AddSample(const Sample& sample)
{
    const std::int64_t timeMs = sample.timeMs;
    if (index_ == 0)
        firstTimeMs_ = timeMs;
    Extend(ExceedanceKind::PositiveLoad, sample.accZ > limits_.positiveLoad, sample.accZ, timeMs);
    Extend(ExceedanceKind::NegativeLoad, sample.accZ < limits_.negativeLoad, sample.accZ, timeMs);
    Extend(ExceedanceKind::Speed, sample.ias > limits_.speed, sample.ias, timeMs);
    ++index_;
}

void ExceedanceFinder::Extend(ExceedanceKind kind, bool beyond, double value, std::int64_t timeMs)
{
    Run& run = runs_[static_cast<std::size_t>(kind)];
    if (!beyond) {
        if (run.open)
            Close(run);
        return;
    }
    if (!run.open) {
        run.open = true;
        ++openRuns_;
        run.firstMs = timeMs;
        run.found = Exceedance{};
        run.found.kind = kind;
        run.found.time = SecondsBetween(firstTimeMs_, timeMs);
        run.found.peak = value;
        run.found.firstSample = index_;
    } else if (kind == ExceedanceKind::NegativeLoad) {
        run.found.peak = std::min(run.found.peak, value);
    } else {
        run.found.peak = std::max(run.found.peak, value);
    }
    run.lastMs = timeMs;
    run.found.lastSample = index_;
    run.found.duration = SecondsBetween(run.firstMs, run.lastMs);
}

void ExceedanceFinder::Close(Run& run)
{
    found_.push_back(run.found);
    run.open = false;
    --openRuns_;
}

void ExceedanceFinder::Finish()
{
    for (Run& run : runs_) {
        if (run.open)
            Close(run);
    }
    std::stable_sort(found_.begin(), found_.end(), [](const Exceedance& a, const Exceedance& b) {
        if (a.time != b.time)
            return a.time < b.time;
        return a.kind < b.kind;
    });
}

std::vector<Exceedance> FindExceedances(const std::deque<Sample>& samples,
                                        const AircraftLimits& limits)
{
    ExceedanceFinder finder(limits);
    for (const Sample& sample : samples)
        finder.Add(sample);
    finder.Finish();
    return finder.TakeExceedances();
}

}  // namespace veltrin
