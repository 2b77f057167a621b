#pragma once

#include <QString>
#include <memory>

class BatchRun;
class Uploader;

// Makes the run upload every saved result (when its request asks) through
// `uploader` (libcurl by default, keeping the window alive while it sends)
// and write the page of uploaded pictures at its end, with the address list
// in `userDir` (the program's "user" folder by default).
void attachUpload(BatchRun& run, std::shared_ptr<Uploader> uploader = nullptr,
                  const QString& userDir = {});
