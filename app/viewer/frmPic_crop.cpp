// The crop tool: drawing, moving and reshaping the selection on the picture,
// panning a picture larger than the screen, the crop toolbar, and saving a
// confirmed crop into the list in place of its picture.
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>
#include <utility>

#include "platform/folders/ProgramFolders.h"
#include "platform/imaging/PictureReader.h"
#include "platform/imaging/PictureWriter.h"
#include "platform/prompter/Prompter.h"
#include "state/ProgramState.h"
#include "viewer/CaptureFileName.h"
#include "viewer/CropFrame.h"
#include "viewer/PictureDisplay.h"
#include "viewer/ViewerHost.h"
#include "viewer/frmBox.h"
#include "viewer/frmPic.h"

void frmPic::buildCropToolbar()
{
    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAutoFillBackground(true);
    Picture1->setPalette(QPalette(QColor(240, 240, 240)));
    Picture1->resize(272, 26);
    lblInfo = new QLabel(QStringLiteral("请选择下一步操作"), Picture1);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setGeometry(6, 5, 110, 16);
    const char* const tips[] = {"重新裁剪", "复制剪贴区域", "确定裁剪", "退出裁剪"};
    const char* const captions[] = {"重选", "复制", "确定", "退出"};
    for (int i = 0; i < 4; ++i) {
        auto* b = new QToolButton(Picture1);
        b->setObjectName(QStringLiteral("Image2(%1)").arg(i));
        b->setToolTip(QString::fromUtf8(tips[i]));
        b->setAccessibleName(QString::fromUtf8(tips[i]));
        b->setText(QString::fromUtf8(captions[i]));
        b->setAutoRaise(true);  // the frame shows while the mouse is over it
        b->setFocusPolicy(Qt::NoFocus);
        b->setCursor(Qt::ArrowCursor);
        b->setGeometry(120 + i * 37, 2, 36, 22);
        connect(b, &QToolButton::clicked, this, [this, i] { Image2_Click(i); });
        Image2[size_t(i)] = b;
    }
    Picture1->setCursor(Qt::ArrowCursor);
    Picture1->hide();
}

void frmPic::mCut_Click()
{
    ps_.bCutMode = true;
    bHasSel_ = false;
    bMoveSel_ = false;
    crop->setVisible(false);
    Picture1->hide();
    setCropCursor();
}

void frmPic::setCropCursor()
{
    imgMain->setCursor(ps_.bCutMode ? Qt::CrossCursor : Qt::ArrowCursor);
}

void frmPic::dropSelection()
{
    bHasSel_ = false;
    bMoveSel_ = false;
    drawing_ = false;
    cut_ = QImage();
    crop->setVisible(false);
    Picture1->hide();
}

bool frmPic::leaveCropMode()
{
    if (!ps_.bCutMode)
        return false;
    // Leaving the tool takes its frame and toolbar with it, as "退出裁剪" does.
    ps_.bCutMode = false;
    bHasSel_ = false;
    bMoveSel_ = false;
    drawing_ = false;
    crop->setVisible(false);
    Picture1->hide();
    lblTip->hide();
    setCropCursor();
    return true;
}

void frmPic::imgMain_MouseDown(Qt::MouseButton button, QPointF pos)
{
    if (button == Qt::RightButton) {
        if (!leaveCropMode() && ps_.iPicSource == 0 && ps_.iPicMode == 0)
            mImg2->popup(QCursor::pos());
        return;
    }
    if (button != Qt::LeftButton)
        return;
    thumbJustPressed_ = false;
    lastPress_ = pos;
    if (ps_.bCutMode) {
        bCanPan_ = false;
        if (!bHasSel_) {
            drawing_ = true;
            anchor_ = pos;
            return;
        }
        // Only a press inside the selection moves it; one outside does nothing.
        if (cropframe::inside(crop->rect(), pos + shown_.topLeft())) {
            bMoveSel_ = true;
            moveStart_ = crop->rect();
            pressPos_ = pos;
            imgMain->setCursor(Qt::SizeAllCursor);
        }
        return;
    }
    if (mImgSB->isChecked()) {
        bCanPan_ = true;
        pressPos_ = pos;
        imgMain->setCursor(Qt::ClosedHandCursor);
    }
}

void frmPic::imgMain_MouseMove(Qt::MouseButtons buttons, QPointF pos)
{
    if (ps_.bCutMode && !(buttons & Qt::LeftButton))
        imgMain->setCursor(bHasSel_ && cropframe::inside(crop->rect(), pos + shown_.topLeft()) ? Qt::SizeAllCursor
                                                                                               : Qt::CrossCursor);
    if (!(buttons & Qt::LeftButton))
        return;
    const QSizeF screen = screenSize();
    if (!ps_.bCutMode && bCanPan_ && (shown_.width() > screen.width() || shown_.height() > screen.height())) {
        // The picture follows the mouse while an edge is off screen, and no further.
        const QPointF d = pos - pressPos_;
        QRectF r = shown_;
        if (r.width() > screen.width())
            r.moveLeft(std::clamp(r.left() + d.x(), screen.width() - r.width(), 0.0));
        if (r.height() > screen.height())
            r.moveTop(std::clamp(r.top() + d.y(), screen.height() - r.height(), 0.0));
        placePicture(r);
        return;
    }
    if (!ps_.bCutMode)
        return;
    if (bMoveSel_) {
        Picture1->hide();
        crop->setRect(cropframe::moveInside(moveStart_, pos - pressPos_, shown_));
        crop->setVisible(true);
        return;
    }
    if (drawing_) {
        Picture1->hide();
        crop->setRect(cropframe::rubberBand(anchor_, pos, shown_.size()).translated(shown_.topLeft()));
        crop->setVisible(true);
    }
}

