#pragma once

#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <functional>

#include "mainwindow/preview/MarkScene.h"
#include "mainwindow/preview/MarkerBlink.h"

struct AppState;

// What the window does after a button was pressed on the preview. A right
// click that ends the picture-move mode leaves its hint behind: the window
// says again what it said of the picture.
enum class PressAction { None, OpenMenu, MoveModeEnded };

// What the window does after a button was released on the preview.
struct ReleaseAction {
    enum Kind { None, Redraw, StartPoint };
    Kind kind = None;
    QString xText, yText;  // StartPoint: the new texts of the start-point boxes (they redraw)
};

// The blue marker on the live preview and the mouse handling that moves the
// watermarks or, in the picture-move mode, the picture's start point. It keeps
// the marker's place and visibility and whether the preview shows the drag
// pointer; the window mirrors them whenever changed() fires, and forwards the
// preview's mouse events with positions relative to the shown picture.
// Watermark positions are stored as fractions of the picture, the start
// point in pixels from the preview's centre.
class WatermarkMarker : public QObject {
    Q_OBJECT
public:
    // The window's answer to a hit: select the free position of that
    // watermark's position choice and run its handler.
    using ChooseFree = std::function<void(MarkHit)>;

    explicit WatermarkMarker(AppState& st, QObject* parent = nullptr);

    QRectF rect() const { return rect_; }
    bool visible() const { return visible_; }
    bool dragPointer() const { return dragPointer_; }
    bool blinking() const { return blink_.running(); }
    // Steps a running blink on at once, as its timer would.
    void advanceBlink() { blink_.advance(); }
    // Which watermark the last successful hit found.
    bool pinnedImg() const { return pinnedImg_; }

    void placeOver(MarkHit which, const MarkScene& scene);
    void show();
    void hide();
    void blink();
    void setDragPointer(bool on);
    // A watermark's position choice went to its free position: the marker
    // moves that watermark from now on, lies under it (unless it was never
    // placed, both fractions 0) and blinks; the picture-move mode ends.
    void markFreePosition(MarkHit which, const MarkScene& scene);
    // A preset position was chosen and drawn: the hidden marker lies under
    // the watermark (unless both fractions are 0).
    void markPresetPosition(MarkHit which, const MarkScene& scene);
    // Starts the picture-move mode: the square marker at the middle of the
    // preview area, the drag pointer on, a tip, and a blink.
    void enterMoveMode(QSizeF area);

    PressAction mousePress(Qt::MouseButton button, QPointF pos, const MarkScene& scene,
                           const ChooseFree& chooseFree);
    void mouseMove(Qt::MouseButtons held, QPointF pos, const MarkScene& scene);
    ReleaseAction mouseRelease(Qt::MouseButton button, QPointF pos, const MarkScene& scene);

signals:
    void changed();

private:
    void setVisible(bool on);
    bool placeUnlessUnset(MarkHit which, const MarkScene& scene);
    void placeAtPointer(QPointF pos, const MarkScene& scene, bool centred);
    // Stores the position the pointer gives; false when the preview has no area.
    bool follow(QPointF pos, const MarkScene& scene);

    AppState& st_;
    MarkerBlink blink_;
    QRectF rect_;
    bool visible_ = false;
    bool dragPointer_ = false;
    bool pinnedImg_ = false;
};
