#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "platform/ftp/DataSight.h"
#include "platform/ftp/FtpReplies.h"
#include "platform/ftp/FtpTimeouts.h"

// Keeps one put's server to its limits, from what passes on the control
// connection and what the data connection shows of the server's progress.
// libcurl has one wait for every answer, counted from its question; the
// answer to the data it counts from the moment it handed over the last byte,
// which a slow server takes in minutes later. Its connect limit counts from
// the start of the put for the data connection too, made after every question
// before it. So libcurl is left to wait, and this watch alone says when to
// give up.
class ServerWatch {
public:
    using Clock = std::chrono::steady_clock;
    using Now = std::function<Clock::time_point()>;

    ServerWatch(const FtpTimeouts& limits, std::int64_t size, Now now = Clock::now);

    // The client asked the server `command` (a whole command line).
    void asked(std::string_view command);
    // A line of the server's came on the control connection.
    void heard(std::string_view line);
    // Whether the server is past its limit, given the bytes handed to the data
    // connection so far and what the connection shows. Called now and then.
    bool overdue(std::int64_t handed, const DataSight& data);

    bool loggedIn() const { return loggedIn_; }  // a success answered the login
    // The last question asks for a passive data connection: the next socket
    // the client opens is the data connection's.
    bool openingData() const { return openingData_; }
    // A success answered the data (226 or 250 after STOR's 125 or 150).
    bool stored() const { return stored_; }
    // The size a 213 reply to SIZE told; none when SIZE was refused or not asked.
    std::optional<std::int64_t> toldSize() const { return toldSize_; }
    // QUIT was asked: from then on only its own short limit holds.
    bool leaving() const { return leaving_; }
    // The last limit passed was set by a guess: the system could not tell
    // what the server took of the data, so the transfer failed, but the
    // server is not known to have stopped.
    bool guessed() const { return guessed_; }

private:
    void sawData(std::int64_t handed, const DataSight& data, Clock::time_point now);
    Clock::time_point dataDeadline(const DataSight& data) const;
    Clock::duration readingAllowance(std::int64_t bytes, const DataSight& data) const;
    // How long a server reading at the slowest allowed rate takes for `bytes`.
    Clock::duration readingTime(std::int64_t bytes) const;

    FtpTimeouts limits_;
    std::int64_t size_;
    Now now_;
    FtpReplies replies_;
    Clock::time_point start_;             // the put began: the login is due
    Clock::time_point asking_;            // the last question or whole reply: an answer is due
    bool loggingIn_ = false;              // the last question was part of the login
    bool loggedIn_ = false;
    bool storing_ = false;                // STOR was asked and not yet answered
    bool openingData_ = false;
    bool stored_ = false;
    bool sizing_ = false;                 // SIZE was asked and not yet answered
    std::optional<std::int64_t> toldSize_;
    bool leaving_ = false;
    bool sending_ = false;                // a 125 or 150 answered STOR: the data goes, till the next reply
    bool guessing_ = false;               // the system cannot tell what the server took
    bool guessed_ = false;
    std::int64_t taken_ = 0;              // the most the server has taken of the data
    Clock::time_point lastTaken_;         // when that grew, or the data began
    std::optional<Clock::time_point> allTaken_;  // when the server had taken every byte
    std::int64_t window_ = 0;             // the server's window at the last look
    std::int64_t widest_ = 0;             // the widest window it advertised
    // When its window last opened again after it took every byte: its program read.
    std::optional<Clock::time_point> reopened_;
    std::optional<Clock::time_point> closed_;  // when its end of the data connection closed
};
