#pragma once

#include <QString>
#include <functional>

#include "platform/ftp/Uploader.h"

// How long a put waits on the server, in seconds. A slow but moving transfer
// is never cut; one that moves nothing for `stall` seconds is. The answer to
// the file's last byte comes only once the server has taken in what the
// connection still holds, which a slow server does at its own pace: it gets
// the long `lastAnswer` wait, as libcurl's own default gives every answer.
struct FtpTimeouts {
    long connect = 10;      // to open the connection and log in
    long response = 20;     // for each other answer of the server
    long stall = 20;        // with no byte moving
    long lastAnswer = 120;  // for the answer after the last byte was handed to the connection
};

// The uploader over libcurl: no proxy, FTP only, binary, missing remote
// folders made on the way.
class CurlUploader : public Uploader {
public:
    explicit CurlUploader(FtpTimeouts timeouts = {});
    FtpStatus put(const FtpPut& request) override;

    // Called now and then while a transfer runs, so a window can stay alive.
    std::function<void()> keepAlive;

    // The address libcurl is given: "ftp://host:port/%2F/" and the folders and
    // the name, each percent-encoded, so the path counts from the server's
    // root. Empty when the server text names no host.
    static QString urlFor(const FtpPut& request);

private:
    FtpTimeouts timeouts_;
};
