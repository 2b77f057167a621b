#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

namespace imaging {

// Qt's GIF reader refuses a canvas of this many pixels or more, whatever its
// allocation limit says: such GIFs are read here instead, up to our own cap.
constexpr int64_t kQtGifCanvasPixels = int64_t(16384) * 16384;

struct GifDecode {
    QImage image;           // in kPictureFormat; null when the file holds no frame
    bool noMemory = false;  // the canvas could not be allocated
};

// The first frame of a GIF painted on its canvas the way Qt's reader paints
// it: the canvas is the logical screen (a side of 0 takes the frame's
// extent), a frame smaller than it lies on the transparent colour or else on
// the background colour, and indices the palette does not hold are
// transparent. A frame whose data ends early keeps the rows that arrived.
GifDecode decodeGifFirstFrame(const QString& path);

} // namespace imaging