void frmPic::imgMain_MouseUp(Qt::MouseButton button, QPointF pos)
{
    if (button != Qt::LeftButton)
        return;
    if (bCanPan_) {
        imgMain->setCursor(Qt::ArrowCursor);
        return;
    }
    if (!ps_.bCutMode)
        return;
    if (drawing_) {
        drawing_ = false;
        const QRectF band = cropframe::rubberBand(anchor_, pos, shown_.size()).translated(shown_.topLeft());
        crop->setRect(band);
        if (!cutSelection()) {
            crop->setVisible(false);
            return;
        }
        bHasSel_ = true;
        showToolbar();
        return;
    }
    if (bMoveSel_) {
        bMoveSel_ = false;
        // The region follows the frame: what is confirmed is what is framed.
        cutSelection();
        showToolbar();
    }
}

void frmPic::imgMain_DblClick(QPointF)
{
    // The second click of a double click on a thumbnail lands on the picture
    // it opened: that is no request to close.
    if (std::exchange(thumbJustPressed_, false))
        return;
    if (ps_.bCutMode && bHasSel_ && cropframe::inside(crop->rect(), lastPress_ + shown_.topLeft())) {
        Image2_Click(2);
        return;
    }
    close();
}

const QImage& frmPic::cropSource()
{
    // The shown file itself, or, over the processed preview, the entry's
    // source file: the list holds sources, so a crop replaces one by a part of it.
    if (ps_.iPicSource == 0 || shownEntry_ < 0)
        return picture_;
    if (sourceEntry_ != shownEntry_ || source_.isNull()) {
        source_ = imaging::loadPicture(host_.listItem(shownEntry_));
        sourceEntry_ = shownEntry_;
    }
    return source_.isNull() ? picture_ : source_;
}

bool frmPic::cutSelection()
{
    const QImage& real = cropSource();
    const QRect region = viewerlayout::cropRegion(crop->rect(), shown_, real.size());
    if (region.isEmpty())
        return false;
    cut_ = real.copy(region);
    return true;
}

void frmPic::showToolbar()
{
    Picture1->move(viewerlayout::toolbarPlace(crop->rect(), QSizeF(Picture1->size()), screenSize()).toPoint());
    Picture1->show();
    Picture1->raise();
}

void frmPic::Image2_Click(int index)
{
    crop->setVisible(false);
    Picture1->hide();
    switch (index) {
    case 0:
        bHasSel_ = false;
        setCropCursor();
        break;
    case 1:
        if (!cut_.isNull())
            QGuiApplication::clipboard()->setImage(cut_);
        ps_.bCutMode = false;
        bHasSel_ = false;
        setCropCursor();
        break;
    case 2:
        confirmCrop();
        break;
    case 3:
        leaveCropMode();
        break;
    default:
        break;
    }
}

void frmPic::restoreAfterCrop(const QImage& source)
{
    showPicture(source, shownPath_, shownEntry_);
    bHasSel_ = false;
    setCropCursor();
}

void frmPic::confirmCrop()
{
    if (cut_.isNull())
        return;
    const QImage source = picture_;
    const QImage region = cut_;
    showPicture(region, shownPath_, shownEntry_);
    frmBox box(ps_, this);
    box.move(mapToGlobal(
        viewerlayout::confirmBoxPlace(QSizeF(box.size()), shown_, screenSize()).toPoint()));
    execBox(box);
    if (!ps_.bConfirmOK) {
        restoreAfterCrop(source);
        return;
    }
    const QString folder = ProgramFolders::userDir();
    QDir().mkpath(folder);
    const QString path = captureFileName(folder, QStringLiteral("user"), now(), QStringLiteral(".bmp"));
    const imaging::WriteResult written = imaging::writePicture(region, path, imaging::Encoder::Bmp, 0);
    if (!written.ok) {
        prompter_.message(QStringLiteral("裁剪的图片未能保存:") + written.error, QString(), PromptIcon::Critical);
        restoreAfterCrop(source);
        return;
    }
    // The picture it was cut from leaves the list; its file stays as it is.
    if (shownEntry_ >= 0 && (ps_.iPicSource != 0 || host_.listItem(shownEntry_) == shownPath_))
        host_.removeListItem(shownEntry_);
    host_.appendListItem(path);
    const int last = host_.listCount() - 1;
    host_.setListIndex(last);
    host_.lstFile_Click();
    shownPath_ = path;
    shownEntry_ = last;
    iPage_ = viewerlayout::lastPage(host_.listCount());
    ps_.bCutMode = false;
    bHasSel_ = false;
    setCropCursor();
}

bool frmPic::filterPictureEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        imgMain_MouseDown(e->button(), e->position());
        return true;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        imgMain_MouseMove(e->buttons(), e->position());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        imgMain_MouseUp(e->button(), e->position());
        return true;
    }
    case QEvent::MouseButtonDblClick: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton)
            imgMain_DblClick(e->position());
        return true;
    }
    case QEvent::Wheel:
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    default:
        return false;
    }
}
