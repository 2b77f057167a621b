// The screen grab's window: the photograph it covers the screen with, and
// drawing, moving and reshaping the selection with the mouse.
#include "viewer/frmCopySrc.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "viewer/CropFrame.h"
#include "viewer/ScreenGrabLayout.h"

frmCopySrc::frmCopySrc(ViewerHost& host, ScreenGrabber& grabber, Prompter& prompter, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      host_(host),
      grabber_(grabber),
      prompter_(prompter)
{
    setObjectName(QStringLiteral("frmCopySrc"));
    setWindowTitle(QStringLiteral("屏幕截图"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
    now = [] { return QDateTime::currentDateTime(); };

    crop = new CropFrame(this);
    lblPos = new QLabel(this);
    lblPos->setObjectName(QStringLiteral("lblPos"));
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(14);  // 10.5 points at 96 dpi
    font.setBold(true);
    lblPos->setFont(font);
    QPalette pal = lblPos->palette();
    pal.setColor(QPalette::WindowText, QColor(0, 122, 236));
    lblPos->setPalette(pal);
    lblPos->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblPos->hide();
    buildToolbar();
    connectFrame();
}

frmCopySrc::~frmCopySrc()
{
    // Gone with its owner, maybe after the host: only the files are left to clean.
    removeWorkFiles();
}

void frmCopySrc::start()
{
    QTimer::singleShot(300, this, [this] { Form_Load(); });
}

void frmCopySrc::connectFrame()
{
    connect(crop, &CropFrame::handlePressed, this, [this](int) { Picture1->hide(); });
    connect(crop, &CropFrame::reshaping, this, [this](int) {
        updateLabel();
        sngStart_ = crop->rect().topLeft();
        DrawSelection();
    });
    connect(crop, &CropFrame::reshaped, this, [this](int) { PlaceToolbar(); });
}

QRectF frmCopySrc::selection() const
{
    return crop->rect();
}

void frmCopySrc::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (dim_.isNull()) {
        p.fillRect(rect(), QColor(192, 192, 255));
        return;
    }
    p.drawImage(rect(), dim_);
    const QRect region = screengrab::photoRegion(lit_, ratio_, bright_.size());
    if (!region.isEmpty())
        p.drawImage(QRectF(region.topLeft() / ratio_, QSizeF(region.size()) / ratio_), bright_, region);
}

void frmCopySrc::DrawSelection()
{
    lit_ = crop->rect();
    update();
}

void frmCopySrc::updateLabel()
{
    const QRectF f = crop->rect();
    lblPos->setText(screengrab::sizeCaption(QSize(qRound(f.width() * ratio_), qRound(f.height() * ratio_))));
    lblPos->adjustSize();
    lblPos->move((f.topLeft() + QPointF(2, 2)).toPoint());
}

void frmCopySrc::showSelection()
{
    crop->setVisible(true);
    lblPos->show();
    lblPos->raise();
    DrawSelection();
}

void frmCopySrc::hideSelection()
{
    crop->setVisible(false);
    lblPos->hide();
}

void frmCopySrc::Form_MouseDown(Qt::MouseButton, QPointF pos)
{
    Picture1->hide();
    pressGrabbed_ = false;
    if (sMode_ == QLatin1String("draw")) {
        sngStart_ = pos;
        crop->setRect(QRectF(pos, QSizeF(0, 0)));
        crop->Shape1->show();
        crop->Shape1->raise();
        return;
    }
    setCursor(Qt::CrossCursor);
    if (screengrab::grabsSelection(crop->rect(), pos)) {
        sngMove_ = pos;
        pressGrabbed_ = true;
        return;
    }
    // A press beside the selection drops it; the bright area stays until
    // the next selection is drawn.
    crop->setRect(QRectF(pos, QSizeF(0, 0)));
    sngStart_ = pos;
    hideSelection();
    setCursor(Qt::ArrowCursor);
    sMode_ = QStringLiteral("draw");
}

void frmCopySrc::Form_MouseMove(Qt::MouseButtons buttons, QPointF pos)
{
    setCursor(Qt::CrossCursor);
    if (buttons != Qt::LeftButton)
        return;
    if (sMode_ == QLatin1String("draw")) {
        crop->setRect(cropframe::rubberBand(sngStart_, pos, QSizeF(size())));
        updateLabel();
        showSelection();
        return;
    }
    if (!pressGrabbed_)
        return;
    setCursor(Qt::SizeAllCursor);
    crop->setRect(cropframe::moveInside(QRectF(sngStart_, crop->rect().size()), pos - sngMove_, QRectF(rect())));
    updateLabel();
    showSelection();
}

void frmCopySrc::Form_MouseUp(Qt::MouseButton button, QPointF)
{
    if (button == Qt::RightButton) {
        close();
        return;
    }
    if (button != Qt::LeftButton)
        return;
    if (sMode_ == QLatin1String("draw"))
        sMode_ = QStringLiteral("move");
    sngStart_ = crop->rect().topLeft();
    PlaceToolbar();
}

void frmCopySrc::Form_DblClick()
{
    // Only a double-click that began on the selection saves it; one beside
    // it has already dropped the selection with its first press.
    if (sMode_ == QLatin1String("move") && pressGrabbed_ && screengrab::grabsSelection(crop->rect(), sngMove_))
        Image2_Click(2);
}

void frmCopySrc::mousePressEvent(QMouseEvent* event)
{
    Form_MouseDown(event->button(), event->position());
}

void frmCopySrc::mouseMoveEvent(QMouseEvent* event)
{
    Form_MouseMove(event->buttons(), event->position());
}

void frmCopySrc::mouseReleaseEvent(QMouseEvent* event)
{
    Form_MouseUp(event->button(), event->position());
}

void frmCopySrc::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        Form_DblClick();
}

void frmCopySrc::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmCopySrc::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}
