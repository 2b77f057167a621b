#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <cstdio>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "TempDir.h"
#include "ToolRunner.h"
#include "processing/RenderCost.h"
#include "processing/RenderQueue.h"
#include "state/AppState.h"

namespace {

// Ends the process when a run has not finished within two minutes: only
// catches a hang, never times a test.
class Watchdog {
public:
    Watchdog()
        : thread_([this] {
              std::unique_lock lock(mutex_);
              if (!cv_.wait_for(lock, std::chrono::minutes(2), [this] { return done_; })) {
                  std::fputs("the queue did not finish within two minutes\n", stderr);
                  std::_Exit(3);
              }
          })
    {
    }
    ~Watchdog()
    {
        {
            const std::lock_guard lock(mutex_);
            done_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool done_ = false;
    std::thread thread_;
};

RenderSettings widthLimit(int width)
{
    AppState st;
    st.ps.iSizeMode = 0;
    st.panel.txtW = QString::number(width);
    return snapshotSettings(st);
}

QImage tiny()
{
    QImage img(4, 4, QImage::Format_RGB888);
    img.fill(Qt::gray);
    return img;
}

} // namespace

TEST(RenderQueue, AFailingRenderIsThatPicturesErrorAlone)
{
    const QStringList paths{"/pictures/a.jpg", "/pictures/b.jpg", "/pictures/c.jpg", "/pictures/d.jpg"};
    auto render = [](const QString& path, const RenderSettings&, const RenderAssets&) -> RenderResult {
        if (path.endsWith(u"b.jpg"))
            throw std::runtime_error("disk gone");
        if (path.endsWith(u"c.jpg"))
            throw std::bad_alloc();
        if (path.endsWith(u"d.jpg"))
            throw 42;
        RenderResult r;
        r.picture = tiny();
        return r;
    };
    Watchdog watchdog;
    RenderQueue queue(paths, widthLimit(100), 2, render, int64_t(1) << 30);
    struct Case { int index; bool picture; const char* line; };
    const Case cases[] = {
        {0, true, nullptr},
        {1, false, "/pictures/b.jpg在处理图片时发生错误:(0)disk gone。\r\n"},
        {2, false, "/pictures/c.jpg在处理图片时发生错误:(7)内存不足。\r\n"},
        {3, false, "/pictures/d.jpg在处理图片时发生错误:(0)未知错误。\r\n"},
    };
    for (const Case& c : cases) {
        const RenderResult r = queue.take(c.index);
        EXPECT_EQ(!r.picture.isNull(), c.picture) << c.index;
        if (c.line) {
            ASSERT_EQ(r.errors.size(), 1) << c.index;
            EXPECT_EQ(r.errors[0].toStdString(), c.line);
        } else {
            EXPECT_TRUE(r.errors.isEmpty()) << c.index;
        }
    }
}

// A run that goes straight to a later entry never renders the ones it
// skipped, and asking again for an entry it has passed gives nothing.
TEST(RenderQueue, SkippedEntriesAreNeverRendered)
{
    const QStringList paths{"/pictures/a.jpg", "/pictures/b.jpg", "/pictures/c.jpg", "/pictures/d.jpg"};
    std::mutex mutex;
    QStringList rendered;
    auto render = [&](const QString& path, const RenderSettings&, const RenderAssets&) {
        const std::lock_guard lock(mutex);
        rendered << path;
        RenderResult r;
        r.picture = tiny();
        return r;
    };
    Watchdog watchdog;
    {
        RenderQueue queue(paths, widthLimit(100), 1, render, int64_t(1) << 30);
        EXPECT_FALSE(queue.take(2).picture.isNull());
        EXPECT_TRUE(queue.take(1).picture.isNull()) << "skipped over";
        EXPECT_TRUE(queue.take(2).picture.isNull()) << "taken before";
        EXPECT_FALSE(queue.take(3).picture.isNull());
    }
    EXPECT_EQ(rendered, (QStringList{"/pictures/c.jpg", "/pictures/d.jpg"}));
}

namespace {

// How the renders of a budget case end.
enum class Finish {
    // Each render holds on until its entry is taken, so everything started
    // stays in flight at its peak.
    WhenTaken,
    // Entry 0 holds on until entries 1 to workers are done; entries 1 to
    // workers - 1 each end once the next one has started, the rest at once.
    // So the first starts each come after one render is done and before the
    // next, while finished pictures wait to be taken holding their results.
    OneAfterAnother,
    // Entry 0 holds on until the others have rendered as far as the budget
    // lets them: every other started entry is done and the next would not
    // fit beside what is held (or none is left). The rest end at once.
    HeadLast,
    // Entry 0 holds on until entry 2 * workers has started, then stops the
    // queue and waits for the entries started to be done. Entries below
    // 2 * workers end at once, the others once the queue was stopped.
    HeadStops,
};

// Follows a queue's starts against what its renders are known to hold, and
// drives the renders as `Finish` says. Every start is checked as the queue
// makes it, under its lock, so a start the budget forbids cannot slip by.
class BudgetWatch {
public:
    BudgetWatch(QStringList paths, std::vector<RenderCost> costs, int workers, int64_t budget, Finish finish)
        : paths_(std::move(paths)), costs_(std::move(costs)), workers_(workers), budget_(budget),
          finish_(finish), started_(costs_.size(), false), done_(costs_.size(), false)
    {
    }

