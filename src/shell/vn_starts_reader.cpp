#include "shell/vn_starts_reader.h"

#include "data/start_reader.h"

#include <algorithm>

namespace veltrin {

VnStartsReader::VnStartsReader(std::vector<StartFile> files,
                               const std::optional<VnEnvelope>& envelope, unsigned threads)
    : files_(std::move(files)), envelope_(envelope)
{
    if (threads == 0)
        threads = std::max(1u, std::thread::hardware_concurrency());
    threads = static_cast<unsigned>(
        std::min<std::size_t>(threads, std::max<std::size_t>(files_.size(), 1)));
    running_ = threads;
    workers_.reserve(threads);
    for (unsigned i = 0; i < threads; ++i)
        workers_.emplace_back([this] { Work(); });
}

VnStartsReader::~VnStartsReader()
{
    Cancel();
    Join();
}

void VnStartsReader::Work()
{
    // Each worker bins into its own density and merges it once at the end.
    PointDensity density(merged_.Shape());
    while (!cancel_) {
        const std::size_t i = next_++;
        if (i >= files_.size())
            break;
        StartRecord start;
        start.path = files_[i].path;
        start.startTime = files_[i].startTime;
        if (ReadStartData(start).Ok()) {
            for (const Sample& sample : start.samples) {
                const bool beyond =
                    envelope_ && IsBeyondEnvelope(sample.ias, sample.accZ, *envelope_);
                density.Add(sample.ias, sample.accZ, beyond);
            }
        } else {
            ++unreadable_;
        }
        ++done_;
    }
    {
        const std::lock_guard lock(mergeLock_);
        merged_.Merge(density);
    }
    --running_;
}

void VnStartsReader::Join()
{
    for (std::thread& worker : workers_) {
        if (worker.joinable())
            worker.join();
    }
}

PointDensity VnStartsReader::TakeDensity()
{
    Join();
    return std::move(merged_);
}

}  // namespace veltrin
