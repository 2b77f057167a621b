// The marker on the preview: a click on a watermark lays a blue bar under it,
// dragging moves the watermark (or, in move mode, the picture's start point),
// and the arrow keys nudge it or step through the list. The window forwards
// the events; the marker logic decides.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>

#include "mainwindow/frmMain.h"
#include "settings/menus/MenuCommands.h"
#include "mainwindow/preview/HoverPanels.h"
#include "mainwindow/preview/PreviewKeys.h"
#include "settings/SettingsPanel.h"
#include "state/AppState.h"

void frmMain::connectMarker()
{
    connect(marker_, &WatermarkMarker::changed, this, [this] {
        lblPos->setGeometry(marker_->rect().toRect());
        lblPos->setVisible(marker_->visible());
        imgM->setCursor(marker_->dragPointer() ? Qt::SizeAllCursor : Qt::ArrowCursor);
    });
}

bool frmMain::freePositionMode() const
{
    return ::freePositionMode(app);
}

void frmMain::chooseFreePosition(MarkHit hit)
{
    QComboBox* box = hit == MarkHit::Text ? panel->cmbPos : panel->cmbPosImg;
    if (box->currentIndex() == box->count() - 1)
        hit == MarkHit::Text ? panel->cmbPos_Click() : panel->cmbPosImg_Click();
    else
        box->setCurrentIndex(box->count() - 1);
}

void frmMain::imgM_MouseDown(Qt::MouseButton button, QPointF pos)
{
    const PressAction a = marker_->mousePress(button, pos, preview_.markScene(),
                                              [this](MarkHit hit) { chooseFreePosition(hit); });
    // A right click may have ended the picture-move mode, and the typed
    // start point belongs to that mode.
    if (!app.win.bMovePic)
        menus->mXYPos->setEnabled(false);
    if (a == PressAction::OpenMenu)
        menus->mImgOpt->popup(imgM->mapToGlobal(pos.toPoint()));
    else if (a == PressAction::MoveModeEnded)
        showPictureTip();
}

PanelPlaces frmMain::panelPlaces() const
{
    return {double(picImg->width()), double(Frame3->width()), QRectF(Frame4->geometry())};
}

void frmMain::showHoverPanels(const HoverPanels& h)
{
    Frame3->setVisible(h.right);
    Frame4->setVisible(h.top);
}

void frmMain::imgM_MouseMove(Qt::MouseButtons buttons, QPointF pos)
{
    marker_->mouseMove(buttons, pos, preview_.markScene());
    showHoverPanels(hoverOverImage(imgM->pos(), imgM->pos() + pos, panelPlaces()));
}

void frmMain::picImg_MouseMove(QPointF pos)
{
    showHoverPanels(hoverOverArea(pos, panelPlaces()));
}

void frmMain::imgM_MouseUp(Qt::MouseButton button, QPointF pos)
{
    const ReleaseAction r = marker_->mouseRelease(button, pos, preview_.markScene());
    if (r.kind == ReleaseAction::Redraw) {
        lstFile_Click();
    } else if (r.kind == ReleaseAction::StartPoint) {
        panel->txtXp->setText(r.xText);
        panel->txtYp->setText(r.yText);
    }
}

bool frmMain::picImg_KeyDown(int key)
{
    const KeyAction k = previewKeyDown(key, app, QSizeF(imgM->size()), listIndex(), lstFile->count());
    switch (k.kind) {
    case KeyAction::OpenViewer:
        menus->mFBrows2_Click();
        return true;
    case KeyAction::Redraw:
        marker_->hide();
        lstFile_Click();
        return true;
    case KeyAction::Select:
        setListIndex(k.index);
        return true;
    case KeyAction::Beep:
        QApplication::beep();
        return true;
    case KeyAction::None:
        break;
    }
    return false;
}

bool frmMain::filterPreviewEvent(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (watched == picImg) {
            if (event->type() == QEvent::MouseMove)
                picImg_MouseMove(e->position());
            if (event->type() == QEvent::MouseButtonPress)
                picImg->setFocus();
            return false;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            picImg->setFocus();
            imgM_MouseDown(e->button(), e->position());
        } else if (event->type() == QEvent::MouseButtonRelease) {
            imgM_MouseUp(e->button(), e->position());
        } else {
            imgM_MouseMove(e->buttons(), e->position());
        }
        return true;
    }
    case QEvent::KeyPress:
        // A key a child left unused (Return in a text box, the arrows in the
        // description) bubbles up here; only the preview's own keys count.
        return watched == picImg && focusWidget() == picImg &&
               picImg_KeyDown(static_cast<QKeyEvent*>(event)->key());
    default:
        return false;
    }
}
