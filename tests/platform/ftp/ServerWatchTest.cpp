// The watch's limits walked on a clock of the test's own: each holds up to
// its edge and is past it a millisecond later.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <vector>

#include "platform/ftp/ServerWatch.h"

namespace {

using Clock = ServerWatch::Clock;
using std::chrono::milliseconds;

constexpr std::int64_t kSize = 300 * 4096;  // 1.2 MB, 300 s at 4 KB/s

struct Walk {
    Clock::time_point t{};  // the test's clock: the put begins at 0
    ServerWatch watch;

    explicit Walk(FtpTimeouts limits = {}, std::int64_t size = kSize) : watch(limits, size, [this] { return t; }) {}

    void at(double seconds) { t = Clock::time_point{} + milliseconds(std::llround(seconds * 1000)); }
    void asked(double when, const char* command)
    {
        at(when);
        watch.asked(command);
    }
    void heard(double when, const char* line)
    {
        at(when);
        watch.heard(line);
    }
    void login(double when)
    {
        heard(when, "220 ready\r\n");
        asked(when, "USER u\r\n");
        heard(when, "331 send the password\r\n");
        asked(when, "PASS p\r\n");
        heard(when, "230 in\r\n");
    }
    void startData(double when)
    {
        login(when);
        asked(when, "STOR a.jpg\r\n");
        heard(when, "150 go ahead\r\n");
    }
    bool overdueAt(double when, std::int64_t handed = 0, DataSight data = {})
    {
        at(when);
        return watch.overdue(handed, data);
    }
    // Holds at `edge` seconds, gone a millisecond later.
    void expectEdge(double edge, std::int64_t handed = 0, DataSight data = {})
    {
        EXPECT_FALSE(overdueAt(edge, handed, data)) << "at " << edge << " s";
        EXPECT_TRUE(overdueAt(edge + 0.001, handed, data)) << "just after " << edge << " s";
    }
};

DataSight acknowledged(std::int64_t queued, std::int64_t window = 0, bool closed = false)
{
    DataSight d;
    d.queued = queued;
    d.window = window;
    d.closed = closed;
    return d;
}

} // namespace

