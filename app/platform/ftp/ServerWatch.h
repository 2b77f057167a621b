#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/ftp/FtpReplies.h"
#include "platform/ftp/FtpTimeouts.h"

// Keeps one put's server to its limits, from what passes on the control
// connection and what the server has taken of the data. libcurl has one wait
// for every answer, counted from its question; the answer to the data it
// counts from the moment it handed over the last byte, which a slow server
// takes in minutes later. Its connect limit counts from the start of the put
// for the data connection too, made after every question before it. So
// libcurl is left to wait, and this watch says when to give up.
class ServerWatch {
public:
    using Clock = std::chrono::steady_clock;

    ServerWatch(const FtpTimeouts& limits, std::int64_t size, Clock::time_point now);

    // The client asked the server `command` (a whole command line).
    void asked(std::string_view command, Clock::time_point now);
    // A line of the server's came on the control connection.
    void heard(std::string_view line, Clock::time_point now);
    // Whether the server is past its limit, given the bytes handed to the data
    // connection so far and how many of them it still holds (not yet taken
    // by the server). Called now and then.
    bool overdue(std::int64_t handed, std::int64_t queued, Clock::time_point now);

    bool greeted() const { return greeted_; }    // the server has said something
    bool loggedIn() const { return loggedIn_; }  // a 230 reply came

private:
    FtpTimeouts limits_;
    std::int64_t size_;
    FtpReplies replies_;
    Clock::time_point start_;             // the put began: the login is due
    Clock::time_point asking_;            // the last question or whole reply: an answer is due
    bool greeted_ = false;
    bool loggedIn_ = false;
    bool storing_ = false;                // STOR was asked and not yet answered
    bool sending_ = false;                // a 125 or 150 answered STOR: the data goes, till the next reply
    std::int64_t taken_ = 0;              // the most the server has taken of the data
    Clock::time_point lastTaken_;         // when that grew, or the data began
    std::optional<Clock::time_point> allTaken_;  // when the server had taken every byte
};
