#pragma once

#include <QString>
#include <memory>

#include "platform/ftp/FtpTimeouts.h"

class BatchRun;
class Uploader;

// libcurl with `limits`, letting the window breathe (the run's yield) about
// once a second during every wait of an upload.
std::shared_ptr<Uploader> breathingUploader(BatchRun& run, const FtpTimeouts& limits = {});

// Makes the run upload every saved result (when its request asks) through
// `uploader` (breathingUploader by default)
// and write the page of uploaded pictures at its end, with the address list
// in `userDir` (the program's "user" folder by default).
void attachUpload(BatchRun& run, std::shared_ptr<Uploader> uploader = nullptr,
                  const QString& userDir = {});
