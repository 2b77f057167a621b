#include "platform/ftp/FailFastUploader.h"

FailFastUploader::FailFastUploader(std::shared_ptr<Uploader> inner) : inner_(std::move(inner)) {}

FtpStatus FailFastUploader::put(const FtpPut& request)
{
    if (unreachable_ != FtpStatus::Done)
        return unreachable_;
    const FtpStatus status = inner_->put(request);
    // A failed transfer, a slow one too, says nothing about the next file; a
    // server that cannot be reached, refuses the login or stalls a transfer
    // answers every file alike.
    if (status == FtpStatus::NoSession || status == FtpStatus::NoConnection || status == FtpStatus::Stalled)
        unreachable_ = status;
    return status;
}

void FailFastUploader::forget()
{
    unreachable_ = FtpStatus::Done;
}