    // What stops the queue (HeadStops).
    std::function<void()> stopQueue;

    RenderResult render(const QString& path)
    {
        const int i = int(paths_.indexOf(path));
        std::unique_lock lock(mutex_);
        if (i == 0 && (finish_ == Finish::HeadLast || finish_ == Finish::HeadStops)) {
            // Bounded only so that a queue whose workers stay idle fails
            // instead of hanging; with room in the budget they never should.
            if (!cv_.wait_for(lock, std::chrono::seconds(10), [&] { return mayFinish(i); }))
                faults_ << QStringLiteral("the workers went idle while entry 0 rendered, %1 entries started, "
                                          "with room in the budget").arg(startedCount());
            if (finish_ == Finish::HeadStops) {
                lock.unlock();
                stopQueue();
                lock.lock();
                stoppedAt_ = startedCount();
                cv_.notify_all();
                cv_.wait(lock, [&] { return allStartedDone(); });
            }
        } else {
            cv_.wait(lock, [&] { return mayFinish(i); });
        }
        if (i == 0)
            doneBeforeHead_ = int(std::count(done_.begin() + 1, done_.end(), true));
        done_[i] = true;
        cv_.notify_all();
        // The picture's width tells which entry it was made for.
        RenderResult r;
        r.picture = QImage(i + 1, 1, QImage::Format_RGB888);
        return r;
    }

    void started(int i, const RenderCost& cost, int64_t heldBefore)
    {
        const std::lock_guard lock(mutex_);
        const QString at = QStringLiteral("entry %1: ").arg(i);
        if (started_[i])
            faults_ << at + "started twice";
        if (cost.peak != costs_[i].peak)
            faults_ << at + QStringLiteral("charged %1 bytes, not %2").arg(cost.peak).arg(costs_[i].peak);
        const auto [least, most] = heldNow();
        if (heldBefore < least || heldBefore > most)
            faults_ << at + QStringLiteral("the queue counts %1 bytes in flight, not %2 to %3")
                                .arg(heldBefore).arg(least).arg(most);
        if (heldBefore > 0 && heldBefore + cost.peak > budget_)
            faults_ << at + QStringLiteral("started beside %1 bytes in flight, over the budget of %2")
                                .arg(heldBefore).arg(budget_);
        int rendering = 0;
        for (size_t k = 0; k < started_.size(); ++k)
            rendering += started_[k] && !done_[k];
        if (rendering >= workers_)
            faults_ << at + QStringLiteral("started beside %1 renders, with %2 workers").arg(rendering).arg(workers_);
        if (stoppedAt_ >= 0)
            faults_ << at + QStringLiteral("started after the queue was stopped");
        started_[i] = true;
        startOrder_.push_back(i);
        cv_.notify_all();
    }

