#pragma once

#include <string_view>

// Frames the lines a server sends on an FTP control connection into replies:
// a reply is one line "NNN text", or a first line "NNN-text", any lines, and
// a last line "NNN text" with the same code. Lines inside a reply may begin
// with anything, digits and a space included; they end nothing.
class FtpReplies {
public:
    // Takes one line (its CR LF may still be on it) and returns the code of
    // the reply it ends, or 0 when a reply goes on or the line begins none.
    int take(std::string_view line);
    // Drops a reply under way: the client took it as ended (libcurl ends a
    // reply at any "NNN " line) and asks its next question.
    void restart() { open_ = 0; }

private:
    int open_ = 0;  // the code of a reply of several lines under way
};
