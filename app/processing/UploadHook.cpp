#include "processing/UploadHook.h"

#include "platform/folders/ProgramFolders.h"
#include "platform/ftp/CurlUploader.h"
#include "processing/BatchRun.h"
#include "processing/FtpUpload.h"
#include "processing/UploadPage.h"

void attachUpload(BatchRun& run, AppState& app, std::shared_ptr<Uploader> uploader, const QString& userDir)
{
    if (!uploader) {
        auto curl = std::make_shared<CurlUploader>();
        curl->keepAlive = [&run] {
            if (run.yield)
                run.yield();
        };
        uploader = curl;
    }
    run.upload = [&app, uploader](const QString& path, const QString& name) {
        FtpUpload(app, *uploader, path, name);
    };
    run.createHtm = [&app, userDir] {
        funCreateHtm(app, userDir.isEmpty() ? ProgramFolders::userDir() : userDir);
    };
}