    // Takes every entry in order, noting after each take (when the queue has
    // started all it can) how many entries are started and not taken.
    void takeAll(RenderQueue& queue)
    {
        for (int i = 0; i < int(paths_.size()); ++i) {
            {
                const std::lock_guard lock(mutex_);
                taking_ = i;
            }
            cv_.notify_all();
            EXPECT_EQ(queue.take(i).picture.width(), i + 1) << "entry " << i << " handed back in its place";
            const std::lock_guard lock(mutex_);
            taken_ = i + 1;
            afterTake_.push_back(int(std::count(started_.begin() + taken_, started_.end(), true)));
        }
    }

    // Takes entry 0 only, as a run does that is stopped while it waits for it.
    void takeHead(RenderQueue& queue)
    {
        {
            const std::lock_guard lock(mutex_);
            taking_ = 0;
        }
        cv_.notify_all();
        EXPECT_EQ(queue.take(0).picture.width(), 1);
        const std::lock_guard lock(mutex_);
        taken_ = 1;
    }

    QStringList faults() const { return faults_; }
    // Entries rendered before entry 0 was (HeadLast, HeadStops).
    int doneBeforeHead() const { return doneBeforeHead_; }
    // Entries started when the queue was stopped (HeadStops).
    int startedAtStop() const { return stoppedAt_; }
    // Entries started and not taken after each take.
    std::vector<int> inFlightAfterTakes() const { return afterTake_; }
    int startedCount() const { return int(std::count(started_.begin(), started_.end(), true)); }
    std::vector<int> startOrder() const { return startOrder_; }

private:
    bool mayFinish(int i) const
    {
        if (finish_ == Finish::WhenTaken)
            return taking_ >= i;
        if (finish_ == Finish::HeadLast)
            return i > 0 || headMayFinish();
        if (finish_ == Finish::HeadStops) {
            if (i == 0)
                return started_[size_t(2 * workers_)];
            return i < 2 * workers_ || stoppedAt_ >= 0;
        }
        if (i == 0)
            return std::all_of(done_.begin() + 1, done_.begin() + workers_ + 1, [](bool d) { return d; });
        if (i < workers_)
            return started_[i + 1];
        return true;
    }

    bool allStartedDone() const
    {
        for (size_t k = 1; k < started_.size(); ++k)
            if (started_[k] && !done_[k])
                return false;
        return true;
    }

    // Nothing more can start beside entry 0: every other started entry is
    // done and the next does not fit beside entry 0 and the results held.
    bool headMayFinish() const
    {
        if (!allStartedDone())
            return false;
        const auto next = std::find(started_.begin() + 1, started_.end(), false);
        if (next == started_.end())
            return true;
        int64_t held = costs_[0].peak;
        for (size_t k = 1; k < started_.size(); ++k)
            held += started_[k] ? costs_[k].result : 0;
        return held + costs_[size_t(next - started_.begin())].peak > budget_;
    }

    // What the queue must be holding now: an entry holds its peak while it
    // renders and at least its result once done, until it is asked for; then
    // it may be given back, and once taken it holds nothing.
    std::pair<int64_t, int64_t> heldNow() const
    {
        int64_t least = 0, most = 0;
        for (int k = taken_; k < int(costs_.size()); ++k) {
            if (!started_[k])
                continue;
            most += costs_[k].peak;
            if (!done_[k])
                least += costs_[k].peak;
            else if (k > taking_)
                least += costs_[k].result;
        }
        return {least, most};
    }

    const QStringList paths_;
    const std::vector<RenderCost> costs_;
    const int workers_;
    const int64_t budget_;
    const Finish finish_;
    std::mutex mutex_;
    std::condition_variable cv_;
    int taking_ = -1;  // the entry last asked for
    int taken_ = 0;    // entries below it have been handed back
    std::vector<bool> started_, done_;
    std::vector<int> startOrder_;
    int stoppedAt_ = -1;
    int doneBeforeHead_ = 0;
    QStringList faults_;
    std::vector<int> afterTake_;
};

} // namespace

namespace {

// Entries of two sizes drawn 800 wide, with their estimated costs: small
// (2000 x 1500) and big (6000 x 4500) pictures. Each entry has a file of its
// own, so a render knows which entry it is.
class RenderQueueBudget : public ::testing::Test {
protected:
    static constexpr int kEntries = 12, kWorkers = 4;

