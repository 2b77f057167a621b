#include "state/StartValues.h"

#include "platform/folders/ProgramFolders.h"
#include "state/AppState.h"

void setStartValues(AppState& app)
{
    ProgramState& ps = app.ps;
    ps.sPrefix = QStringLiteral("Vimo_");
    ps.sBkFile.clear();
    ps.sSyFile.clear();
    ps.sngSyScale = 1.0f;
    ps.sOutDir = ProgramFolders::outputDir();

    app.pic.cmSy = ColorMatrix::identity();
    app.pic.cmSy.m[3][3] = 0.8f;
    app.pic.cmPic = ColorMatrix::identity();

    app.ftp.sFtpServer = QStringLiteral("ftp://");
    app.ftp.sWebURL = QStringLiteral("http://");
    app.ftp.sFtpRoot.clear();
    app.ftp.sFtpUser.clear();
    app.ftp.sFtpPass.clear();
}
