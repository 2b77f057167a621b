#include "processing/RenderSettings.h"

#include <cmath>

#include "platform/imaging/ColorMatrixFilter.h"
#include "platform/imaging/PictureReader.h"
#include "processing/PictureDrawing.h"
#include "state/AppState.h"

namespace {

// A watermark drawn larger than this is not made ahead: whether it is drawn at
// all depends on the picture it goes on.
constexpr double kMaxPreparedMarkSide = 16384;

} // namespace

RenderSettings snapshotSettings(const AppState& st)
{
    return {st.ps, st.pic, st.rot, st.panel};
}

RenderAssets prepareAssets(const RenderSettings& s)
{
    RenderAssets a;
    if (hasBorder(s.ps.sBkFile))
        a.border = imaging::loadPicture(s.ps.sBkFile);
    if (s.panel.chkInfoImg == 1 && !s.ps.sSyFile.isEmpty()) {
        a.mark = imaging::loadPicture(s.ps.sSyFile);
        if (!a.mark.isNull()) {
            a.markNatural = a.mark.size();
            imaging::applyColorMatrix(a.mark, s.pic.cmSy);
            a.mark.convertTo(QImage::Format_ARGB32_Premultiplied);
            const double scale = s.ps.sngSyScale;
            const double w = std::nearbyint(a.mark.width() * scale), h = std::nearbyint(a.mark.height() * scale);
            // Sizes are checked as numbers before they become pixels: a
            // hand-edited scale can be any float.
            if (scale > 0 && std::isfinite(scale) && w > 0 && h > 0 && w <= kMaxPreparedMarkSide &&
                h <= kMaxPreparedMarkSide) {
                const QSize drawn{int(w), int(h)};
                if (drawn != a.mark.size())
                    a.mark = a.mark.scaled(drawn, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
                a.markScaled = true;
            }
        }
    }
    a.fontStyle = {s.ps.sFont, s.ps.iSize, s.ps.sBold, s.ps.sUnderline, s.ps.sItalic};
    return a;
}

void storeMarkPositions(const MarkPositions& m, AppState& st)
{
    if (m.picture) {
        st.ps.sngSyW = float(m.pictureSize.width());
        st.ps.sngSyH = float(m.pictureSize.height());
        st.ps.iuISyX = m.pictureFraction.x();
        st.ps.iuISyY = m.pictureFraction.y();
    }
    if (m.text) {
        st.ps.iuTSyX = m.textFraction.x();
        st.ps.iuTSyY = m.textFraction.y();
    }
}
