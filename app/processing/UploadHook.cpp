#include "processing/UploadHook.h"

#include "platform/folders/ProgramFolders.h"
#include "platform/ftp/CurlUploader.h"
#include "platform/ftp/FailFastUploader.h"
#include "processing/BatchRun.h"
#include "processing/FtpUpload.h"
#include "processing/UploadPage.h"

std::shared_ptr<Uploader> breathingUploader(BatchRun& run, const FtpTimeouts& limits)
{
    auto curl = std::make_shared<CurlUploader>(limits);
    curl->keepAlive = [&run] {
        if (run.yield)
            run.yield();
    };
    return curl;
}

void attachUpload(BatchRun& run, std::shared_ptr<Uploader> uploader, const QString& userDir)
{
    if (!uploader)
        uploader = breathingUploader(run);
    // A server that cannot be reached costs its time-out once a run, not once a picture.
    auto once = std::make_shared<FailFastUploader>(uploader);
    run.upload = [&run, once](int index, const QString& path, const QString& name) {
        const RunRequest& r = run.request();
        FtpUpload(r.target, *once, path, name, r.entries.at(size_t(index)).description, run.outcome());
    };
    run.createHtm = [&run, userDir, once] {
        once->forget();  // the run's last word on its uploads: the next run tries the server again
        return funCreateHtm(run.request(), run.outcome(), userDir.isEmpty() ? ProgramFolders::userDir() : userDir)
            .page;
    };
}
