// The viewer window: construction, opening, showing a picture, keys, the
// wheel, the background's mouse and closing.
#include "viewer/frmPic.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>
#include <utility>

#include "platform/folders/ProgramFolders.h"
#include "platform/imaging/PictureReader.h"
#include "platform/prompter/Prompter.h"
#include "processing/LoadTrouble.h"
#include "state/ProgramState.h"
#include "viewer/CropFrame.h"
#include "viewer/PictureDisplay.h"
#include "viewer/ViewBackColor.h"
#include "viewer/ViewerHost.h"
#include "viewer/frmBox.h"

namespace {

QString tempPreviewPath()
{
    return ProgramFolders::userDir() + QStringLiteral("/tempBZ.bmp");
}

} // namespace

frmPic::frmPic(ProgramState& ps, ViewerHost& host, Prompter& prompter, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), ps_(ps), host_(host), prompter_(prompter)
{
    setObjectName(QStringLiteral("frmPic"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAutoFillBackground(true);
    screenRect = [this] {
        const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
        return s ? s->geometry() : QRect(0, 0, 1024, 768);
    };
    beep = [] { QApplication::beep(); };
    execBox = [](frmBox& box) { box.exec(); };
    now = [] { return QDateTime::currentDateTime(); };
    buildControls();
    buildCropToolbar();
    buildMenus();
}

frmPic::~frmPic() = default;

void frmPic::buildControls()
{
    imgMain = new PictureDisplay(this);
    imgMain->setObjectName(QStringLiteral("imgMain"));
    imgMain->setMouseTracking(true);
    imgMain->installEventFilter(this);
    imgMain->hide();

    for (int i = 0; i < viewerlayout::kThumbsPerPage; ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(QStringLiteral("imgL(%1)").arg(i));
        l->setScaledContents(true);
        l->installEventFilter(this);
        l->hide();
        imgL[size_t(i)] = l;
    }

    picBox = new QWidget(this);
    picBox->setObjectName(QStringLiteral("picBox"));
    picBox->resize(qRound(viewerlayout::twips(3975)), qRound(viewerlayout::twips(450)));
    const auto button = [this](const char* name, const QString& text, int left) {
        auto* b = new QPushButton(text, picBox);
        b->setObjectName(QString::fromLatin1(name));
        b->setFocusPolicy(Qt::NoFocus);
        b->setGeometry(left, 3, 60, 24);
        return b;
    };
    Command1 = button("Command1", QStringLiteral("<"), 5);
    Command2 = button("Command2", QStringLiteral(">"), 70);
    Command3 = button("Command3", QStringLiteral("幻灯"), 135);
    Command4 = button("Command4", QStringLiteral("返回"), 200);
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    picBox->hide();
    connect(Command1, &QPushButton::clicked, this, &frmPic::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmPic::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmPic::mSLD_Click);
    connect(Command4, &QPushButton::clicked, this, &QWidget::close);

    lblTip = new QLabel(QStringLiteral("【提示】按住鼠标左键拖动选择裁剪的区域。"), this);
    lblTip->setObjectName(QStringLiteral("lblTip"));
    lblTip->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    lblTip->adjustSize();
    lblTip->hide();

    crop = new CropFrame(this);
    connect(crop, &CropFrame::handlePressed, this, [this] { Picture1->hide(); });
    connect(crop, &CropFrame::reshaped, this, [this] {
        if (cutSelection())
            showToolbar();
    });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(3000);
    connect(Timer1, &QTimer::timeout, this, &frmPic::Timer1_Timer);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(500);
    connect(Timer2, &QTimer::timeout, this, &frmPic::Timer2_Timer);
}

QSizeF frmPic::screenSize() const
{
    return QSizeF(geometry().size());
}

bool frmPic::Form_Load()
{
    setGeometry(screenRect());
    SetViewBackColor(viewbackcolor::fromSetting(host_.setting(QStringLiteral("iBGColor"))));
    imgMain->move(0, 0);
    mImgSA->setChecked(false);
    mImgSB->setChecked(true);
    bCanPan_ = true;
    Timer2->start();

    QString path;
    if (ps_.iPicSource == 0) {
        // The selected entry, even when its preview failed and left the
        // current picture at the one before.
        path = host_.listIndex() >= 0 ? host_.listItem(host_.listIndex()) : ps_.sPicFile;
    } else if (ps_.iPicSource == 1) {
        path = tempPreviewPath();
    }
    bool ok = true;
    if (ps_.iPicMode == 1) {
        mLB_Click();
    } else {
        ok = ShowPic(path);
        if (ok) {
            shownEntry_ = ps_.iPicSource == 0 && host_.listItem(host_.listIndex()) != path ? -1 : host_.listIndex();
            if (ps_.iPicMode == 2)
                mSLD_Click();
        }
    }
    if (!ok) {
        host_.showTip(QStringLiteral("【操作错误】无法打开图片:") + path);
        close();
        return false;
    }
    if (ps_.bCutMode)
        mCut_Click();
    host_.setHostVisible(false);
    return true;
}

bool frmPic::ShowPic(const QString& path)
{
    if (path.isEmpty())
        return false;
    const imaging::LoadedPicture loaded = imaging::loadWholePicture(path);
    if (loaded.image.isNull())
        return false;
    showPicture(loaded.image, path, shownEntry_);
    // A picture read in part is shown with its grey rest: the status line says why.
    const LoadTrouble trouble = loadTrouble(loaded, loaded.decodedSize);
    if (trouble.damaged)
        host_.showTip(QStringLiteral("【提示】") + troubleText(QString(), path, trouble));
    return true;
}

void frmPic::showPicture(const QImage& picture, const QString& path, int entry)
{
    picture_ = picture;
    shownPath_ = path;
    shownEntry_ = entry;
    imgMain->hide();
    imgMain->setPicture(picture_);
    ShowAll();
    imgMain->show();
    imgMain->lower();
}

void frmPic::placePicture(const QRectF& rect)
{
    shown_ = rect;
    imgMain->setGeometry(rect.toRect());
    crop->setBounds(shown_);
}

void frmPic::ShowAll()
{
    const viewerlayout::Fit fit = viewerlayout::fitToScreen(QSizeF(picture_.size()), screenSize());
    placePicture(fit.rect);
    mImgSA->setChecked(fit.fitted);
    mImgSB->setChecked(!fit.fitted);
    bCanPan_ = false;
}

void frmPic::step(int delta)
{
    const int index = host_.listIndex();
    const int target = index + delta;
    if (ps_.iPicMode != 0 || target < 0 || target >= host_.listCount() || index < 0) {
        beep();
        return;
    }
    host_.setListIndex(target);
    // A selection framed on the picture before belongs to that picture: it
    // goes with it, so a confirm can never cut one picture and replace another.
    dropSelection();
    if (ps_.iPicSource == 0) {
        const QString path = host_.listItem(target);
        if (ShowPic(path))
            shownEntry_ = target;
        else
            cannotShow(path);
        return;
    }
    const QImage processed = host_.processedPicture();
    if (!processed.isNull())
        showPicture(processed, shownPath_, target);
    else
        cannotShow(host_.listItem(target));
}

void frmPic::cannotShow(const QString& path)
{
    // The picture before stays on screen; the user is told that it is not
    // the one now selected, as opening an unreadable one does.
    const QString text = QStringLiteral("【操作错误】无法打开图片:") + path;
    host_.showTip(text);
    prompter_.message(text, QString(), PromptIcon::Exclamation);
}

void frmPic::Form_KeyDown(int key)
{
    switch (key) {
    case Qt::Key_Escape:
        if (!leaveCropMode())
            close();
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        step(+1);
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        step(-1);
        break;
    default:
        break;
    }
}

void frmPic::wheel(int deltaY, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons)
{
    if (modifiers != Qt::NoModifier || buttons != Qt::NoButton)
        return;
    if (deltaY == -120)
        Form_KeyDown(Qt::Key_Down);
    else if (deltaY == 120)
        Form_KeyDown(Qt::Key_Up);
}

void frmPic::keyPressEvent(QKeyEvent* event)
{
    Form_KeyDown(event->key());
    event->accept();
}

void frmPic::wheelEvent(QWheelEvent* event)
{
    if (event->angleDelta().x() == 0)
        wheel(event->angleDelta().y(), event->modifiers(), event->buttons());
    event->accept();
}

void frmPic::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::RightButton)
        return;
    if (leaveCropMode())
        return;
    if (ps_.iPicSource == 0 && ps_.iPicMode == 0)
        mImg2->popup(event->globalPosition().toPoint());
}

