#include "analysis/start_summary.h"

#include "analysis/exceedances.h"
#include "analysis/flight_events.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace veltrin {

std::vector<StartFile> StartFiles(const Recording& recording)
{
    std::vector<StartFile> files;
    files.reserve(recording.size());
    for (const StartRecord& start : recording)
        files.push_back({start.path, start.startTime});
    return files;
}

namespace {

// Finds events and exceedances and counts samples and event marks while the
// file is read.
class SummaryObserver final : public SampleObserver {
public:
    explicit SummaryObserver(const std::optional<AircraftLimits>& limits)
    {
        if (limits)
            exceedances_.emplace(*limits);
    }

    void OnSample(const Sample& sample) override
    {
        ++samples_;
        eventMarks_ += sample.eventMark ? 1 : 0;
        events_.Add(sample);
        if (exceedances_)
            exceedances_->Add(sample);
    }

    void Finish(StartSummary& summary)
    {
        events_.Finish();
        summary.sampleCount = samples_;
        summary.eventMarks = eventMarks_;
        summary.events = static_cast<int>(events_.Events().size());
        if (exceedances_) {
            exceedances_->Finish();
            summary.exceedances = static_cast<int>(exceedances_->Exceedances().size());
        }
    }

private:
    EventFinder events_;
    std::optional<ExceedanceFinder> exceedances_;
    std::size_t samples_ = 0;
    int eventMarks_ = 0;
};

// Runs SummariseStart on the files whose index `next` hands out, until none is
// left or `cancel` is set.
void SummariseShare(const std::vector<StartFile>& files, const CardSummaryOptions& options,
                    std::atomic<std::size_t>& next, std::vector<std::optional<StartSummary>>& done)
{
    for (;;) {
        if (options.cancel && options.cancel->load())
            return;
        const std::size_t i = next.fetch_add(1);
        if (i >= files.size())
            return;
        StartSummary summary = SummariseStart(files[i], options.limits);
        summary.index = i;
        if (options.onSummary)
            options.onSummary(summary);
        done[i] = std::move(summary);
    }
}

}  // namespace

StartSummary SummariseStart(const StartFile& file, const std::optional<AircraftLimits>& limits)
{
    StartSummary summary;
    summary.file = file;
    StartRecord start;
    start.path = file.path;
    start.startTime = file.startTime;
    SummaryObserver observer(limits);
    StartReadOptions options;
    options.observer = &observer;
    options.keepSamples = false;
    summary.read = ReadStartData(start, options);
    if (!summary.read.Ok())
        return summary;
    summary.landingTime = start.landingTime;
    summary.landingIsTimeOfDay = start.landingIsTimeOfDay;
    summary.minAccZ = start.minAccZ;
    summary.maxAccZ = start.maxAccZ;
    summary.maxIas = start.maxIas;
    summary.maxAltitude = start.maxAltitude;
    observer.Finish(summary);
    return summary;
}

std::vector<StartSummary> SummariseCard(const std::vector<StartFile>& files,
                                        const CardSummaryOptions& options)
{
    unsigned threads = options.threads != 0 ? options.threads : std::thread::hardware_concurrency();
    threads = static_cast<unsigned>(
        std::clamp<std::size_t>(threads, 1, std::max<std::size_t>(files.size(), 1)));
    // Each worker writes only the slots of the indices it took.
    std::vector<std::optional<StartSummary>> done(files.size());
    std::atomic<std::size_t> next{0};
    {
        std::vector<std::jthread> workers;
        workers.reserve(threads);
        for (unsigned t = 0; t < threads; ++t)
            workers.emplace_back([&] { SummariseShare(files, options, next, done); });
    }
    std::vector<StartSummary> summaries;
    summaries.reserve(files.size());
    for (std::optional<StartSummary>& summary : done) {
        if (summary)
            summaries.push_back(std::move(*summary));
    }
    return summaries;
}

}  // namespace veltrin
