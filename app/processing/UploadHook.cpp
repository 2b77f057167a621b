#include "processing/UploadHook.h"

#include "platform/folders/ProgramFolders.h"
#include "platform/ftp/CurlUploader.h"
#include "processing/BatchRun.h"
#include "processing/FtpUpload.h"
#include "processing/UploadPage.h"

void attachUpload(BatchRun& run, std::shared_ptr<Uploader> uploader, const QString& userDir)
{
    if (!uploader) {
        auto curl = std::make_shared<CurlUploader>();
        curl->keepAlive = [&run] {
            if (run.yield)
                run.yield();
        };
        uploader = curl;
    }
    run.upload = [&run, uploader](int index, const QString& path, const QString& name) {
        const RunRequest& r = run.request();
        FtpUpload(r.target, *uploader, path, name, r.entries.at(size_t(index)).description, run.outcome());
    };
    run.createHtm = [&run, userDir] {
        funCreateHtm(run.request(), run.outcome(), userDir.isEmpty() ? ProgramFolders::userDir() : userDir);
    };
}
