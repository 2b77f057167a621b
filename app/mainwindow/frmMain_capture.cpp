// The screen grab and the webcam, as the main window opens them; what they
// add comes back through the same host the viewer uses.
#include "mainwindow/frmMain.h"
#include "platform/camera/MultimediaCamera.h"
#include "platform/screengrab/ScreenGrabber.h"
#include "state/AppState.h"
#include "viewer/frmCap.h"
#include "viewer/frmCopySrc.h"

frmCopySrc* frmMain::openScreenGrab()
{
    if (grab_) {
        grab_->raise();
        grab_->activateWindow();
        return grab_;
    }
    if (!screenGrabber)
        screenGrabber = std::make_shared<DisplayScreenGrabber>();
    hide();
    // A window of its own, made anew for every grab; it photographs the
    // screen once this window has left it.
    auto* grab = new frmCopySrc(viewerHost(), *screenGrabber, prompter_, this);
    grab_ = grab;
    grab->start();
    return grab;
}

int frmMain::openWebcam()
{
    app.status.show(QStringLiteral("【提示】请确保摄像头已经与您的电脑连接好。"));
    const std::unique_ptr<CameraSource> camera =
        makeCamera ? makeCamera() : std::make_unique<MultimediaCamera>();
    frmCap cap(viewerHost(), *camera, prompter_, this);
    return cap.exec();
}
