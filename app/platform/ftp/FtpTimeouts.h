#pragma once

// How long a put waits on the server, in seconds. Every limit counts what the
// server did, not what was handed to this machine's connection, which may
// hold megabytes the server has yet to take: a slow but moving transfer is
// never cut, whatever its size.
struct FtpTimeouts {
    long connect = 10;      // to open the connection and log in
    long response = 20;     // for each other answer before the data and after it; only a whole reply answers
    // During the data, since the server last took a byte. What it took shows
    // only when its end of the connection makes room, in steps of up to
    // 100 KB: 25 s to 32 s apart from a server reading 4 KB/s.
    long stall = 40;
    // For the answer to the data, once the server has read every byte. Bytes
    // its system acknowledged may wait in its buffer, unseen, until its
    // program reads them: the limit begins once the server closes its end of
    // the data connection, or once it had time to read them at `slowest`.
    long lastAnswer = 120;
    // Bytes a second: the slowest reading that still gets a file through
    // where the connection cannot show what the server read.
    long slowest = 4096;
};
