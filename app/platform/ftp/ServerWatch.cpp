#include "platform/ftp/ServerWatch.h"

#include <algorithm>

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
}

void ServerWatch::heard(std::string_view line)
{
    greeted_ = true;
    const int code = replies_.take(line);
    if (!code)
        return;
    const Clock::time_point now = now_();
    asking_ = now;
    loggedIn_ = loggedIn_ || (loggingIn_ && code >= 200 && code < 300);
    // The data goes from STOR's preliminary answer until its final one.
    if (sending_) {
        sending_ = code < 200;
        return;
    }
    sending_ = storing_ && (code == 125 || code == 150);
    storing_ = false;
    if (sending_) {
        taken_ = 0;
        lastTaken_ = now;
        allTaken_.reset();
        lastRead_.reset();
        closed_.reset();
        window_ = widest_ = 0;
    }
}

bool ServerWatch::overdue(std::int64_t handed, const DataSight& data)
{
    const Clock::time_point now = now_();
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
        lastRead_ = now;
    if (taken_ >= size_ && !allTaken_)
        allTaken_ = now;
    window_ = data.window;
    widest_ = std::max(widest_, data.window);
    if (data.closed && !closed_)
        closed_ = now;
}

ServerWatch::Clock::time_point ServerWatch::dataDeadline(const DataSight& data) const
{
    // What the server may still hold unread, or still have to take, beyond what shows.
    const auto bound = [](std::int64_t bytes, std::int64_t room) { return room > 0 ? std::min(bytes, room) : bytes; };
    if (!allTaken_) {
        const Clock::duration unseen = guessing_ ? readingTime(bound(taken_, data.buffers)) : Clock::duration{};
        return lastTaken_ + seconds(limits_.stall) + unseen;
    }
    // A server that closed its end has read all it will.
    if (closed_)
        return *closed_ + seconds(limits_.lastAnswer);
    const std::int64_t unread = guessing_ ? bound(size_, data.buffers) : bound(size_, widest_);
    Clock::time_point readBy = *allTaken_ + readingTime(unread);
    if (lastRead_)
        readBy = std::max(readBy, *lastRead_ + seconds(limits_.stall));
    return readBy + seconds(limits_.lastAnswer);
}

ServerWatch::Clock::duration ServerWatch::readingTime(std::int64_t bytes) const
{
    return std::chrono::duration_cast<Clock::duration>(std::chrono::milliseconds(bytes * 1000 / std::max(1L, limits_.slowest)));
}
