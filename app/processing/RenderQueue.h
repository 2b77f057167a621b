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

#include "processing/RenderCost.h"
#include "processing/RenderPicture.h"

// Renders the pictures of a run on worker threads, a few ahead of the one the
// run is saving, and hands the results back in list order on the thread that
// made the queue. Settings and prepared assets are fixed when it is made.
// At most workers + 1 pictures are rendered or waiting at any time, and a
// picture starts only when the memory its rendering needs (worked out from
// its header) fits what the pictures in flight leave of the budget; one
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

    // The result of entry `i`; entries are taken in increasing order. While it
    // is not ready the calling thread's event loop runs, so a window stays alive.
    RenderResult take(int i);

    // The border, watermark and font every picture is rendered with.
    const RenderAssets& assets() const { return assets_; }
    int workers() const { return workers_; }
    int64_t budget() const { return budget_; }
    // As many as the machine has cores, at most 8.
    static int defaultWorkers();

private:
    void startMore(std::unique_lock<std::mutex>& lock);
    void render(int i);
    bool ready(int i);
    void release(int i);

    const QStringList paths_;
    const RenderSettings settings_;
    const RenderAssets assets_;
    const RenderFunction render_;
    StartWatcher watcher_;
    int workers_;
    const int64_t budget_;
    int started_ = 0;      // entries below it have been started
    int windowEnd_ = 0;    // entries below it may start
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
