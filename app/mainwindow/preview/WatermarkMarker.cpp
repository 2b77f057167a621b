#include "mainwindow/preview/WatermarkMarker.h"

#include <algorithm>
#include <charconv>

#include "services/ShellHelpers.h"
#include "state/AppState.h"

namespace {

// The shortest text that reads back as the same single-precision value.
QString singleText(float value)
{
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return ec == std::errc() ? QString::fromLatin1(buf, int(end - buf)) : QStringLiteral("0");
}

} // namespace

WatermarkMarker::WatermarkMarker(AppState& st, QObject* parent) : QObject(parent), st_(st)
{
}

void WatermarkMarker::setVisible(bool on)
{
    if (visible_ == on)
        return;
    visible_ = on;
    emit changed();
}

void WatermarkMarker::show()
{
    blink_.stop();
    setVisible(true);
}

void WatermarkMarker::hide()
{
    blink_.stop();
    setVisible(false);
}

void WatermarkMarker::blink()
{
    blink_.start([this](bool on) { setVisible(on); });
}

void WatermarkMarker::setDragPointer(bool on)
{
    if (dragPointer_ == on)
        return;
    dragPointer_ = on;
    emit changed();
}

void WatermarkMarker::placeOver(MarkHit which, const MarkScene& scene)
{
    if (which == MarkHit::None)
        return;
    rect_ = markerUnder(which, scene, st_.ps);
    emit changed();
}

bool WatermarkMarker::placeUnlessUnset(MarkHit which, const MarkScene& scene)
{
    const ProgramState& ps = st_.ps;
    const bool unset = which == MarkHit::Picture ? ps.iuISyX == 0 && ps.iuISyY == 0
                                                 : ps.iuTSyX == 0 && ps.iuTSyY == 0;
    if (unset)
        return false;
    placeOver(which, scene);
    return true;
}

void WatermarkMarker::markFreePosition(MarkHit which, const MarkScene& scene)
{
    if (which == MarkHit::None)
        return;
    const bool picture = which == MarkHit::Picture;
    st_.ps.bMarkIsImg = picture;
    ShowTip(st_, picture ? QStringLiteral("【提示】按住鼠标左键拖动蓝色条块即可调整位置,方向键微调。")
                         : QStringLiteral("【提示】按住鼠标左键拖动红色圆块即可调整位置,方向键微调。"));
    placeUnlessUnset(which, scene);
    blink();
    st_.win.bMovePic = false;
}

void WatermarkMarker::markPresetPosition(MarkHit which, const MarkScene& scene)
{
    if (placeUnlessUnset(which, scene))
        hide();
}

void WatermarkMarker::enterMoveMode(QSizeF area)
{
    st_.win.bMovePic = true;
    setDragPointer(true);
    ShowTip(st_, QStringLiteral("【提示】按住鼠标左键拖动蓝色方块即可调整图片位置,方向键微调,鼠标右键退出移动模式。"));
    rect_ = QRectF(area.width() / 2, area.height() / 2, kMoveMarkerSide, kMoveMarkerSide);
    emit changed();
    blink();
}

void WatermarkMarker::placeAtPointer(QPointF pos, const MarkScene& scene, bool centred)
{
    const QPointF at = scene.image.topLeft() + pos;
    rect_.moveTo(at.x() - rect_.width() / 2, centred ? at.y() - rect_.height() / 2 : at.y());
    emit changed();
}

PressAction WatermarkMarker::mousePress(Qt::MouseButton button, QPointF pos, const MarkScene& scene,
                                        const ChooseFree& chooseFree)
{
    if (button == Qt::RightButton) {
        if (!dragPointer_)
            return PressAction::OpenMenu;
        const bool moving = st_.win.bMovePic;
        st_.win.bMovePic = false;
        setDragPointer(false);
        return moving ? PressAction::MoveModeEnded : PressAction::None;
    }
    if (button != Qt::LeftButton)
        return PressAction::None;

    if (st_.win.bMovePic) {
        setDragPointer(true);
        placeAtPointer(pos, scene, false);
        show();
        ShowTip(st_, QStringLiteral("【提示】按住鼠标左键拖动蓝色条块即可调整位置,键盘方向键微调。鼠标右键退出移动模式。"));
        return PressAction::None;
    }
    const MarkHit hit = hitWatermark(scene, st_.ps, pos);
    if (hit == MarkHit::None) {
        setDragPointer(false);
        hide();
        return PressAction::None;
    }
    pinnedImg_ = hit == MarkHit::Picture;
    if (chooseFree)
        chooseFree(hit);
    if (!st_.win.bMovePic) {
        placeOver(pinnedImg_ ? MarkHit::Picture : MarkHit::Text, scene);
        show();  // also ends the blink the free-position choice may have started
        setDragPointer(true);
        ShowTip(st_, QStringLiteral("【提示】按住鼠标左键拖动蓝色条块即可调整位置,方向键微调。"));
    }
    return PressAction::None;
}

bool WatermarkMarker::follow(QPointF pos, const MarkScene& scene)
{
    const double W = scene.image.width(), H = scene.image.height();
    if (!(W > 0 && H > 0))
        return false;
    // Held inside the picture, so a watermark can never be dragged to where
    // no click reaches it again.
    const double x = std::clamp(pos.x(), 0.0, W), y = std::clamp(pos.y(), 0.0, H);
    ProgramState& ps = st_.ps;
    if (st_.win.bMovePic) {
        st_.pic.sngXp = float(x - W / 2);
        st_.pic.sngYp = float(y - H / 2);
        placeAtPointer({x, y}, scene, true);
    } else if (ps.bMarkIsImg) {
        ps.iuISyX = x / W;
        ps.iuISyY = y / H;
        placeAtPointer({x, y}, scene, false);
    } else {
        ps.iuTSyX = (x - rect_.width() / 2) / W;  // the marker's left edge is the text's
        ps.iuTSyY = y / H;
        placeAtPointer({x, y}, scene, false);
    }
    return true;
}

void WatermarkMarker::mouseMove(Qt::MouseButtons held, QPointF pos, const MarkScene& scene)
{
    if ((held & Qt::LeftButton) && visible_ && dragPointer_)
        follow(pos, scene);
    if (held == Qt::NoButton && !st_.win.bMovePic)
        setDragPointer(false);
}

ReleaseAction WatermarkMarker::mouseRelease(Qt::MouseButton button, QPointF pos, const MarkScene& scene)
{
    if (button != Qt::LeftButton || !visible_) {
        hide();
        return {};
    }
    if (!dragPointer_)
        return {};
    const bool moved = follow(pos, scene);
    hide();
    if (!moved)
        return {};
    if (st_.win.bMovePic)
        return {ReleaseAction::StartPoint, singleText(st_.pic.sngXp), singleText(st_.pic.sngYp)};
    return {ReleaseAction::Redraw, {}, {}};
}