void frmPic::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && !std::exchange(thumbJustPressed_, false))
        close();
}

void frmPic::mouseMoveEvent(QMouseEvent*)
{
    setCursor(Qt::ArrowCursor);
}

void frmPic::resizeEvent(QResizeEvent* event)
{
    lblTip->move((width() - lblTip->width()) / 2, height() / 2);
    QWidget::resizeEvent(event);
}

void frmPic::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    QWidget::closeEvent(event);
}

void frmPic::Form_Unload()
{
    if (closed_)
        return;
    closed_ = true;
    host_.setHostVisible(true);
    QFile::remove(tempPreviewPath());
    Timer1->stop();
    Timer2->stop();
    ps_.iPicMode = 0;
    ps_.bCutMode = false;
    bHasSel_ = false;
    bMoveSel_ = false;
    iPage_ = 0;
}

bool frmPic::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == imgMain)
        return filterPictureEvent(event);
    for (int i = 0; i < viewerlayout::kThumbsPerPage; ++i)
        if (watched == imgL[size_t(i)])
            return filterThumbEvent(i, event);
    return QWidget::eventFilter(watched, event);
}

bool frmPic::filterThumbEvent(int index, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        imgL_MouseDown(index, static_cast<QMouseEvent*>(event)->button());
        return true;
    }
    // A double click on a thumbnail is two presses, not a click on the background.
    if (event->type() == QEvent::MouseButtonDblClick)
        return true;
    if (event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return false;
}
