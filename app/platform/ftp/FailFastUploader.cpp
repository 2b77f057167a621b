#include "platform/ftp/FailFastUploader.h"

FailFastUploader::FailFastUploader(std::shared_ptr<Uploader> inner) : inner_(std::move(inner)) {}

FtpStatus FailFastUploader::put(const FtpPut& request)
{
    if (unreachable_ != FtpStatus::Done)
        return unreachable_;
    const FtpStatus status = inner_->put(request);
    // A failed transfer says nothing about the next file; a server that
    // cannot be reached, or refuses the login, answers every file alike.
    if (status == FtpStatus::NoSession || status == FtpStatus::NoConnection)
        unreachable_ = status;
    return status;
}

void FailFastUploader::forget()
{
    unreachable_ = FtpStatus::Done;
}
