#pragma once

#include <QImage>
#include <QString>

namespace imaging {

struct GifDecode {
    QImage image;           // in kPictureFormat; null when the file holds no frame
    bool noMemory = false;  // the canvas could not be allocated
    bool damaged = false;   // the frame's data ends early or is corrupt: the rows that did not come are grey
};

// Every GIF is read here, whatever its size, so that one file looks the same
// at every size, and a frame whose data ends early is known as such.
//
// The first frame of a GIF painted on its canvas: the canvas is the logical
// screen (a side of 0 takes the frame's extent), and a frame smaller than it
// lies on the transparent colour or else on the background colour (the
// canvas stays transparent when the screen has no colour table). Colours of
// the frame's pixels come from the frame's table, else the screen's, else the
// table the format recommends when a file has none (black, then white). An
// index the table does not hold is opaque black; the transparent index is
// transparent wherever it lies. Rows of the frame whose data did not come are
// grey, as the missing part of a cut JPEG.
GifDecode decodeGifFirstFrame(const QString& path);

} // namespace imaging
