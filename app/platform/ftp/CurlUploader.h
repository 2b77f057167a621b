#pragma once

#include <QString>
#include <functional>

#include "platform/ftp/Uploader.h"

// How long a put waits on a server that stops answering, in seconds. A slow
// but moving transfer is never cut; one that moves nothing for `stall`
// seconds is.
struct FtpTimeouts {
    long connect = 10;   // to open the connection
    long response = 20;  // for each answer of the server
    long stall = 20;     // with no byte moving
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
