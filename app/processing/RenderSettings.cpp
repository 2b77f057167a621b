#include "processing/RenderSettings.h"

#include <cmath>

#include "platform/imaging/ColorMatrixFilter.h"
#include "platform/imaging/PictureReader.h"
#include "processing/ErrorLines.h"
#include "processing/FrameAndMarks.h"
#include "processing/PictureDrawing.h"
#include "state/AppState.h"

namespace {

// A watermark drawn larger than this is not made ahead: whether it is drawn at
// all depends on the picture it goes on.
constexpr double kMaxPreparedMarkSide = 16384;

// A border that cannot be read is drawn as nothing, a damaged one as far as
// it decoded; either is said once for all the pictures it goes on.
QImage loadBorder(const QString& file, RenderAssets& a)
{
    imaging::LoadedPicture loaded = imaging::loadWholePicture(file);
    const LoadTrouble trouble = loadTrouble(loaded, loaded.decodedSize);
    if (trouble.any()) {
        a.errors << errorLine(file, kBorderErrorHead, trouble.kind, trouble.detail);
        a.tips << troubleText(QStringLiteral("边框"), file, trouble);
    }
    return std::move(loaded.image);
}

} // namespace

RenderSettings snapshotSettings(const AppState& st)
{
    return {st.ps, st.pic, st.rot, st.panel};
}

RenderAssets prepareAssets(const RenderSettings& s)
{
    RenderAssets a;
    if (hasBorder(s.ps.sBkFile))
        a.border = loadBorder(s.ps.sBkFile, a);
    if (s.panel.chkInfoImg == 1 && !s.ps.sSyFile.isEmpty()) {
        // A watermark that cannot be read is logged with every picture it
        // is missing from; a damaged one, drawn as far as it decoded, once.
        imaging::LoadedPicture loaded = imaging::loadWholePicture(s.ps.sSyFile);
        a.markTrouble = loadTrouble(loaded, loaded.decodedSize);
        if (a.markTrouble.any())
            a.tips << troubleText(QStringLiteral("水印"), s.ps.sSyFile, a.markTrouble);
        if (a.markTrouble.damaged)
            a.errors << errorLine(s.ps.sSyFile, kMarkErrorHead, a.markTrouble.kind, a.markTrouble.detail);
        a.mark = std::move(loaded.image);
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
