#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>

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

// Pictures start only while the estimated memory of those in flight fits the
// budget; one larger than the whole budget runs alone, and the run finishes.
TEST(RenderQueue, PicturesInFlightStayWithinTheBudget)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    TempDir dir;
    const std::string small = dir.file("small.png"), big = dir.file("big.png");
    ASSERT_EQ(runTool({"convert", "-size", "2000x1500", "xc:#406080", small}).exitCode, 0);
    ASSERT_EQ(runTool({"convert", "-size", "6000x4500", "xc:#406080", big}).exitCode, 0);
    const RenderSettings settings = widthLimit(800);
    const RenderAssets assets = prepareAssets(settings);
    const int64_t smallCost = estimateRenderCost(QString::fromStdString(small), settings, assets).peak;
    const int64_t bigCost = estimateRenderCost(QString::fromStdString(big), settings, assets).peak;
    ASSERT_GT(smallCost, int64_t(12) << 20) << "a 2000 x 1500 picture is decoded whole";
    ASSERT_GT(bigCost, 5 * smallCost);

    struct Case { const char* what; double budgetInSmall; int mostAtOnce; };
    const Case cases[] = {
        {"room for one", 1.5, 1},
        {"room for three", 3.5, 3},
        {"the large one exceeds the budget", 4.5, 4},
    };
    for (const Case& c : cases) {
        const int64_t budget = int64_t(double(smallCost) * c.budgetInSmall);
        std::mutex mutex;
        std::condition_variable cv;
        int inFlight = 0, most = 0;
        int64_t held = 0;
        bool overBudget = false, bigBesideOthers = false;
        auto render = [&](const QString& path, const RenderSettings&, const RenderAssets&) {
            const bool isBig = path.endsWith(u"big.png");
            const int64_t cost = isBig ? bigCost : smallCost;
            std::unique_lock lock(mutex);
            ++inFlight;
            held += cost;
            most = std::max(most, inFlight);
            overBudget |= inFlight > 1 && held > budget;
            bigBesideOthers |= inFlight > 1 && (isBig || held > budget);
            cv.notify_all();
            // Gives the queue the chance to start as many as it allows; the
            // bound only keeps a wrong count from waiting for ever.
            cv.wait_for(lock, std::chrono::milliseconds(isBig ? 0 : 2000),
                        [&] { return inFlight >= c.mostAtOnce; });
            // A start the budget forbids would show within this moment.
            cv.wait_for(lock, std::chrono::milliseconds(20), [] { return false; });
            --inFlight;
            held -= cost;
            RenderResult r;
            r.picture = tiny();
            return r;
        };
        QStringList paths;
        for (int i = 0; i < 12; ++i)
            paths << QString::fromStdString(i == 6 ? big : small);
        Watchdog watchdog;
        RenderQueue queue(paths, settings, 4, render, budget);
        for (int i = 0; i < paths.size(); ++i)
            EXPECT_FALSE(queue.take(i).picture.isNull()) << c.what << " " << i;
        EXPECT_EQ(most, c.mostAtOnce) << c.what;
        EXPECT_FALSE(overBudget) << c.what;
        EXPECT_FALSE(bigBesideOthers) << c.what;
    }
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
