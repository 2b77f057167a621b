// The viewer's menus: fit and natural size, the thumbnail grid, the slide
// show and its interval, background colours, wallpaper and copying.
#include <QActionGroup>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include "platform/imaging/PictureReader.h"
#include "platform/imaging/PictureWriter.h"
#include "platform/prompter/Prompter.h"
#include "state/ProgramState.h"
#include "viewer/CropFrame.h"
#include "viewer/PictureDisplay.h"
#include "viewer/SlideShow.h"
#include "viewer/ViewBackColor.h"
#include "viewer/ViewerHost.h"
#include "viewer/WallpaperFile.h"
#include "viewer/frmPic.h"

namespace {

QAction* item(QMenu* menu, const char* name, const QString& caption)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

QMenu* menu(QWidget* owner, const char* name, const QString& caption)
{
    auto* m = new QMenu(caption, owner);
    m->setObjectName(QString::fromLatin1(name));
    return m;
}

} // namespace

void frmPic::buildMenus()
{
    mImg2 = menu(this, "mImg2", QStringLiteral("图片"));
    mImgSA = item(mImg2, "mImgSA", QStringLiteral("适合屏幕"));
    mImgSB = item(mImg2, "mImgSB", QStringLiteral("原始大小"));
    mImgSA->setCheckable(true);
    mImgSB->setCheckable(true);
    mImgSA->setChecked(true);
    mImg2->addSeparator();
    mCut = item(mImg2, "mCut", QStringLiteral("裁剪图片"));
    mImgCopy = item(mImg2, "mImgCopy", QStringLiteral("复制图像"));
    mImgSetD = menu(mImg2, "mImgSetD", QStringLiteral("设为桌面"));
    mImg2->addMenu(mImgSetD);
    mImgSetD1 = item(mImgSetD, "mImgSetD1", QStringLiteral("拉伸"));
    mImgSetD2 = item(mImgSetD, "mImgSetD2", QStringLiteral("居中"));
    mImgSetD0 = item(mImgSetD, "mImgSetD0", QStringLiteral("平铺"));
    mImg2->addSeparator();
    mLB = item(mImg2, "mLB", QStringLiteral("多图列表浏览"));
    mSLD = item(mImg2, "mSLD", QStringLiteral("幻灯片浏览"));
    mSLD->setCheckable(true);
    mSLDP = item(mImg2, "mSLDP", QStringLiteral("播放速度设置..."));
    mSetBGCLR = menu(mImg2, "mSetBGCLR", QStringLiteral("背景颜色设置"));
    mImg2->addMenu(mSetBGCLR);
    for (int i = 0; i < viewbackcolor::kCount; ++i) {
        QAction* a = item(mSetBGCLR, QStringLiteral("mSetBGCLRS(%1)").arg(i).toLatin1().constData(),
                          viewbackcolor::caption(i));
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, i] { mSetBGCLRS_Click(i); });
        mSetBGCLRS[size_t(i)] = a;
    }
    mImg2->addSeparator();
    mImgClose = item(mImg2, "mImgClose", QStringLiteral("退出全屏   ESC"));

    mImgF = menu(this, "mImgF", QStringLiteral("缩略图"));
    mRemove = item(mImgF, "mRemove", QStringLiteral("移除图片"));

    connect(mImgSA, &QAction::triggered, this, &frmPic::mImgSA_Click);
    connect(mImgSB, &QAction::triggered, this, &frmPic::mImgSB_Click);
    connect(mCut, &QAction::triggered, this, &frmPic::mCut_Click);
    connect(mImgCopy, &QAction::triggered, this, &frmPic::mImgCopy_Click);
    connect(mImgSetD0, &QAction::triggered, this, [this] { setWallpaper(0); });
    connect(mImgSetD1, &QAction::triggered, this, [this] { setWallpaper(1); });
    connect(mImgSetD2, &QAction::triggered, this, [this] { setWallpaper(2); });
    connect(mLB, &QAction::triggered, this, &frmPic::mLB_Click);
    connect(mSLD, &QAction::triggered, this, &frmPic::mSLD_Click);
    connect(mSLDP, &QAction::triggered, this, &frmPic::mSLDP_Click);
    connect(mImgClose, &QAction::triggered, this, &QWidget::close);
    connect(mRemove, &QAction::triggered, this, &frmPic::mRemove_Click);
}

void frmPic::mImgSA_Click()
{
    // From the picture's own size, so a fitted picture stays fitted.
    ShowAll();
}

void frmPic::mImgSB_Click()
{
    mImgSA->setChecked(false);
    mImgSB->setChecked(true);
    placePicture(QRectF(viewerlayout::naturalPlacement(QSizeF(picture_.size()), screenSize()),
                        QSizeF(picture_.size())));
}

void frmPic::mImgCopy_Click()
{
    if (!picture_.isNull())
        QGuiApplication::clipboard()->setImage(picture_);
}

void frmPic::setWallpaper(int style)
{
    const WallpaperFile file =
        chooseWallpaperFile(ps_.iPicSource, ps_.iPicSource == 0 ? shownPath_ : QString(), wallpaperCopyPath());
    if (file.writeCopy) {
        QDir().mkpath(QFileInfo(file.path).absolutePath());
        const imaging::WriteResult written =
            imaging::writePicture(picture_, file.path, imaging::Encoder::Bmp, 0);
        if (!written.ok) {
            host_.showTip(QStringLiteral("【操作错误】无法保存桌面图片:") + written.error);
            return;
        }
    }
    host_.setWallpaper(file.path, style);
}

