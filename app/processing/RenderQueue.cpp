#include "processing/RenderQueue.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <new>

#include "processing/ErrorLines.h"
#include "processing/SourceFile.h"

RenderQueue::RenderQueue(QStringList paths, RenderSettings settings, int workers)
    : paths_(std::move(paths)), settings_(std::move(settings)), assets_(prepareAssets(settings_)),
      workers_(workers > 0 ? workers : defaultWorkers())
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

void RenderQueue::submitUpTo(int end)
{
    end = std::min<int>(end, int(paths_.size()));
    for (; submitted_ < end; ++submitted_) {
        const int i = submitted_;
        pool_.start([this, i] { render(i); });
    }
}

void RenderQueue::render(int i)
{
    RenderResult r;
    // What cannot be opened (a FIFO would block the reader for ever) is
    // not rendered; the run logs why when it comes to that entry.
    if (!cancelled_ && unreadableSource(paths_[i]).isEmpty()) {
        QString problem;
        RunError kind = RunError::None;
        bool failed = true;
        try {
            r = renderPicture(paths_[i], settings_, assets_);
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
        const std::lock_guard lock(mutex_);
        done_[i] = std::move(r);
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
    submitUpTo(i + workers_ + 1);
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
        const std::lock_guard lock(mutex_);
        auto it = done_.find(i);
        r = std::move(it->second);
        done_.erase(it);
    }
    submitUpTo(i + workers_ + 2);
    return r;
}
