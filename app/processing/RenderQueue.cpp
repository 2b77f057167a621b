#include "processing/RenderQueue.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <new>

#include "platform/imaging/DecodeMemory.h"
#include "processing/ErrorLines.h"
#include "processing/SourceFile.h"

RenderQueue::RenderQueue(QStringList paths, RenderSettings settings, int workers, RenderFunction render,
                         int64_t budget)
    : paths_(std::move(paths)), settings_(std::move(settings)), assets_(prepareAssets(settings_)),
      render_(render ? std::move(render)
                     : RenderFunction([](const QString& path, const RenderSettings& s, const RenderAssets& a) {
                           return renderPicture(path, s, a);
                       })),
      workers_(workers > 0 ? workers : defaultWorkers()), budget_(budget > 0 ? budget : defaultMemoryBudget())
{
    pool_.setMaxThreadCount(workers_);
}

RenderQueue::~RenderQueue()
{
    cancelled_ = true;
    pool_.clear();
    pool_.waitForDone();
}

int RenderQueue::defaultWorkers()
{
    return std::clamp(QThread::idealThreadCount(), 1, 8);
}

// Starts entries in list order while the window and the budget allow; an
// entry that does not fit waits for memory to come back, and the ones after
// it wait with it, so a large picture is never passed over for ever.
void RenderQueue::startMore(std::unique_lock<std::mutex>& lock)
{
    const int end = std::min<int>(windowEnd_, int(paths_.size()));
    while (started_ < end && !cancelled_) {
        const int i = started_;
        // Reading the header may take a moment: the workers need not wait for it.
        lock.unlock();
        const RenderCost cost = estimateRenderCost(paths_[i], settings_, assets_);
        lock.lock();
        if (started_ != i)  // another thread started it meanwhile
            continue;
        if (inUse_ > 0 && inUse_ + cost.peak > budget_)
            return;
        if (watcher_)
            watcher_(i, cost, inUse_);
        inUse_ += cost.peak;
        held_[i] = cost;
        ++started_;
        pool_.start([this, i] { render(i); });
    }
}

void RenderQueue::render(int i)
{
    // Each worker keeps its decode memory from picture to picture, a share
    // of the budget at most.
    imaging::keepDecodeMemory(std::min<int64_t>(int64_t(256) << 20, budget_ / (2 * workers_)));
    RenderResult r;
    // What cannot be opened (a FIFO would block the reader for ever) is
    // not rendered; the run logs why when it comes to that entry.
    if (!cancelled_ && unreadableSource(paths_[i]).isEmpty()) {
        QString problem;
        RunError kind = RunError::None;
        bool failed = true;
        try {
            r = render_(paths_[i], settings_, assets_);
            failed = false;
        } catch (const std::bad_alloc&) {
            kind = RunError::OutOfMemory;
        } catch (const std::exception& e) {
            problem = QString::fromLocal8Bit(e.what());
        } catch (...) {
            problem = QStringLiteral("未知错误");
        }
        // Nothing may leave a pool thread: a failure is that picture's alone.
        if (failed) {
            r = RenderResult{};
            r.errors << errorLine(paths_[i], QStringLiteral("在处理图片时发生错误:("), kind, problem);
        }
    }
    {
        std::unique_lock lock(mutex_);
        done_[i] = std::move(r);
        // What the rendering held beyond its result comes back now.
        RenderCost& held = held_[i];
        inUse_ -= held.peak - held.result;
        held.peak = held.result;
        startMore(lock);
    }
    doneCv_.notify_all();
    QMetaObject::invokeMethod(&notifier_, [this] {
        if (waiting_)
            waiting_->quit();
    }, Qt::QueuedConnection);
}

bool RenderQueue::ready(int i)
{
    const std::lock_guard lock(mutex_);
    return done_.count(i) != 0;
}

RenderResult RenderQueue::take(int i)
{
    if (i < 0 || i >= paths_.size())
        return {};
    {
        std::unique_lock lock(mutex_);
        // Results skipped over are never taken: their memory comes back now.
        for (auto it = done_.begin(); it != done_.end() && it->first < i;) {
            inUse_ -= held_[it->first].peak;
            held_.erase(it->first);
            it = done_.erase(it);
        }
        windowEnd_ = std::max(windowEnd_, i + workers_ + 1);
        startMore(lock);
    }
    bool eventLoop = QCoreApplication::instance() && notifier_.thread() == QThread::currentThread();
    while (!ready(i)) {
        if (eventLoop) {
            // A render that ends before exec() still wakes it: its call waits in our queue.
            QEventLoop loop;
            waiting_ = &loop;
            // Once the program is quitting, exec() returns at once: wait plainly then.
            eventLoop = loop.exec() == 0;
            waiting_ = nullptr;
        } else {
            std::unique_lock lock(mutex_);
            doneCv_.wait(lock, [&] { return done_.count(i) != 0; });
        }
    }
    RenderResult r;
    {
        std::unique_lock lock(mutex_);
        auto it = done_.find(i);
        r = std::move(it->second);
        done_.erase(it);
        inUse_ -= held_[i].peak;
        held_.erase(i);
        windowEnd_ = std::max(windowEnd_, i + workers_ + 2);
        startMore(lock);
    }
    return r;
}
