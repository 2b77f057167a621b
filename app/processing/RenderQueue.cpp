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
      workers_(workers > 0 ? workers : defaultWorkers()), budget_(budget > 0 ? budget : defaultMemoryBudget()),
      started_(size_t(paths_.size()), false), cost_(size_t(paths_.size()))
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

// Entries are chosen among the next few not started: enough to find the
// costly pictures a mixed folder holds, few enough that their headers are
// read in a moment.
int RenderQueue::horizonEnd() const
{
    int end = int(std::min<qsizetype>(paths_.size(), qsizetype(lowest_) + 8 * qsizetype(workers_)));
    return stopStarting_ ? std::min(end, wanted_ + 1) : end;
}

// Whether entry `j` may start beside what the budget holds now. The lowest
// entry not started fits, or runs alone; and once the run waits for it and
// nothing else renders it starts whatever results are held, so the run always
// goes on. An entry started past others holds its result until their turn:
// it must fit now, and what every entry started past them will hold must
// leave room for the largest of those passed over. So a passed-over entry
// always finds its memory once the results before it are taken, and nothing
// passes one larger than the budget, which runs alone.
bool RenderQueue::admissible(int j) const
{
    const RenderCost& c = *cost_[size_t(j)];
    const bool fits = inUse_ + c.peak <= budget_;
    if (j == lowest_)
        return fits || inUse_ == 0 || (j == wanted_ && running_ == 0);
    if (!fits)
        return false;
    int64_t ahead = c.result;
    for (const auto& [k, held] : held_)
        ahead += k > lowest_ ? held.result : 0;
    int64_t passed = 0;
    for (int v = lowest_; v <= std::max(highest_, j); ++v) {
        if (v == j || started_[size_t(v)])
            continue;
        if (!cost_[size_t(v)])  // not read yet: nothing passes it
            return false;
        passed = std::max(passed, cost_[size_t(v)]->peak);
    }
    return ahead + passed <= budget_;
}

// The costliest entry of the horizon that may start now (the earliest of
// equals), or -1. The pictures that take longest start first, so a large
// one late in the list does not run on alone at the end. When the entry the
// run waits for cannot start, nothing does: it gets the memory coming back.
int RenderQueue::pickNext(int end) const
{
    if (lowest_ == wanted_ && lowest_ < end && !admissible(lowest_))
        return -1;
    int best = -1;
    for (int k = lowest_; k < end; ++k) {
        if (started_[size_t(k)] || (best >= 0 && cost_[size_t(k)]->peak <= cost_[size_t(best)]->peak))
            continue;
        if (admissible(k))
            best = k;
    }
    return best;
}

// Starts entries while a worker is free and the budget allows. The headers
// of the horizon are read first, outside the lock: the workers need not wait
// for them.
void RenderQueue::startMore(std::unique_lock<std::mutex>& lock)
{
    while (!cancelled_ && running_ < workers_) {
        const int end = horizonEnd();
        int unknown = lowest_;
        while (unknown < end && (started_[size_t(unknown)] || cost_[size_t(unknown)]))
            ++unknown;
        if (unknown < end) {
            lock.unlock();
            const RenderCost cost = estimateRenderCost(paths_[unknown], settings_, assets_);
            lock.lock();
            if (!cost_[size_t(unknown)])
                cost_[size_t(unknown)] = cost;
            continue;  // workers, budget and entries may have moved meanwhile
        }
        const int j = pickNext(end);
        if (j < 0)
            return;
        const RenderCost cost = *cost_[size_t(j)];
        if (watcher_)
            watcher_(j, cost, inUse_);
        inUse_ += cost.peak;
        held_[j] = cost;
        markStarted(j);
        ++running_;
        pool_.start([this, j] { render(j); });
    }
}

void RenderQueue::markStarted(int j)
{
    started_[size_t(j)] = true;
    highest_ = std::max(highest_, j);
    while (lowest_ < int(started_.size()) && started_[size_t(lowest_)])
        ++lowest_;
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
        for (int k = lowest_; k < i; ++k)
            markStarted(k);
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
