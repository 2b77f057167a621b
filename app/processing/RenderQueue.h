#pragma once

#include <QEventLoop>
#include <QObject>
#include <QStringList>
#include <QThreadPool>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

#include "processing/RenderCost.h"
#include "processing/RenderPicture.h"

// Renders the pictures of a run on worker threads, ahead of the one the run
// is saving, and hands the results back in list order on the thread that made
// the queue. Settings and prepared assets are fixed when it is made.
// Each worker renders one picture at a time, chosen among the next entries
// not started, the costliest first (by the memory its rendering needs, worked
// out from its header), and only when that memory fits what the pictures in
// flight leave of the budget: the renders under way and the finished results
// waiting for their turn. So the budget alone bounds how far ahead the
// workers go, a slow picture holds none of them while there is room, and a
// large picture late in a mixed list does not run on alone at the end. One
// larger than the whole budget runs alone.
class RenderQueue {
public:
    using RenderFunction = std::function<RenderResult(const QString&, const RenderSettings&, const RenderAssets&)>;

    // `workers` 0 takes the default, `budget` 0 the machine's; `render`
    // empty renders with the picture pipeline.
    RenderQueue(QStringList paths, RenderSettings settings, int workers, RenderFunction render = {},
                int64_t budget = 0);
    // Drops what has not started and waits for what is being rendered.
    ~RenderQueue();
    RenderQueue(const RenderQueue&) = delete;
    RenderQueue& operator=(const RenderQueue&) = delete;

    // Told of each picture as it starts, with the cost it is charged and what
    // the pictures in flight held before it. Called under the queue's lock
    // from the thread that starts the picture: it must not call the queue.
    // Set it before the first take.
    using StartWatcher = std::function<void(int index, const RenderCost& cost, int64_t heldBefore)>;
    void watchStarts(StartWatcher watcher) { watcher_ = std::move(watcher); }

    // The result of entry `i`; entries are taken in increasing order (one
    // taken or skipped over before gives an empty result). While it is not
    // ready the calling thread's event loop runs, so a window stays alive.
    RenderResult take(int i);

    // Starts no picture after the one asked for last (the stop button):
    // renders under way finish, and that picture is still handed back.
    void stopStarting();

    // The border, watermark and font every picture is rendered with.
    const RenderAssets& assets() const { return assets_; }
    int workers() const { return workers_; }
    int64_t budget() const { return budget_; }
    // As many as the machine has cores, at most 8.
    static int defaultWorkers();

private:
    void startMore(std::unique_lock<std::mutex>& lock);
    int horizonEnd() const;
    bool admissible(int j) const;
    int pickNext(int end) const;
    void markStarted(int j);
    void render(int i);
    void finished(int i, RenderResult r);
    bool ready(int i);

    const QStringList paths_;
    const RenderSettings settings_;
    const RenderAssets assets_;
    const RenderFunction render_;
    StartWatcher watcher_;
    int workers_;
    const int64_t budget_;
    std::vector<bool> started_;  // started, or skipped over by the run
    std::vector<std::optional<RenderCost>> cost_;  // read from the headers of the horizon
    int lowest_ = 0;       // the first entry not started
    int highest_ = -1;     // the last entry started
    int running_ = 0;      // entries started and not yet rendered
    int wanted_ = -1;      // the entry asked for last; those below it are never taken
    bool stopStarting_ = false;  // nothing after `wanted_` starts
    int64_t inUse_ = 0;    // estimated bytes held by the entries started and not yet taken
    std::map<int, RenderCost> held_;  // what each of those holds
    std::atomic<bool> cancelled_{false};
    std::mutex mutex_;
    std::condition_variable doneCv_;
    std::map<int, RenderResult> done_;
    QObject notifier_;  // lives on the taking thread: finished renders wake it through its queue
    QEventLoop* waiting_ = nullptr;
    QThreadPool pool_;
};
