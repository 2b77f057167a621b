#pragma once

#include <QRect>
#include <QSizeF>

// Where a picture of `picture` size goes inside a frame of `frame` size: scaled
// down to the frame when it is larger, never enlarged, centred on the side
// that has room. A picture at least as wide in proportion as the frame (a tie
// included) is limited by the width, any other by the height. A picture or a
// frame without area gives an empty rectangle, so nothing divides by zero.
QRect fitPicture(QSizeF picture, QSizeF frame);
