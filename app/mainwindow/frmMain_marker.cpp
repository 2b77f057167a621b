// The marker on the preview: a click on a watermark lays a blue bar under it,
// dragging moves the watermark (or, in move mode, the picture's start point),
// and the arrow keys nudge it or step through the list.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCheckBox>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include "mainwindow/MarkerGeometry.h"
#include "mainwindow/frmMain.h"
#include "state/AppState.h"

namespace {

constexpr int kMarkerHeight = 3;  // 45 twips

QFont watermarkFont(const ProgramState& ps)
{
    QFont font(ps.sFont);
    // Pictures are drawn at 96 dots per inch, so a point is 4/3 of a pixel.
    font.setPixelSize(std::max(1, int(std::lround(ps.iSize * 96.0 / 72.0))));
    font.setBold(ps.sBold);
    font.setItalic(ps.sItalic);
    font.setUnderline(ps.sUnderline);
    return font;
}

} // namespace

double frmMain::textWidthOnPicture() const
{
    if (app.ps.sText.isEmpty())
        return 0;
    return QFontMetricsF(watermarkFont(app.ps)).horizontalAdvance(app.ps.sText);
}

double frmMain::textHeightOnPicture() const
{
    return app.ps.sText.isEmpty() ? 0 : QFontMetricsF(watermarkFont(app.ps)).height();
}

bool frmMain::freePositionMode() const
{
    const bool textFree = cmbPos->currentIndex() == cmbPos->count() - 1 && chkInfoTxt->isChecked();
    const bool pictureFree = cmbPosImg->currentIndex() == cmbPosImg->count() - 1 && chkInfoImg->isChecked();
    return textFree || pictureFree || app.win.bMovePic;
}

bool frmMain::pinRect(QPointF pos)
{
    WatermarkZones z;
    z.previewW = imgM->width();
    z.previewH = imgM->height();
    z.textOn = chkInfoTxt->isChecked() && !app.ps.sText.isEmpty();
    z.textX = app.ps.iuTSyX;
    z.textY = app.ps.iuTSyY;
    z.textW = textWidthOnPicture();
    z.textH = textHeightOnPicture();
    z.pictureOn = chkInfoImg->isChecked() && !app.ps.sSyFile.isEmpty();
    z.pictureX = app.ps.iuISyX;
    z.pictureY = app.ps.iuISyY;
    z.pictureW = app.ps.sngSyW;
    z.pictureH = app.ps.sngSyH;
    switch (hitWatermark(z, pos.x(), pos.y())) {
    case MarkerHit::Text:
        if (cmbPos->currentIndex() == cmbPos->count() - 1)
            cmbPos_Click();
        else
            cmbPos->setCurrentIndex(cmbPos->count() - 1);
        bPinnedImg_ = false;
        return true;
    case MarkerHit::Picture:
        if (cmbPosImg->currentIndex() == cmbPosImg->count() - 1)
            cmbPosImg_Click();
        else
            cmbPosImg->setCurrentIndex(cmbPosImg->count() - 1);
        bPinnedImg_ = true;
        return true;
    case MarkerHit::None:
        break;
    }
    return false;
}

void frmMain::placeMarkerOver(bool picture)
{
    const double W = imgM->width(), H = imgM->height();
    const double sx = picM_.width() > 0 ? W / picM_.width() : 0;
    const double sy = picM_.height() > 0 ? H / picM_.height() : 0;
    const ProgramState& ps = app.ps;
    if (picture) {
        const double w = ps.sngSyW * sx;
        lblPos->setGeometry(int(imgM->x() + W * ps.iuISyX - w / 2), int(imgM->y() + H * ps.iuISyY + ps.sngSyH * sy / 2),
                            std::max(1, int(w)), kMarkerHeight);
    } else {
        const double w = textWidthOnPicture() * sx;
        lblPos->setGeometry(int(imgM->x() + W * ps.iuTSyX), int(imgM->y() + H * ps.iuTSyY + textHeightOnPicture() / 2 * sx),
                            std::max(1, int(w)), kMarkerHeight);
    }
}

void frmMain::blinkMarker()
{
    blinkStep_ = 0;
    lblPos->show();
    blinkTimer_->start();
}

void frmMain::cmbPos_Click()
{
    app.panel.cmbPos = cmbPos->currentIndex();
    mXYPos->setEnabled(false);
    if (app.ps.iReady != 1)
        return;
    const bool zero = app.ps.iuTSyX == 0 && app.ps.iuTSyY == 0;
    if (cmbPos->currentIndex() == cmbPos->count() - 1) {
        app.ps.bMarkIsImg = false;
        app.status.show(QStringLiteral("【提示】按住鼠标左键拖动红色圆块即可调整位置,方向键微调。"));
        if (!zero)
            placeMarkerOver(false);
        blinkMarker();
        app.win.bMovePic = false;
        picImg->setFocus();
        return;
    }
    lstFile_Click();
    if (!(app.ps.iuTSyX == 0 && app.ps.iuTSyY == 0))
        placeMarkerOver(false);
    lblPos->hide();
}

void frmMain::cmbPosImg_Click()
{
    app.panel.cmbPosImg = cmbPosImg->currentIndex();
    mXYPos->setEnabled(false);
    if (app.ps.iReady != 1)
        return;
    const bool zero = app.ps.iuISyX == 0 && app.ps.iuISyY == 0;
    if (cmbPosImg->currentIndex() == cmbPosImg->count() - 1) {
        app.ps.bMarkIsImg = true;
        app.status.show(QStringLiteral("【提示】按住鼠标左键拖动蓝色条块即可调整位置,方向键微调。"));
        if (!zero)
            placeMarkerOver(true);
        blinkMarker();
        app.win.bMovePic = false;
        picImg->setFocus();
        return;
    }
    lstFile_Click();
    if (!(app.ps.iuISyX == 0 && app.ps.iuISyY == 0))
        placeMarkerOver(true);
    lblPos->hide();
}

