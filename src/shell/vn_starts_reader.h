#pragma once
// Reads many starts on worker threads and bins all their samples into one
// V-n density, keeping no more than one start's samples per worker.

#include "analysis/start_summary.h"
#include "graph/point_density.h"
#include "graph/vn_envelope.h"

#include <atomic>
#include <cstddef>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace veltrin {

class VnStartsReader {
public:
    // Begins reading `files` on `threads` workers (0: one per core). Samples
    // beyond `envelope` count as beyond; without one none does.
    VnStartsReader(std::vector<StartFile> files, const std::optional<VnEnvelope>& envelope,
                   unsigned threads = 0);
    // Cancels and waits for the workers.
    ~VnStartsReader();
    VnStartsReader(const VnStartsReader&) = delete;
    VnStartsReader& operator=(const VnStartsReader&) = delete;

    // No further start is begun; the ones being read are finished.
    void Cancel() { cancel_ = true; }
    bool Cancelled() const { return cancel_; }

    std::size_t Total() const { return files_.size(); }
    // Starts read or found unreadable so far.
    std::size_t Done() const { return done_; }
    std::size_t Unreadable() const { return unreadable_; }
    // True once every worker has stopped.
    bool Finished() const { return running_ == 0; }

    // Waits for the workers and hands over the density of every start that
    // was read: all of them, or those read before Cancel().
    PointDensity TakeDensity();

private:
    void Work();
    void Join();

    const std::vector<StartFile> files_;
    const std::optional<VnEnvelope> envelope_;
    std::atomic<std::size_t> next_{0};
    std::atomic<std::size_t> done_{0};
    std::atomic<std::size_t> unreadable_{0};
    std::atomic<unsigned> running_{0};
    std::atomic<bool> cancel_{false};
    std::mutex mergeLock_;
    PointDensity merged_;  // under mergeLock_
    std::vector<std::thread> workers_;
};

}  // namespace veltrin
