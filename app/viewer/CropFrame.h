#pragma once

#include <QObject>
#include <QPointF>
#include <QRectF>
#include <array>

#include "viewer/CropFrameGeometry.h"

class QWidget;

// The selection as the user sees it: a one-pixel frame in RGB(0, 122, 236)
// with eight square handles of the same colour, laid over a window's picture.
// The owner keeps the rectangle (`setRect`) and the area it must stay in
// (`setBounds`); a drag on a handle reshapes the rectangle itself and tells
// the owner. Presses inside the frame pass through to what lies beneath.
class CropFrame : public QObject {
    Q_OBJECT
public:
    // Handles are 60 twips: 4 x 4 pixels.
    static constexpr int kHandleSize = 4;

    explicit CropFrame(QWidget* parent);

    QRectF rect() const { return rect_; }
    void setRect(const QRectF& rect);
    void setBounds(const QRectF& bounds) { bounds_ = bounds; }

    // Places the eight handles around the rectangle and shows them (the
    // frame itself is shown by the owner).
    void ImageMove();
    // Shows or hides the frame and its handles together.
    void setVisible(bool visible);
    bool isVisible() const;

    // The controls, named as in the design.
    QWidget* Shape1;
    std::array<QWidget*, cropframe::kHandles> Image1{};

signals:
    void handlePressed(int index);
    // The rectangle changed during a handle drag.
    void reshaping(int index);
    // The drag of handle `index` ended.
    void reshaped(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int handleIndex(QObject* watched) const;

    QRectF rect_;
    QRectF bounds_;
    QRectF dragStart_;
    QPointF pressGlobal_;
    int dragging_ = -1;
};
