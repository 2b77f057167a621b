#pragma once

#include <memory>

#include "platform/camera/CameraSource.h"

// The first video input that Qt Multimedia finds (V4L2 devices through
// GStreamer on Linux).
class MultimediaCamera : public CameraSource {
public:
    MultimediaCamera();
    ~MultimediaCamera() override;

    bool start(QString& error) override;
    void stop() override;

private:
    struct Session;
    std::unique_ptr<Session> session_;
};
