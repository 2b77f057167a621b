#include "mainwindow/preview/PreviewKeys.h"

#include <Qt>

#include "processing/FrameAndMarks.h"
#include "state/AppState.h"

bool freePositionMode(const AppState& st)
{
    const PanelState& p = st.panel;
    return (p.cmbPos == posFree && p.chkInfoTxt == 1) || (p.cmbPosImg == posFree && p.chkInfoImg == 1) ||
           st.win.bMovePic;
}

std::optional<int> previousEntry(int index, int count)
{
    if (index - 1 >= 0 && index - 1 < count)
        return index - 1;
    return std::nullopt;
}

std::optional<int> nextEntry(int index, int count)
{
    if (index + 1 < count && index + 1 >= 0)
        return index + 1;
    return std::nullopt;
}

namespace {

// One arrow step in the free-position mode; dx, dy are -1, 0 or 1.
void nudge(AppState& st, QSizeF image, int dx, int dy)
{
    if (st.win.bMovePic) {
        st.pic.sngXp += float(dx);
        st.pic.sngYp += float(dy);
        return;
    }
    // Without a shown preview there is no pixel to step by: the position stays.
    if (!(image.width() > 0 && image.height() > 0))
        return;
    double& x = st.ps.bMarkIsImg ? st.ps.iuISyX : st.ps.iuTSyX;
    double& y = st.ps.bMarkIsImg ? st.ps.iuISyY : st.ps.iuTSyY;
    x += dx / image.width();
    y += dy / image.height();
}

KeyAction step(std::optional<int> to)
{
    return to ? KeyAction{KeyAction::Select, *to} : KeyAction{KeyAction::Beep, -1};
}

} // namespace

KeyAction previewKeyDown(int key, AppState& st, QSizeF image, int index, int count)
{
    int dx = 0, dy = 0;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return {KeyAction::OpenViewer, -1};
    case Qt::Key_Right: dx = 1; break;
    case Qt::Key_Left: dx = -1; break;
    case Qt::Key_Down: dy = 1; break;
    case Qt::Key_Up: dy = -1; break;
    default:
        return {};
    }
    if (freePositionMode(st)) {
        nudge(st, image, dx, dy);
        return {KeyAction::Redraw, -1};
    }
    if (dx + dy > 0)
        return step(index < count - 1 ? std::optional<int>(index + 1) : std::nullopt);
    return step(index > 0 && count > 0 ? std::optional<int>(std::min(index, count) - 1) : std::nullopt);
}
