#include <QCameraDevice>
#include <QMediaDevices>
#include <gtest/gtest.h>

#include "platform/camera/MultimediaCamera.h"

namespace {

// The real camera on this machine: with no video device it refuses with a
// reason instead of showing an empty live picture; with one it starts.
TEST(MultimediaCamera, StartsOnlyWithAVideoDevice)
{
    MultimediaCamera camera;
    QString error;
    const bool started = camera.start(error);
    if (QMediaDevices::videoInputs().isEmpty()) {
        EXPECT_FALSE(started);
        EXPECT_EQ(error, "没有找到摄像头。");
    } else {
        EXPECT_TRUE(started) << error.toStdString();
    }
    camera.stop();
    camera.stop();  // a second stop is harmless
}

} // namespace