    void SetUp() override
    {
        ASSERT_TRUE(toolsInstalled({"convert"}));
        ASSERT_EQ(runTool({"convert", "-size", "2000x1500", "xc:#406080", small_}).exitCode, 0);
        ASSERT_EQ(runTool({"convert", "-size", "6000x4500", "xc:#406080", big_}).exitCode, 0);
        const RenderAssets assets = prepareAssets(settings);
        smallCost = estimateRenderCost(QString::fromStdString(small_), settings, assets);
        bigCost = estimateRenderCost(QString::fromStdString(big_), settings, assets);
        ASSERT_GT(smallCost.peak, int64_t(12) << 20) << "a 2000 x 1500 picture is decoded whole";
        ASSERT_GT(bigCost.peak, 5 * smallCost.peak);
        ASSERT_LT(smallCost.result, smallCost.peak / 8) << "an 800 wide result is small beside its source";
    }

    // kEntries small pictures, entry `big` the big one (-1: none).
    void makeEntries(int big)
    {
        for (int i = 0; i < kEntries; ++i) {
            const std::string path = dir_.file("entry" + std::to_string(i) + ".png");
            ASSERT_TRUE(QFile::copy(QString::fromStdString(i == big ? big_ : small_), QString::fromStdString(path)));
            paths << QString::fromStdString(path);
            costs.push_back(i == big ? bigCost : smallCost);
        }
    }

    // A budget with room for `pictures` small pictures rendering beside `results` small results.
    int64_t room(double pictures, double results = 0) const
    {
        return int64_t(double(smallCost.peak) * pictures + double(smallCost.result) * results);
    }

    // Runs a queue over the entries whose renders `watch` drives; `drive`
    // takes from it.
    void run(BudgetWatch& watch, int64_t budget, const std::function<void(RenderQueue&)>& drive)
    {
        Watchdog watchdog;
        RenderQueue queue(paths, settings, kWorkers,
                          [&](const QString& path, const RenderSettings&, const RenderAssets&) {
                              return watch.render(path);
                          },
                          budget);
        queue.watchStarts([&](int i, const RenderCost& cost, int64_t held) { watch.started(i, cost, held); });
        watch.stopQueue = [&] { queue.stopStarting(); };
        drive(queue);
    }

