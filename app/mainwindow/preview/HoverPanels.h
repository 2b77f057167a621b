#pragma once

#include <QPointF>
#include <QRectF>

// Which of the two tool panels of the preview area show while the mouse is
// over it: the right-edge panel near the right edge, the top panel near the
// top within its own width. Positions are in preview-area pixels.
struct HoverPanels {
    bool right = false;  // the panel at the right edge
    bool top = false;    // the panel along the top
};

// The panels' places inside the preview area.
struct PanelPlaces {
    double areaWidth = 0;  // width of the preview area
    double rightWidth = 0; // width of the right-edge panel
    QRectF top;            // the top panel
};

// Over the preview area itself.
HoverPanels hoverOverArea(QPointF pointer, const PanelPlaces& places);

// Over the shown picture at `imageTopLeft`: a panel only opens where the
// picture reaches under it (the picture starts left of the right panel's
// width, or above the top panel's height).
HoverPanels hoverOverImage(QPointF imageTopLeft, QPointF pointer, const PanelPlaces& places);
