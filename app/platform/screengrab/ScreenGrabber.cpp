#include "platform/screengrab/ScreenGrabber.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

ScreenShot DisplayScreenGrabber::grab()
{
    ScreenShot shot;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        shot.error = QStringLiteral("没有可以截取的屏幕。");
        return shot;
    }
    // A Wayland compositor answers with an empty or black picture; say so
    // rather than let the user cut pieces out of nothing.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        shot.error = QStringLiteral("此桌面(Wayland)不允许程序直接读取屏幕，请用桌面自带的截图工具。");
        return shot;
    }
    const QPixmap pixels = screen->grabWindow(0);
    if (pixels.isNull()) {
        shot.error = QStringLiteral("无法读取屏幕内容。");
        return shot;
    }
    shot.picture = pixels.toImage().convertToFormat(QImage::Format_RGB32);
    const QSize logical = screen->geometry().size();
    shot.pixelRatio = logical.width() > 0 ? double(shot.picture.width()) / logical.width() : 1.0;
    shot.picture.setDevicePixelRatio(1);
    return shot;
}