void frmPic::mSetBGCLRS_Click(int index)
{
    SetViewBackColor(index);
    host_.storeSetting(QStringLiteral("iBGColor"), QString::number(backIndex_));
}

void frmPic::SetViewBackColor(int index)
{
    backIndex_ = viewbackcolor::valid(index);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, viewbackcolor::colour(backIndex_));
    setPalette(pal);
    for (int i = 0; i < viewbackcolor::kCount; ++i)
        mSetBGCLRS[size_t(i)]->setChecked(i == backIndex_);
    picBox->update();
}

// --- thumbnail grid

void frmPic::clearThumbs()
{
    for (QLabel* l : imgL) {
        l->clear();
        l->hide();
    }
}

void frmPic::showThumbPage()
{
    clearThumbs();
    const int count = host_.listCount();
    iPage_ = std::clamp(iPage_, 0, viewerlayout::lastPage(count));
    const viewerlayout::ThumbPage page = viewerlayout::thumbPage(iPage_, count);
    const int screenTwips = int(screenSize().width() * viewerlayout::kTwipsPerPixel);
    const qreal dpr = devicePixelRatioF();
    for (int i = page.first; i <= page.last; ++i) {
        QLabel* l = imgL[size_t(i - page.first)];
        const QRect cell = viewerlayout::thumbnailCell(i - page.first, screenTwips);
        l->setGeometry(cell);
        const QString path = host_.listItem(i);
        const imaging::PictureProbe probe = imaging::probePicture(path);
        if (probe.ok()) {
            const double shrink = std::min(probe.size.width() / (cell.width() * dpr),
                                           probe.size.height() / (cell.height() * dpr));
            QImage image = imaging::loadPictureReduced(path, probe, shrink).image;
            if (!image.isNull()) {
                // Stretched to the cell, drawn at the screen's resolution.
                QPixmap pixmap = QPixmap::fromImage(image.scaled((QSizeF(cell.size()) * dpr).toSize(),
                                                                 Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
                pixmap.setDevicePixelRatio(dpr);
                l->setPixmap(pixmap);
            }
        }
        l->show();
    }
    Command1->setEnabled(page.previous);
    Command2->setEnabled(page.next);
}

void frmPic::mLB_Click()
{
    imgMain->hide();
    Timer1->stop();
    mSLD->setChecked(false);
    ps_.iPicMode = 1;
    iPage_ = 0;
    showThumbPage();
    picBox->move(viewerlayout::buttonBarPlace(QSizeF(picBox->size()), screenSize()).toPoint());
    picBox->show();
    picBox->raise();
    setCursor(Qt::ArrowCursor);
}

void frmPic::Command1_Click()
{
    if (iPage_ == 0)
        return;
    --iPage_;
    showThumbPage();
}

void frmPic::Command2_Click()
{
    if (!viewerlayout::thumbPage(iPage_, host_.listCount()).next)
        return;
    ++iPage_;
    showThumbPage();
}

void frmPic::imgL_MouseDown(int index, Qt::MouseButton button)
{
    if (button == Qt::RightButton) {
        iThumbIndex_ = index;
        mImgF->popup(QCursor::pos());
        return;
    }
    const int entry = iPage_ * viewerlayout::kThumbsPerPage + index;
    if (entry >= host_.listCount())
        return;
    thumbJustPressed_ = true;
    host_.setListIndex(entry);
    if (ShowPic(host_.listItem(entry)))
        shownEntry_ = entry;
    ps_.iPicMode = 0;
    imgMain->show();
    clearThumbs();
    picBox->hide();
}

void frmPic::mRemove_Click()
{
    const int entry = iPage_ * viewerlayout::kThumbsPerPage + iThumbIndex_;
    if (iThumbIndex_ < 0 || !host_.removeListItem(entry))
        return;
    if (shownEntry_ == entry)
        shownEntry_ = -1;
    else if (shownEntry_ > entry)
        --shownEntry_;
    // The entries behind the removed one moved up: the page is laid out again.
    showThumbPage();
}

// --- slide show

void frmPic::mSLD_Click()
{
    // The action checks itself before this runs, so the timer tells the state.
    if (Timer1->isActive()) {
        Timer1->stop();
        mSLD->setChecked(false);
        return;
    }
    mSLD->setChecked(true);
    Timer1->setInterval(slideshow::intervalMs(ps_.iSlideTime));
    Timer1->start();
    picBox->hide();
    ps_.iPicMode = 2;
    clearThumbs();
}

void frmPic::Timer1_Timer()
{
    const int entry = slideshow::entryForTick(slideshow::takeTick(), host_.listCount());
    if (entry < 0)
        return;
    if (ShowPic(host_.listItem(entry)))
        shownEntry_ = entry;
}

void frmPic::mSLDP_Click()
{
    const std::optional<QString> answer = prompter_.input(QStringLiteral("请输入幻灯片时间间隔(单位:秒)"),
                                                          QStringLiteral("设置"), QString::number(ps_.iSlideTime));
    if (!answer)
        return;
    if (const std::optional<int> seconds = slideshow::parseSeconds(*answer)) {
        ps_.iSlideTime = *seconds;
        Timer1->setInterval(slideshow::intervalMs(ps_.iSlideTime));
    }
}

void frmPic::Timer2_Timer()
{
    if (!ps_.bCutMode)
        return;
    ++iTipTick_;
    lblTip->setVisible(iTipTick_ % 5 != 0);
    if (lblTip->isVisible())
        lblTip->raise();
    if (iTipTick_ > 5) {
        lblTip->hide();
        iTipTick_ = 0;
        Timer2->stop();
    }
}
