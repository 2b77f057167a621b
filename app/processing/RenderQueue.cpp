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

bool RenderQueue::mayStartNext() const
{
    return started_ < paths_.size() && !cancelled_ && running_ < workers_ && !(stopStarting_ && started_ > wanted_);
}

// Starts entries in list order while a worker is free and the budget allows;
// an entry that does not fit waits for memory to come back, and the ones
// after it wait with it, so a large picture is never passed over for ever.
// Starting in order is also what keeps the run from locking up: the entry to
// be taken next has started before any result behind it was made, so the
// results the budget holds never keep it waiting; and once everything before
// an entry is taken the budget holds nothing, so it starts, alone if need be.
void RenderQueue::startMore(std::unique_lock<std::mutex>& lock)
{
    while (mayStartNext()) {
        const int i = started_;
        if (nextCostFor_ != i) {
            // Reading the header may take a moment: the workers need not wait for it.
            lock.unlock();
            const RenderCost cost = estimateRenderCost(paths_[i], settings_, assets_);
            lock.lock();
            if (started_ == i) {
                nextCost_ = cost;
                nextCostFor_ = i;
            }
            continue;  // workers, budget and entries may have moved meanwhile
        }
        if (inUse_ > 0 && inUse_ + nextCost_.peak > budget_)
            return;
        if (watcher_)
            watcher_(i, nextCost_, inUse_);
        inUse_ += nextCost_.peak;
        held_[i] = nextCost_;
        ++started_;
        ++running_;
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
    finished(i, std::move(r));
    doneCv_.notify_all();
    QMetaObject::invokeMethod(&notifier_, [this] {
        if (waiting_)
            waiting_->quit();
    }, Qt::QueuedConnection);
}

// What the rendering held beyond its result comes back now; the result holds
// what it was estimated at, or what it really takes when that is more. A
// result skipped over is never taken: all of it comes back.
void RenderQueue::finished(int i, RenderResult r)
{
    std::unique_lock lock(mutex_);
    --running_;
    RenderCost& held = held_[i];
    if (i < wanted_) {
        inUse_ -= held.peak;
        held_.erase(i);
    } else {
        held.result = std::max(held.result, int64_t(r.picture.sizeInBytes() + r.encoded.bytes.size()));
        inUse_ -= held.peak - held.result;
        held.peak = held.result;
        done_[i] = std::move(r);
    }
    startMore(lock);
}

bool RenderQueue::ready(int i)
{
    const std::lock_guard lock(mutex_);
    return done_.count(i) != 0;
}

void RenderQueue::stopStarting()
{
    const std::lock_guard lock(mutex_);
    stopStarting_ = true;
}

RenderResult RenderQueue::take(int i)
{
    if (i < 0 || i >= paths_.size())
        return {};
    {
        std::unique_lock lock(mutex_);
        if (i <= wanted_)  // taken or skipped over before
            return {};
        wanted_ = i;
        // Entries skipped over are never taken: those not started never
        // start, and the memory of those rendered comes back now.
        started_ = std::max(started_, i);
        for (auto it = done_.begin(); it != done_.end() && it->first < i;) {
            inUse_ -= held_[it->first].peak;
            held_.erase(it->first);
            it = done_.erase(it);
        }
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
        startMore(lock);
    }
    return r;
}
