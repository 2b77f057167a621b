#include "processing/RenderPicture.h"

#include "processing/EffectDispatch.h"
#include "processing/FrameAndMarks.h"
#include "processing/PictureDrawing.h"
#include "processing/Rotation.h"
#include "state/AppState.h"
#include "state/NumberText.h"

RenderResult renderPicture(const QString& path, AppState& st)
{
    RenderResult out;
    const float W = float(numtext::leadingNumber(st.panel.txtW));
    const float H = float(numtext::leadingNumber(st.panel.txtH));
    QImage canvas = DrawPicFile(path, W, H, st, out.errors);
    if (canvas.isNull())
        return out;
    if (st.rot.iRotateMode > 1)
        RotatePicture(canvas, st.rot.iRotateMode, path);
    if (!st.panel.mTXUndo) {
        const int k = st.panel.mTX >= 0 && st.panel.mTX < kEffectCount ? st.panel.mTX : kEffectCount;
        ApplyEffect(canvas, k, st.panel.sldLD);
    }
    AddFrameAndMarks(canvas, path, st.panel.cmbPos, st.panel.cmbPosImg, st, out.errors);
    out.picture = canvas.convertToFormat(QImage::Format_RGB888);
    return out;
}
