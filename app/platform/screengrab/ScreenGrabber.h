#pragma once

#include <QImage>
#include <QString>

// A photograph of the whole primary screen, in device pixels.
struct ScreenShot {
    QImage picture;      // null when the screen could not be read
    QString error;       // why, in words for the user
    double pixelRatio = 1;  // device pixels per window coordinate
};

// Reads what the screen shows.
class ScreenGrabber {
public:
    virtual ~ScreenGrabber() = default;
    virtual ScreenShot grab() = 0;
};

// The display server's own picture of the screen (X11). Wayland compositors
// do not hand it out to programs: there the answer is an error.
class DisplayScreenGrabber : public ScreenGrabber {
public:
    ScreenShot grab() override;
};
