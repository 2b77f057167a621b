#pragma once

#include <QEventLoop>
#include <QObject>
#include <QStringList>
#include <QThreadPool>
#include <atomic>
#include <condition_variable>
#include <map>
#include <mutex>

#include "processing/RenderPicture.h"

// Renders the pictures of a run on worker threads, a few ahead of the one the
// run is saving, and hands the results back in list order on the thread that
// made the queue. Settings and prepared assets are fixed when it is made.
// At most workers + 1 pictures are rendered or waiting at any time, so memory
// stays bounded whatever the length of the list.
class RenderQueue {
public:
    // `workers` 0 takes the default.
    RenderQueue(QStringList paths, RenderSettings settings, int workers);
    // Drops what has not started and waits for what is being rendered.
    ~RenderQueue();
    RenderQueue(const RenderQueue&) = delete;
    RenderQueue& operator=(const RenderQueue&) = delete;

    // The result of entry `i`; entries are taken in increasing order. While it
    // is not ready the calling thread's event loop runs, so a window stays alive.
    RenderResult take(int i);

    int workers() const { return workers_; }
    // As many as the machine has cores, at most 8.
    static int defaultWorkers();

private:
    void submitUpTo(int end);
    void render(int i);
    bool ready(int i);

    const QStringList paths_;
    const RenderSettings settings_;
    const RenderAssets assets_;
    int workers_;
    int submitted_ = 0;
    std::atomic<bool> cancelled_{false};
    std::mutex mutex_;
    std::condition_variable doneCv_;
    std::map<int, RenderResult> done_;
    QObject notifier_;  // lives on the taking thread: finished renders wake it through its queue
    QEventLoop* waiting_ = nullptr;
    QThreadPool pool_;
};
