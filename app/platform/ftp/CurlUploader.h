#pragma once

#include <QString>
#include <functional>

#include "platform/ftp/FtpTimeouts.h"
#include "platform/ftp/Uploader.h"

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
