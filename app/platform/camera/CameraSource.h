#pragma once

#include <QImage>
#include <QString>
#include <functional>

// Live pictures from the computer's first camera.
class CameraSource {
public:
    virtual ~CameraSource() = default;

    // Starts the first camera; false with `error` set when there is none or
    // it cannot be opened.
    virtual bool start(QString& error) = 0;
    virtual void stop() = 0;

    // Every new picture of the running camera.
    std::function<void(const QImage&)> onFrame;
    // The camera failed after it had started.
    std::function<void(const QString&)> onError;
};
