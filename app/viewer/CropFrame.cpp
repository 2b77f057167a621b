#include "viewer/CropFrame.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

namespace {

const QColor kFrameColour(0, 122, 236);

// The outline only: the picture under it stays visible and takes the mouse.
class FrameOutline : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setPen(QPen(kFrameColour, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

} // namespace

CropFrame::CropFrame(QWidget* parent) : QObject(parent)
{
    Shape1 = new FrameOutline(parent);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Shape1->hide();
    for (int i = 0; i < cropframe::kHandles; ++i) {
        auto* h = new QWidget(parent);
        h->setObjectName(QStringLiteral("Image1(%1)").arg(i));
        h->setAutoFillBackground(true);
        QPalette pal = h->palette();
        pal.setColor(QPalette::Window, kFrameColour);
        h->setPalette(pal);
        h->resize(kHandleSize, kHandleSize);
        h->setCursor(cropframe::handleCursor(i));
        h->installEventFilter(this);
        h->hide();
        Image1[size_t(i)] = h;
    }
}

void CropFrame::setRect(const QRectF& rect)
{
    rect_ = rect;
    // The outline's last pixel row and column are the frame's right and bottom edges.
    Shape1->setGeometry(rect.toRect().adjusted(0, 0, 1, 1));
}

void CropFrame::ImageMove()
{
    const auto places = cropframe::handlePositions(rect_, QSizeF(kHandleSize, kHandleSize));
    for (int i = 0; i < cropframe::kHandles; ++i)
        Image1[size_t(i)]->move(places[size_t(i)].toPoint());
    for (QWidget* h : Image1) {
        h->show();
        h->raise();
    }
}

void CropFrame::setVisible(bool visible)
{
    Shape1->setVisible(visible);
    if (visible) {
        Shape1->raise();
        ImageMove();
        return;
    }
    for (QWidget* h : Image1)
        h->hide();
}

bool CropFrame::isVisible() const
{
    return Shape1->isVisible();
}

int CropFrame::handleIndex(QObject* watched) const
{
    for (int i = 0; i < cropframe::kHandles; ++i)
        if (Image1[size_t(i)] == watched)
            return i;
    return -1;
}

bool CropFrame::eventFilter(QObject* watched, QEvent* event)
{
    const int index = handleIndex(watched);
    if (index < 0)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton)
            return true;
        dragging_ = index;
        dragStart_ = rect_;
        pressGlobal_ = e->globalPosition();
        emit handlePressed(index);
        return true;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (dragging_ != index || !(e->buttons() & Qt::LeftButton))
            return true;
        setRect(cropframe::reshape(index, dragStart_, e->globalPosition() - pressGlobal_, bounds_));
        ImageMove();
        emit reshaping(index);
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() != Qt::LeftButton || dragging_ != index)
            return true;
        dragging_ = -1;
        emit reshaped(index);
        return true;
    }
    case QEvent::MouseButtonDblClick:
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}
