#pragma once

// How long a put waits on the server, in seconds. Every limit counts what the
// server did, not what was handed to this machine's connection, which may
// hold megabytes the server has yet to take: a slow but moving transfer is
// never cut, whatever its size.
struct FtpTimeouts {
    long connect = 10;      // to open the connection and log in
    long response = 20;     // for each other answer before the data and after it; only a whole reply answers
    // During the data, since the server last took a byte, beyond the time it
    // may need to read what it holds unread at `slowest`. What it took shows
    // only when its end of the connection makes room: a system whose buffer
    // is full keeps its window shut until a large share of it is free again,
    // minutes at 4 KB/s behind a buffer of megabytes.
    long stall = 40;
    // For the answer to the data, once the server has read every byte. Bytes
    // its system acknowledged may wait in its buffer, unseen, until its
    // program reads them: the limit begins once the server closes its end of
    // the data connection, or once it had time to read them at `slowest`.
    long lastAnswer = 120;
    // Bytes a second: the slowest reading that still gets a file through
    // where the connection cannot show what the server read.
    long slowest = 4096;
    // For the answer to QUIT, the put's last word: by then its outcome is
    // known, so a server that never says goodbye keeps its results.
    long quit = 5;
};
