#include "processing/RunRequest.h"

#include "state/AppState.h"

RunRequest makeRunRequest(const AppState& st)
{
    RunRequest r;
    r.entries.reserve(st.list.entries().size());
    for (const PictureEntry& e : st.list.entries())
        r.entries.push_back({e.path, e.description});
    r.render = snapshotSettings(st);

    const ProgramState& ps = st.ps;
    r.outDir = ps.sOutDir;
    r.format = ps.sOutFormat;
    r.rename = st.panel.chkRM == 1;
    r.prefix = ps.sPrefix;
    r.counterDigits = st.panel.txtNum;
    r.jpegQuality = ps.iJPGQ;

    r.upload = st.panel.chkFtp == 1;
    r.target = {st.ftp.sFtpServer, st.ftp.sFtpUser, st.ftp.sFtpPass,
                st.ftp.sFtpDir,    st.ftp.sFtpRoot, st.ftp.sWebURL};
    r.pageShowsPictures = ps.bShowURLPic != 0;
    r.pageShowsAddresses = ps.bShowURL != 0;
    r.openOutputFolder = ps.bAutoODir != 0;
    r.openPage = ps.bAutoURL != 0;

    r.pdf = st.panel.chkPDF == 1;
    r.pdfTitle = ps.sPDF1;
    r.pdfSignature = ps.sPDF2;
    r.pdfDate = ps.sPDF3;

    r.saveErrorLog = ps.bSaveErr != 0;
    return r;
}
