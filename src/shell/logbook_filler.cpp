#include "shell/logbook_filler.h"

#include <new>
#include <utility>

namespace veltrin {

LogbookFiller::LogbookFiller(QObject* parent) : QObject(parent)
{
    batchTimer_.setSingleShot(true);
    connect(&batchTimer_, &QTimer::timeout, this, &LogbookFiller::HandOver);
}

LogbookFiller::~LogbookFiller()
{
    // Joined here, before QObject's destructor drops the calls the workers
    // posted: no worker outlives the object it posts to.
    StopWorker();
}

void LogbookFiller::SetWorkerPause(std::function<void(const std::atomic<bool>&)> pause)
{
    pause_ = std::move(pause);
}

void LogbookFiller::Start(std::vector<StartFile> files, const std::optional<AircraftLimits>& limits)
{
    Discard();
    const unsigned run = ++run_;
    running_ = true;
    handedOver_ = 0;
    total_ = files.size();
    sinceHandOver_.invalidate();
    cancel_ = false;

    CardSummaryOptions options;
    options.limits = limits;
    options.cancel = &cancel_;
    options.onSummary = [this](const StartSummary& summary) {
        Queue(summary);
    };
    worker_ = std::thread([this, run, files = std::move(files), options = std::move(options)] {
        try {
            SummariseCard(files, options);
        } catch (const std::bad_alloc&) {
            // Out of memory: the fill ends with what was done.
        }
        QMetaObject::invokeMethod(
            this, [this, run] { OnWorkerDone(run); }, Qt::QueuedConnection);
    });
}

void LogbookFiller::Queue(const StartSummary& summary)
{
    bool wasEmpty = false;
    {
        const std::lock_guard lock(mutex_);
        wasEmpty = pending_.empty();
        pending_.push_back(summary);
    }
    // One call per batch: the owner takes everything queued until it runs.
    if (wasEmpty)
        QMetaObject::invokeMethod(this, &LogbookFiller::OnQueued, Qt::QueuedConnection);
    if (pause_)
        pause_(cancel_);
}

void LogbookFiller::OnQueued()
{
    if (!running_ || batchTimer_.isActive())
        return;
    // The first batch goes at once, later ones at most every kBatchIntervalMs.
    const qint64 since = sinceHandOver_.isValid() ? sinceHandOver_.elapsed() : kBatchIntervalMs;
    if (since < kBatchIntervalMs)
        batchTimer_.start(static_cast<int>(kBatchIntervalMs - since));
    else
        HandOver();
}

void LogbookFiller::HandOver()
{
    std::vector<StartSummary> batch;
    {
        const std::lock_guard lock(mutex_);
        batch.swap(pending_);
    }
    sinceHandOver_.start();
    if (batch.empty())
        return;
    handedOver_ += batch.size();
    emit summariesReady(batch);
}

void LogbookFiller::OnWorkerDone(unsigned run)
{
    if (run == run_)
        Cancel();  // the worker has ended: hand over the rest and finish
}

void LogbookFiller::Cancel()
{
    if (!running_)
        return;
    StopWorker();
    batchTimer_.stop();
    HandOver();
    running_ = false;
    emit finished(handedOver_ == total_);
}

void LogbookFiller::Discard()
{
    StopWorker();
    batchTimer_.stop();
    const std::lock_guard lock(mutex_);
    pending_.clear();
    running_ = false;
}

void LogbookFiller::StopWorker()
{
    cancel_ = true;
    if (worker_.joinable())
        worker_.join();
}

}  // namespace veltrin
