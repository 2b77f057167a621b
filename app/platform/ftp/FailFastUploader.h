#pragma once

#include <memory>

#include "platform/ftp/Uploader.h"

// Puts through another uploader, giving up on the server after the first
// put that could not reach it, could not start at all or found it stalled:
// every later put ends at once with that same status, instead of waiting
// out the time-outs again for each file. `forget` starts afresh (a new run).
class FailFastUploader : public Uploader {
public:
    explicit FailFastUploader(std::shared_ptr<Uploader> inner);
    FtpStatus put(const FtpPut& request) override;
    void forget();

private:
    std::shared_ptr<Uploader> inner_;
    FtpStatus unreachable_ = FtpStatus::Done;  // Done: no failure to connect yet
};
