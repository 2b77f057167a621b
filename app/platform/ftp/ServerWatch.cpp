#include "platform/ftp/ServerWatch.h"

#include <algorithm>
#include <cstdint>

namespace {

using std::chrono::seconds;

bool startsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}

// The commands of a login: a success to any of them lets the user in (230,
// or 202 when the server needs no password; USER may be answered 230 at once).
bool logsIn(std::string_view command)
{
    return startsWith(command, "USER ") || startsWith(command, "PASS ") || startsWith(command, "ACCT ");
}

// The number of a "213 N" reply; none when it holds anything else.
std::optional<std::int64_t> sizeIn(std::string_view line)
{
    std::int64_t n = 0;
    std::size_t i = 4;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
        if (n > (INT64_MAX - 9) / 10)
            return std::nullopt;
        n = n * 10 + (line[i] - '0');
    }
    const std::string_view rest = line.substr(std::min(i, line.size()));
    if (i == 4 || rest.find_first_not_of(" \r\n") != std::string_view::npos)
        return std::nullopt;
    return n;
}

} // namespace

ServerWatch::ServerWatch(const FtpTimeouts& limits, std::int64_t size, Now now)
    : limits_(limits), size_(size), now_(std::move(now)), start_(now_()), asking_(start_), lastTaken_(start_)
{
}

void ServerWatch::asked(std::string_view command)
{
    // libcurl asks again only once it holds the last reply as ended.
    replies_.restart();
    asking_ = now_();
    loggingIn_ = logsIn(command);
    storing_ = startsWith(command, "STOR ") || startsWith(command, "APPE ");
    openingData_ = startsWith(command, "EPSV") || startsWith(command, "PASV");
    sizing_ = startsWith(command, "SIZE ");
    leaving_ = leaving_ || startsWith(command, "QUIT");
}

void ServerWatch::heard(std::string_view line)
{
    const int code = replies_.take(line);
    if (!code)
        return;
    const Clock::time_point now = now_();
    asking_ = now;
    loggedIn_ = loggedIn_ || (loggingIn_ && code >= 200 && code < 300);
    if (sizing_ && code == 213)
        toldSize_ = sizeIn(line);
    sizing_ = false;
    // The data goes from STOR's preliminary answer until its final one.
    if (sending_) {
        sending_ = code < 200;
        stored_ = code >= 200 && code < 300;
        return;
    }
    sending_ = storing_ && (code == 125 || code == 150);
    storing_ = false;
    if (sending_) {
        taken_ = 0;
        lastTaken_ = now;
        allTaken_.reset();
        reopened_.reset();
        closed_.reset();
        window_ = widest_ = 0;
    }
}

bool ServerWatch::overdue(std::int64_t handed, const DataSight& data)
{
    const Clock::time_point now = now_();
    // QUIT's own limit leaves the verdict on the rest as it was.
    if (leaving_)
        return now - asking_ > seconds(limits_.quit);
    guessed_ = false;
    if (!loggedIn_ && now - start_ > seconds(limits_.connect))
        return true;
    if (!sending_)
        return now - asking_ > seconds(limits_.response);
    sawData(handed, data, now);
    const bool late = now > dataDeadline(data);
    guessed_ = late && guessing_;
    return late;
}

void ServerWatch::sawData(std::int64_t handed, const DataSight& data, Clock::time_point now)
{
    // Without the system's word, only what was handed over is known: the
    // limits below then allow for all of it still waiting in the buffers.
    guessing_ = !data.queued;
    const std::int64_t taken = guessing_ ? handed : std::max<std::int64_t>(0, handed - *data.queued);
    if (taken > taken_) {
        taken_ = taken;
        lastTaken_ = now;
    }
    // Once every byte is acknowledged, the server's program reading them
    // shows only as its window opening again.
    if (allTaken_ && window_ > 0 && data.window > window_)
        reopened_ = now;
    if (taken_ >= size_ && !allTaken_)
        allTaken_ = now;
    window_ = data.window;
    widest_ = std::max(widest_, data.window);
    if (data.closed && !closed_)
        closed_ = now;
}

ServerWatch::Clock::time_point ServerWatch::dataDeadline(const DataSight& data) const
{
    // A server whose buffer is full takes nothing more until its program has
    // read a large share of it: while it reads what it holds, nothing shows.
    if (!allTaken_)
        return lastTaken_ + seconds(limits_.stall) + readingAllowance(taken_, data);
    // A server that closed its end has read all it will.
    if (closed_)
        return *closed_ + seconds(limits_.lastAnswer);
    Clock::time_point readBy = *allTaken_ + readingAllowance(size_, data);
    if (reopened_)
        readBy = std::max(readBy, *reopened_ + seconds(limits_.stall));
    return readBy + seconds(limits_.lastAnswer);
}

// The reading allowance: the time a server reading at the slowest rate
// needs for what it may hold unread, which is at most what it took of
// `bytes` and at most its widest window (where the system cannot tell what
// it took, at most what the two ends hold). Its worst case is a server that
// stops reading behind a large buffer: a 4 MB window full costs 1024 s at
// 4 KB/s before the stall or answer limit even begins.
ServerWatch::Clock::duration ServerWatch::readingAllowance(std::int64_t bytes, const DataSight& data) const
{
    const auto bound = [](std::int64_t held, std::int64_t room) { return room > 0 ? std::min(held, room) : held; };
    return readingTime(guessing_ ? bound(bytes, data.buffers) : bound(bytes, widest_));
}

ServerWatch::Clock::duration ServerWatch::readingTime(std::int64_t bytes) const
{
    return std::chrono::duration_cast<Clock::duration>(std::chrono::milliseconds(bytes * 1000 / std::max(1L, limits_.slowest)));
}
