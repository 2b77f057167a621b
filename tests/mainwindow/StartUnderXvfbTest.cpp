#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

#include "TempDir.h"
#include "TestEnvironment.h"
#include "ToolRunner.h"

namespace {

// The program itself, started on a real (virtual) display from a folder
// whose pictures are named on its command line.
TEST(StartUnderXvfb, ShowsTheWindowWithTheLastCommandLinePictureSelected)
{
    ASSERT_TRUE(toolsInstalled({"xvfb-run", "xwininfo"}));
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "dir with space");
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::darkYellow);
    for (const char* name : {"a.JPG", "dir with space/b.png", "c.jpeg"})
        ASSERT_TRUE(picture.save(QString::fromStdString(dir.file(name)), name[0] == 'b' ? "PNG" : "JPG"));
    const std::string vimo = testenv::binDir() + "/vimo";
    // xvfb-run -a picks a display number that another test run on the same
    // machine may take at the same moment; such a lost race is tried again.
    ToolResult r;
    for (int attempt = 0; attempt < 3; ++attempt) {
        r = runTool({"xvfb-run", "-a", "-s", "-screen 0 1280x800x24", "bash", VIMO_START_SCRIPT, vimo,
                     dir.path().string(), "a.JPG", "c.jpeg", "d.txt", "dir with space/b.png"});
        if (r.err.find("could not connect to display") == std::string::npos)
            break;
    }
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string b = (dir.path() / "dir with space" / "b.png").string();
    EXPECT_NE(r.out.find("\"Vimo图片批处理" VIMO_VERSION_SHORT "版 - " + b + "\""), std::string::npos) << r.out << r.err;
    const QString home = qEnvironmentVariable("VIMO_HOME");
    EXPECT_TRUE(QFileInfo(home + "/zp").isDir());
    EXPECT_TRUE(QFileInfo(home + "/user").isDir());
}

} // namespace
