#include "platform/ftp/ServerWatch.h"

#include <algorithm>

namespace {

bool startsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}

} // namespace

ServerWatch::ServerWatch(const FtpTimeouts& limits, std::int64_t size, Clock::time_point now)
    : limits_(limits), size_(size), start_(now), asking_(now), lastTaken_(now)
{
}

void ServerWatch::asked(std::string_view command, Clock::time_point now)
{
    // libcurl asks again only once it holds the last reply as ended.
    replies_.restart();
    asking_ = now;
    storing_ = startsWith(command, "STOR ") || startsWith(command, "APPE ");
}

void ServerWatch::heard(std::string_view line, Clock::time_point now)
{
    greeted_ = true;
    const int code = replies_.take(line);
    if (!code)
        return;
    asking_ = now;
    loggedIn_ = loggedIn_ || code == 230;
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
    }
}

bool ServerWatch::overdue(std::int64_t handed, std::int64_t queued, Clock::time_point now)
{
    using std::chrono::seconds;
    if (!loggedIn_ && now - start_ > seconds(limits_.connect))
        return true;
    if (!sending_)
        return now - asking_ > seconds(limits_.response);
    const std::int64_t taken = std::max<std::int64_t>(0, handed - queued);
    if (taken > taken_) {
        taken_ = taken;
        lastTaken_ = now;
    }
    if (taken_ < size_)
        return now - lastTaken_ > seconds(limits_.stall);
    if (!allTaken_)
        allTaken_ = now;
    return now - *allTaken_ > seconds(limits_.lastAnswer);
}
