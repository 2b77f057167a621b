#include "mainwindow/preview/HoverPanels.h"

HoverPanels hoverOverArea(QPointF pointer, const PanelPlaces& places)
{
    HoverPanels h;
    h.right = pointer.x() > places.areaWidth - places.rightWidth;
    h.top = pointer.y() < places.top.height() && places.top.left() < pointer.x() &&
            pointer.x() < places.top.left() + places.top.width();
    return h;
}

HoverPanels hoverOverImage(QPointF imageTopLeft, QPointF pointer, const PanelPlaces& places)
{
    HoverPanels h = hoverOverArea(pointer, places);
    h.right = h.right && imageTopLeft.x() < places.rightWidth;
    h.top = h.top && imageTopLeft.y() < places.top.height();
    return h;
}
