#include "analysis/start_summary.h"

#include "analysis/exceedances.h"
#include "analysis/flight_events.h"

#include <algorithm>

namespace veltrin {

std::vector<StartFile> StartFiles(const Recording& recording)
{
    std::vector<StartFile> files;
    files.reserve(recording.size());
    for (const StartRecord& start : recording)
        files.push_back({start.path, start.startTime});
    return files;
}

StartSummary SummariseStart(const StartFile& file, const std::optional<AircraftLimits>& limits)
{
    StartSummary summary;
    summary.file = file;
    StartRecord start;
    start.path = file.path;
    start.startTime = file.startTime;
    summary.read = ReadStartData(start);
    if (!summary.read.Ok())
        return summary;
    summary.landingTime = start.landingTime;
    summary.landingIsTimeOfDay = start.landingIsTimeOfDay;
    summary.minAccZ = start.minAccZ;
    summary.maxAccZ = start.maxAccZ;
    summary.maxIas = start.maxIas;
    summary.maxAltitude = start.maxAltitude;
    summary.sampleCount = start.samples.size();
    summary.eventMarks = static_cast<int>(std::count_if(
        start.samples.begin(), start.samples.end(), [](const Sample& s) { return s.eventMark; }));
    summary.events = static_cast<int>(FindEvents(start.samples).size());
    if (limits)
        summary.exceedances = static_cast<int>(FindExceedances(start.samples, *limits).size());
    return summary;
}

// First version: one thread. To be made parallel.
std::vector<StartSummary> SummariseCard(const std::vector<StartFile>& files,
                                        const CardSummaryOptions& options)
{
    std::vector<StartSummary> summaries;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (options.cancel && options.cancel->load())
            break;
        StartSummary summary = SummariseStart(files[i], options.limits);
        summary.index = i;
        if (options.onSummary)
            options.onSummary(summary);
        summaries.push_back(std::move(summary));
    }
    return summaries;
}

}  // namespace veltrin