TEST(ServerWatch, TheLoginHasTenSecondsAndAnySuccessToItLetsTheUserIn)
{
    const struct {
        const char* what;
        std::vector<std::pair<const char*, const char*>> talk;  // question (or none), then the reply
        bool in;
    } cases[] = {
        {"230 to PASS", {{"USER u\r\n", "331 password\r\n"}, {"PASS p\r\n", "230 in\r\n"}}, true},
        {"202 to PASS", {{"USER u\r\n", "331 password\r\n"}, {"PASS p\r\n", "202 no password needed\r\n"}}, true},
        {"230 to USER", {{"USER u\r\n", "230 in\r\n"}}, true},
        {"230 to ACCT", {{"USER u\r\n", "331 password\r\n"}, {"PASS p\r\n", "332 account\r\n"}, {"ACCT a\r\n", "230 in\r\n"}},
         true},
        {"only the greeting", {}, false},
        {"530 to PASS", {{"USER u\r\n", "331 password\r\n"}, {"PASS p\r\n", "530 no\r\n"}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Walk w;
        w.heard(1, "220 ready\r\n");
        for (const auto& [question, reply] : c.talk) {
            w.asked(2, question);
            w.heard(3, reply);
        }
        EXPECT_EQ(w.watch.loggedIn(), c.in);
        if (c.in) {
            EXPECT_FALSE(w.overdueAt(10.001)) << "logged in: the login limit is over";
            w.expectEdge(3 + 20);  // the next answer's limit, from the last reply
        } else {
            w.expectEdge(10);
        }
    }
}

TEST(ServerWatch, EveryAnswerHasTwentySecondsFromItsQuestion)
{
    Walk w;
    w.login(1);
    w.asked(5, "CWD pics\r\n");
    w.heard(15, "250-changing\r\n");  // part of a reply answers nothing
    w.expectEdge(25);
    w.heard(25, "250 done\r\n");
    w.asked(30, "STOR a.jpg\r\n");
    w.expectEdge(50);
}

// During the data the server may go 40 s without taking a byte beyond the
// time it needs to read, at 4 KB/s, what it may hold unread: a system whose
// buffer is full keeps its window shut until its program has read a large
// share of it. It holds at most its widest window and at most what it took.
TEST(ServerWatch, DuringTheDataTheServerMayGoFortySecondsWithoutTakingAByteBeyondReadingWhatItHolds)
{
    const struct {
        const char* what;
        std::int64_t window;  // the widest it advertised
        double edge;
    } cases[] = {
        {"a window of 256 KB, shut since 400 KB were taken", 64 * 4096, 60 + 40 + 64},
        {"a window wider than what it took", 4 << 20, 60 + 40 + 400000.0 / 4096},
        {"no window known: what it took", 0, 60 + 40 + 400000.0 / 4096},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Walk w;
        w.startData(0);
        EXPECT_FALSE(w.overdueAt(30, 600000, acknowledged(500000, c.window)));  // took 100 KB
        EXPECT_FALSE(w.overdueAt(60, 900000, acknowledged(500000, c.window)));  // took 400 KB
        // Handing more over is not taking: only what it acknowledges counts.
        w.expectEdge(c.edge, kSize, acknowledged(kSize - 400000, 0));
    }
}

TEST(ServerWatch, OnceTheServerClosedItsEndItsAnswerHasAHundredAndTwentySeconds)
{
    Walk w;
    w.startData(0);
    EXPECT_FALSE(w.overdueAt(10, kSize, acknowledged(kSize)));
    EXPECT_FALSE(w.overdueAt(20, kSize, acknowledged(1)));  // all but the end-of-file mark
    EXPECT_FALSE(w.overdueAt(30, kSize, acknowledged(0, 65536, true)));
    w.expectEdge(30 + 120, kSize, acknowledged(0, 65536, true));
    w.heard(149, "226 stored\r\n");
    w.expectEdge(149 + 20);  // after the data, the answer limit again
}

// What the server's system acknowledged may wait in its buffer until its
// program reads it, unseen: the answer limit begins once it had time to read
// that at the slowest rate allowed, or 40 s after its window last opened.
TEST(ServerWatch, AServerStillReadingWhatItsSystemTookIsNotStalled)
{
    const double unreadAt4K = 300;  // its window is wider than the file
    const struct {
        const char* what;
        std::int64_t window;
        std::vector<std::pair<double, std::int64_t>> reopened;  // when its window opened, to what
        double edge;
    } cases[] = {
        {"a window wider than the file, never reopening", 4 << 20, {}, 10 + unreadAt4K + 120},
        {"a window of 64 KB: no more unread", 65536, {}, 10 + 65536.0 / 4096 + 120},
        {"a window reopening past the reading time", 4 << 20, {{200, 4 << 20}, {280, (4 << 20) + 4096}, {350, (4 << 20) + 8192}},
         350 + 40 + 120},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Walk w;
        w.startData(0);
        EXPECT_FALSE(w.overdueAt(10, kSize, acknowledged(0, c.window)));
        for (const auto& [when, window] : c.reopened)
            EXPECT_FALSE(w.overdueAt(when, kSize, acknowledged(0, window)));
        const std::int64_t last = c.reopened.empty() ? c.window : c.reopened.back().second;
        w.expectEdge(c.edge, kSize, acknowledged(0, last));
    }
}

// Where the system cannot say what the connection holds, what was handed
// over may all still wait in the buffers: the limits allow for the server
// taking it at the slowest rate, and passing them marks no server stalled.
TEST(ServerWatch, WhereTheSystemCannotTellNoGuessCountsAsTaken)
{
    DataSight unknown;
    unknown.queued.reset();
    unknown.window = 65536;
    unknown.buffers = 50 * 4096;  // the two ends hold at most this much
    {
        SCOPED_TRACE("while handing over");
        Walk w;
        w.startData(0);
        EXPECT_FALSE(w.overdueAt(5, 40960, unknown));
        w.expectEdge(5 + 40 + 10, 40960, unknown);
        EXPECT_TRUE(w.watch.guessed());
    }
    {
        SCOPED_TRACE("everything handed over");
        Walk w;
        w.startData(0);
        EXPECT_FALSE(w.overdueAt(5, kSize, unknown));
        w.expectEdge(5 + 50 + 120, kSize, unknown);
        EXPECT_TRUE(w.watch.guessed());
    }
    {
        SCOPED_TRACE("the system tells: a server past the limit has stalled");
        Walk w;
        w.startData(0);
        w.expectEdge(40, 100000, acknowledged(100000));
        EXPECT_FALSE(w.watch.guessed());
    }
}

// Once QUIT is asked the put's outcome is known: only QUIT's own short
// limit holds, whatever limit the server was past before.
TEST(ServerWatch, QuitHasFiveSecondsWhateverCameBefore)
{
    const struct {
        const char* what;
        double quitAt;
        bool gaveUp;  // the server was past a limit when QUIT was asked
    } cases[] = {
        {"after an answered transfer", 30, false},
        {"after a transfer given up", 200, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Walk w;
        w.startData(0);
        EXPECT_FALSE(w.overdueAt(10, kSize, acknowledged(0, 65536, true)));
        if (!c.gaveUp)
            w.heard(20, "226 stored\r\n");
        EXPECT_EQ(w.overdueAt(c.quitAt, kSize, acknowledged(0, 65536, true)), c.gaveUp);
        w.asked(c.quitAt, "QUIT\r\n");
        EXPECT_TRUE(w.watch.leaving());
        w.expectEdge(c.quitAt + 5);
    }
    {
        SCOPED_TRACE("a limit passed on a guess stays a guess");
        DataSight unknown;
        unknown.queued.reset();
        Walk w;
        w.startData(0);
        EXPECT_FALSE(w.overdueAt(1, 4096, unknown));
        EXPECT_TRUE(w.overdueAt(1000, 4096, unknown));
        EXPECT_TRUE(w.watch.guessed());
        w.asked(1000, "QUIT\r\n");
        EXPECT_TRUE(w.overdueAt(1006));
        EXPECT_TRUE(w.watch.guessed());
    }
}

// What the answers after the data tell: a success to the data, then the
// size a 213 reply to SIZE gives; anything else tells no size.
TEST(ServerWatch, TheSizeIsWhatA213ReplyToSizeSays)
{
    const struct {
        const char* reply;
        std::optional<std::int64_t> size;
    } cases[] = {
        {"213 1228800\r\n", 1228800},
        {"213 0\r\n", 0},
        {"213 12ab\r\n", std::nullopt},
        {"213 \r\n", std::nullopt},
        {"213 99999999999999999999\r\n", std::nullopt},
        {"550 not allowed\r\n", std::nullopt},
        {"502 unknown command\r\n", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        Walk w;
        w.startData(0);
        EXPECT_FALSE(w.watch.stored());
        w.heard(5, "226 stored\r\n");
        EXPECT_TRUE(w.watch.stored());
        w.asked(5, "SIZE a.jpg\r\n");
        w.heard(6, c.reply);
        EXPECT_EQ(w.watch.toldSize(), c.size);
    }
    Walk refused;
    refused.startData(0);
    refused.heard(5, "451 could not write\r\n");
    EXPECT_FALSE(refused.watch.stored());
}

// Only the socket opened after a question for a passive port is the data
// connection's: a control connection opened anew is not.
TEST(ServerWatch, OnlyAPassivePortOpensTheData)
{
    Walk w;
    w.login(0);
    EXPECT_FALSE(w.watch.openingData());
    w.asked(1, "EPSV\r\n");
    EXPECT_TRUE(w.watch.openingData());
    w.heard(1, "229 Entering extended passive mode (|||5000|)\r\n");
    EXPECT_TRUE(w.watch.openingData()) << "the data connection is opened after the answer";
    w.asked(1, "TYPE I\r\n");
    EXPECT_FALSE(w.watch.openingData());
}