    const RenderSettings settings = widthLimit(800);
    RenderCost smallCost, bigCost;
    QStringList paths;
    std::vector<RenderCost> costs;

private:
    TempDir dir_;
    const std::string small_ = dir_.file("small.png"), big_ = dir_.file("big.png");
};

} // namespace

// Pictures start only while the estimated memory of those in flight fits the
// budget, finished pictures count with their results; one larger than the
// whole budget runs alone, and the run finishes.
TEST_F(RenderQueueBudget, PicturesInFlightStayWithinTheBudget)
{
    constexpr int kBig = 6;
    makeEntries(kBig);
    struct Case { const char* what; double budgetInSmall; Finish finish; int leastAtOnce, mostAtOnce; };
    const Case cases[] = {
        {"room for one", 1.5, Finish::WhenTaken, 1, 1},
        {"room for three", 3.5, Finish::WhenTaken, 3, 3},
        {"room for four", 4.5, Finish::WhenTaken, 4, 4},
        {"room for five, four workers", 5.5, Finish::WhenTaken, 4, 4},
        // How far the others get while entry 0 is taken depends on the threads.
        {"room for three rendering, finished ones hold their results", 3.5, Finish::OneAfterAnother, kWorkers, kEntries - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BudgetWatch watch(paths, costs, kWorkers, room(c.budgetInSmall), c.finish);
        run(watch, room(c.budgetInSmall), [&](RenderQueue& queue) { watch.takeAll(queue); });
        const std::vector<int> inFlight = watch.inFlightAfterTakes();
        const int most = *std::max_element(inFlight.begin(), inFlight.end());
        EXPECT_GE(most, c.leastAtOnce);
        EXPECT_LE(most, c.mostAtOnce);
        EXPECT_TRUE(watch.faults().isEmpty()) << watch.faults().join(u'\n').toStdString();
        EXPECT_EQ(watch.startedCount(), kEntries);
        if (c.finish == Finish::WhenTaken) {
            EXPECT_EQ(inFlight[kBig - 1], 1)
                << "the large picture waits for the room and then runs alone";
        }
    }
}

// A slow picture holds no worker: while it renders, the pictures after it are
// rendered as far as the budget lets them, the finished ones holding their
// results, never over the budget, and the results still come in list order.
TEST_F(RenderQueueBudget, ASlowPictureHoldsNoWorkerWhileTheBudgetHasRoom)
{
    makeEntries(-1);
    struct Case { const char* what; int64_t budget; int ahead; };
    // Room for the slow picture and one more beside 7.5 results: only one
    // picture renders beside it at a time, and the ninth finds no room.
    ASSERT_GT(smallCost.peak, int64_t(7.5 * double(smallCost.result)));
    const Case cases[] = {
        {"room for all", room(20), kEntries - 1},
        {"the results fill the budget", room(2, 7.5), 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BudgetWatch watch(paths, costs, kWorkers, c.budget, Finish::HeadLast);
        run(watch, c.budget, [&](RenderQueue& queue) { watch.takeAll(queue); });
        EXPECT_TRUE(watch.faults().isEmpty()) << watch.faults().join(u'\n').toStdString();
        EXPECT_EQ(watch.doneBeforeHead(), c.ahead) << "rendered while the slow picture was";
        EXPECT_EQ(watch.startedCount(), kEntries);
    }
}

// The picture that costs most starts first, wherever it stands within the
// next entries, so it does not run on alone at the end of the run; results
// still come in list order.
TEST_F(RenderQueueBudget, TheCostliestPictureStartsFirst)
{
    constexpr int kBig = 9;
    makeEntries(kBig);
    const int64_t budget = room(20);
    ASSERT_GT(budget, bigCost.peak + 3 * smallCost.peak);
    BudgetWatch watch(paths, costs, kWorkers, budget, Finish::WhenTaken);
    run(watch, budget, [&](RenderQueue& queue) { watch.takeAll(queue); });
    EXPECT_TRUE(watch.faults().isEmpty()) << watch.faults().join(u'\n').toStdString();
    const std::vector<int> order = watch.startOrder();
    ASSERT_EQ(order.size(), size_t(kEntries));
    EXPECT_EQ(order[0], kBig);
    EXPECT_EQ(std::vector<int>(order.begin() + 1, order.begin() + kWorkers), (std::vector<int>{0, 1, 2}))
        << "the rest start in list order";
}

// The stop button while a slow picture renders: the workers, far ahead, start
// nothing more, and the slow picture is still handed back.
TEST_F(RenderQueueBudget, AStopStartsNothingMore)
{
    makeEntries(-1);
    BudgetWatch watch(paths, costs, kWorkers, room(20), Finish::HeadStops);
    run(watch, room(20), [&](RenderQueue& queue) { watch.takeHead(queue); });
    EXPECT_TRUE(watch.faults().isEmpty()) << watch.faults().join(u'\n').toStdString();
    EXPECT_GT(watch.startedAtStop(), 2 * kWorkers);
    EXPECT_EQ(watch.startedCount(), watch.startedAtStop());
    EXPECT_LT(watch.startedCount(), kEntries);
}

TEST(RenderQueue, BudgetComesFromTheMachinesMemory)
{
    const int64_t budget = defaultMemoryBudget();
    EXPECT_GT(budget, int64_t(64) << 20);
    long long totalKiB = 0;
    if (FILE* f = std::fopen("/proc/meminfo", "r")) {
        EXPECT_EQ(std::fscanf(f, "MemTotal: %lld kB", &totalKiB), 1);
        std::fclose(f);
    }
    EXPECT_LT(budget, totalKiB * 1024);
    RenderQueue queue({}, widthLimit(100), 1);
    EXPECT_GT(queue.budget(), budget / 2) << "a queue takes the machine's budget unless given one";
    EXPECT_LT(queue.budget(), budget * 2);
}
