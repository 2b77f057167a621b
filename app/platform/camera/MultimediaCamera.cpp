#include "platform/camera/MultimediaCamera.h"

#include <QCamera>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QVideoFrame>
#include <QVideoSink>

struct MultimediaCamera::Session {
    QCamera camera;
    QMediaCaptureSession capture;
    QVideoSink sink;

    explicit Session(const QCameraDevice& device) : camera(device) {}
};

MultimediaCamera::MultimediaCamera() = default;

MultimediaCamera::~MultimediaCamera()
{
    stop();
}

bool MultimediaCamera::start(QString& error)
{
    stop();
    const QList<QCameraDevice> inputs = QMediaDevices::videoInputs();
    if (inputs.isEmpty()) {
        error = QStringLiteral("没有找到摄像头。");
        return false;
    }
    session_ = std::make_unique<Session>(inputs.first());
    Session& s = *session_;
    s.capture.setCamera(&s.camera);
    s.capture.setVideoSink(&s.sink);
    QObject::connect(&s.sink, &QVideoSink::videoFrameChanged, &s.sink, [this](const QVideoFrame& frame) {
        const QImage picture = frame.toImage();
        if (!picture.isNull() && onFrame)
            onFrame(picture);
    });
    QObject::connect(&s.camera, &QCamera::errorOccurred, &s.camera,
                     [this](QCamera::Error code, const QString& text) {
                         if (code != QCamera::NoError && onError)
                             onError(text);
                     });
    s.camera.start();
    if (s.camera.error() != QCamera::NoError) {
        error = s.camera.errorString();
        session_.reset();
        return false;
    }
    return true;
}

void MultimediaCamera::stop()
{
    if (!session_)
        return;
    session_->camera.stop();
    session_.reset();
}
