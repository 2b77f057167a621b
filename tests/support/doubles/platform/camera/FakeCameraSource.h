#pragma once

#include "platform/camera/CameraSource.h"

// A camera the test feeds picture by picture; it may also refuse to start.
class FakeCameraSource : public CameraSource {
public:
    bool start(QString& error) override
    {
        ++starts;
        if (!startError.isEmpty())
            error = startError;
        running = startError.isEmpty();
        return running;
    }
    void stop() override
    {
        ++stops;
        running = false;
    }
    // The next live picture, as the device would deliver it.
    void deliver(const QImage& picture)
    {
        if (running && onFrame)
            onFrame(picture);
    }

    QString startError;  // non-empty: start() fails with it
    bool running = false;
    int starts = 0;
    int stops = 0;
};
