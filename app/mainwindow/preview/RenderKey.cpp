#include "mainwindow/preview/RenderKey.h"

#include <QDateTime>

#include "processing/FrameAndMarks.h"
#include "processing/PictureDrawing.h"
#include "state/AppState.h"

RenderSettings comparedSettings(const AppState& st)
{
    RenderSettings s = snapshotSettings(st);
    ProgramState& ps = s.ps;
    // What the window, its dialogs and the viewer keep.
    ps.sPicFile.clear();
    ps.sODIR.clear();
    ps.iDlgMode = 0;
    ps.iPicSource = 0;
    ps.iPicMode = 0;
    ps.bCutMode = false;
    ps.bConfirmOK = false;
    ps.bSubFolder = false;
    ps.bMarkIsImg = false;
    ps.iReady = 0;
    ps.bShowToday = 0;
    ps.sNewsURL.clear();
    ps.sSkinFileName.clear();
    ps.iSlideTime = 0;
    ps.bNewVer = 0;
    ps.dibSrc.reset();
    ps.dibWork.reset();
    ps.dibSpare.reset();
    ps.dibTemp.reset();
    // What only the window's load reads (the picture is drawn with what it set).
    ps.iuSize = ps.iuBk = 0;
    ps.suISyF.clear();
    ps.sngISyX = ps.sngISyY = ps.sngTSyX = ps.sngTSyY = 0;
    ps.iuSYAlpha = 0;
    // What only a run's saving, upload, page and book read.
    ps.sOutDir.clear();
    ps.sPrefix.clear();
    ps.iJPGQ = 0;
    ps.sOutFormat.clear();
    ps.bAutoODir = ps.bAutoURL = ps.bShowURL = ps.bShowURLPic = ps.bSaveErr = 0;
    ps.sPDF1.clear();
    ps.sPDF2.clear();
    ps.sPDF3.clear();
    s.panel.cmbEncode.clear();
    s.panel.chkRM = s.panel.chkFtp = s.panel.chkPDF = 0;
    s.panel.txtNum.clear();
    s.panel.cmbSizeCount = 0;
    // What a redraw writes back: the picture watermark's size as drawn.
    ps.sngSyW = ps.sngSyH = 0;
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
