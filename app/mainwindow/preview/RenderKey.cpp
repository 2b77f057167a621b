#include "mainwindow/preview/RenderKey.h"

#include <QDateTime>

#include "processing/FrameAndMarks.h"
#include "processing/PictureDrawing.h"
#include "state/AppState.h"

RenderSettings comparedSettings(const AppState& st)
{
    RenderSettings s = snapshotSettings(st);
    ProgramState& ps = s.ps;
    ps.sPicFile.clear();
    ps.sODIR.clear();
    ps.iDlgMode = 0;
    ps.iPicSource = 0;
    ps.iPicMode = 0;
    ps.bCutMode = false;
    ps.bConfirmOK = false;
    ps.bSubFolder = false;
    ps.iReady = 0;
    ps.sngSyW = 0;
    ps.sngSyH = 0;
    ps.dibSrc.reset();
    ps.dibWork.reset();
    ps.dibSpare.reset();
    ps.dibTemp.reset();
    return s;
}

RenderKey renderKey(const QString& path, const AppState& st)
{
    RenderKey k;
    k.path = path;
    k.source = fileStamp(path);
    k.settings = comparedSettings(st);
    if (hasBorder(st.ps.sBkFile))
        k.border = fileStamp(st.ps.sBkFile);
    if (st.panel.chkInfoImg == 1)
        k.mark = fileStamp(st.ps.sSyFile);
    if (st.panel.chkInfoTxt == 1 && !st.ps.sText.isEmpty())
        k.markText = expandMarkText(st.ps.sText, path, QDateTime::currentDateTime());
    return k;
}
