#include "processing/RenderPicture.h"

#include "processing/EffectDispatch.h"
#include "processing/FrameAndMarks.h"
#include "processing/LoadTrouble.h"
#include "processing/PictureDrawing.h"
#include "processing/Rotation.h"
#include "state/AppState.h"

RenderResult renderPicture(const QString& path, const RenderSettings& s, const RenderAssets& a, SourceCache* sources)
{
    RenderResult out;
    const float W = sizeFromText(s.panel.txtW);
    const float H = sizeFromText(s.panel.txtH);
    // Turned before the size rules apply: the width typed is the width of the
    // upright picture, for a phone photo turned by its EXIF orientation too.
    const int turn = resolveTurn(s.rot.iRotateMode, path);
    LoadTrouble trouble;
    QImage canvas = DrawPicFile(path, W, H, s, out.errors, turn, &trouble, sources);
    if (trouble.damaged)
        out.tips << troubleText(QString(), path, trouble);
    out.tips << a.tips;
    if (canvas.isNull())
        return out;
    if (!s.panel.mTXUndo) {
        const int k = s.panel.mTX >= 0 && s.panel.mTX < kEffectCount ? s.panel.mTX : kEffectCount;
        ApplyEffect(canvas, k, s.panel.sldLD);
    }
    AddFrameAndMarks(canvas, path, s.panel.cmbPos, s.panel.cmbPosImg, s, a, out.marks, out.errors);
    out.picture = canvas.convertToFormat(QImage::Format_RGB888);
    return out;
}

RenderResult renderPicture(const QString& path, AppState& st, SourceCache* sources)
{
    const RenderSettings s = snapshotSettings(st);
    RenderResult r = renderPicture(path, s, prepareAssets(s), sources);
    storeMarkPositions(r.marks, st);
    return r;
}