void frmMain::imgM_MouseDown(Qt::MouseButton button, QPointF pos)
{
    if (button == Qt::LeftButton) {
        blinkTimer_->stop();
        if (app.win.bMovePic) {
            markerDrag_ = true;
            lblPos->move(int(imgM->x() + pos.x() - lblPos->width() / 2.0), int(imgM->y() + pos.y()));
            lblPos->show();
            app.status.show(QStringLiteral("【提示】按住鼠标左键拖动蓝色条块即可调整位置,键盘方向键微调。鼠标右键退出移动模式。"));
        } else if (pinRect(pos) && !app.win.bMovePic) {
            blinkTimer_->stop();
            placeMarkerOver(bPinnedImg_);
            lblPos->show();
            markerDrag_ = true;
            app.status.show(QStringLiteral("【提示】按住鼠标左键拖动蓝色条块即可调整位置,方向键微调。"));
        } else {
            markerDrag_ = false;
            lblPos->hide();
        }
    } else if (button == Qt::RightButton) {
        if (markerDrag_) {
            app.win.bMovePic = false;
            markerDrag_ = false;
        } else {
            mImgOpt->popup(imgM->mapToGlobal(pos.toPoint()));
        }
    }
    imgM->setCursor(markerDrag_ ? Qt::SizeAllCursor : Qt::ArrowCursor);
}

void frmMain::storeDrag(QPointF pos)
{
    const double W = imgM->width(), H = imgM->height();
    if (app.win.bMovePic) {
        const Fractions p = dragStartPointTo(pos.x(), pos.y(), W, H);
        app.pic.sngXp = float(p.x);
        app.pic.sngYp = float(p.y);
    } else if (app.ps.bMarkIsImg) {
        const Fractions f = dragPictureTo(pos.x(), pos.y(), W, H);
        app.ps.iuISyX = f.x;
        app.ps.iuISyY = f.y;
    } else {
        const Fractions f = dragTextTo(pos.x(), pos.y(), lblPos->width(), W, H);
        app.ps.iuTSyX = f.x;
        app.ps.iuTSyY = f.y;
    }
}

void frmMain::placeMarkerOnDrag(QPointF pos)
{
    const double top = app.win.bMovePic ? pos.y() - lblPos->height() / 2.0 : pos.y();
    lblPos->move(int(imgM->x() + pos.x() - lblPos->width() / 2.0), int(imgM->y() + top));
}

void frmMain::imgM_MouseMove(Qt::MouseButtons buttons, QPointF pos)
{
    if ((buttons & Qt::LeftButton) && lblPos->isVisible() && markerDrag_) {
        storeDrag(pos);
        placeMarkerOnDrag(pos);
    }
    if (buttons == Qt::NoButton && !app.win.bMovePic) {
        markerDrag_ = false;
        imgM->setCursor(Qt::ArrowCursor);
    }
    const QPointF inArea(imgM->x() + pos.x(), imgM->y() + pos.y());
    Frame3->setVisible(imgM->x() < Frame3->width() && inArea.x() > picImg->width() - Frame3->width());
    Frame4->setVisible(imgM->y() < Frame4->height() && inArea.y() < Frame4->height() &&
                       Frame4->x() < inArea.x() && inArea.x() < Frame4->x() + Frame4->width());
}

void frmMain::picImg_MouseMove(QPointF pos)
{
    Frame3->setVisible(pos.x() > picImg->width() - Frame3->width());
    Frame4->setVisible(pos.y() < Frame4->height() && Frame4->x() < pos.x() && pos.x() < Frame4->x() + Frame4->width());
}

void frmMain::imgM_MouseUp(Qt::MouseButton button, QPointF pos)
{
    if (button != Qt::LeftButton || !lblPos->isVisible()) {
        lblPos->hide();
        return;
    }
    if (!markerDrag_)
        return;
    storeDrag(pos);
    placeMarkerOnDrag(pos);
    if (app.win.bMovePic) {
        txtXp->setText(QString::number(app.pic.sngXp));
        txtYp->setText(QString::number(app.pic.sngYp));
    } else {
        lstFile_Click();
    }
    lblPos->hide();
}

void frmMain::picImg_KeyDown(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        mFBrows2_Click();
        return;
    }
    const bool right = key == Qt::Key_Right, down = key == Qt::Key_Down;
    const bool left = key == Qt::Key_Left, up = key == Qt::Key_Up;
    if (!(right || down || left || up))
        return;
    if (!freePositionMode()) {
        const bool forward = right || down;
        const int next = listIndex() + (forward ? 1 : -1);
        if (next >= 0 && next < lstFile->count() && listIndex() >= 0)
            setListIndex(next);
        else
            QApplication::beep();
        return;
    }
    lblPos->hide();
    const int sign = (right || down) ? 1 : -1;
    const bool horizontal = right || left;
    const double W = std::max(1, imgM->width()), H = std::max(1, imgM->height());
    if (app.win.bMovePic)
        (horizontal ? app.pic.sngXp : app.pic.sngYp) += float(sign);
    else if (app.ps.bMarkIsImg)
        (horizontal ? app.ps.iuISyX : app.ps.iuISyY) += sign / (horizontal ? W : H);
    else
        (horizontal ? app.ps.iuTSyX : app.ps.iuTSyY) += sign / (horizontal ? W : H);
    lstFile_Click();
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
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const bool ours = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Left ||
                          key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
        if (watched != picImg || !ours)
            return false;
        picImg_KeyDown(key);
        return true;
    }
    default:
        return false;
    }
}
