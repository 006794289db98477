#pragma once
// Summarises the starts of a card on worker threads and hands the summaries
// to the thread that owns the filler, in batches, while its event loop runs.

#include "analysis/start_summary.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace veltrin {

class LogbookFiller final : public QObject {
    Q_OBJECT

public:
    // Batches reach the owner at most this often.
    static constexpr int kBatchIntervalMs = 100;

    explicit LogbookFiller(QObject* parent = nullptr);
    // Stops the workers and waits for them; nothing is handed over any more.
    ~LogbookFiller() override;

    // Drops a fill that is still running and summarises `files` (copies, so
    // that the workers never touch the recording they came from).
    void Start(std::vector<StartFile> files, const std::optional<AircraftLimits>& limits);
    // Stops the fill: no further start is begun, the starts being read are
    // finished, and every summary done is handed over before finished().
    void Cancel();
    // Stops the fill and drops what has not been handed over; no signal follows.
    void Discard();

    bool IsRunning() const { return running_; }
    std::size_t HandedOver() const { return handedOver_; }
    std::size_t Total() const { return total_; }

    // Called on a worker thread after each summary is queued, with the fill's
    // cancel flag; tests use it to hold the workers at a known point.
    void SetWorkerPause(std::function<void(const std::atomic<bool>& cancel)> pause);

signals:
    // The summaries done since the last batch, in the order they were done.
    void summariesReady(const std::vector<veltrin::StartSummary>& batch);
    // The fill ended; `complete` when every start was summarised.
    void finished(bool complete);

private:
    void Queue(const StartSummary& summary);  // on a worker thread
    void OnQueued();
    void HandOver();
    void OnWorkerDone(unsigned run);
    void StopWorker();

    std::thread worker_;
    std::atomic<bool> cancel_{false};
    std::mutex mutex_;
    std::vector<StartSummary> pending_;  // guarded by mutex_
    std::function<void(const std::atomic<bool>&)> pause_;

    unsigned run_ = 0;  // tells the current fill's notifications from a dropped one's
    bool running_ = false;
    std::size_t handedOver_ = 0;
    std::size_t total_ = 0;
    QTimer batchTimer_;
    QElapsedTimer sinceHandOver_;
};

}  // namespace veltrin
