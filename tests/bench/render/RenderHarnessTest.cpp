#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "TempDir.h"
#include "ToolRunner.h"

namespace {

// The benchmark harness is started from a plain shell or a CI job: with no
// display and no Qt platform named, it still renders.
TEST(RenderHarness, RunsWithoutADisplay)
{
    ASSERT_TRUE(haveTool("convert")) << "ImageMagick's convert is needed";
    TempDir dir;
    const std::string source = dir.file("source.jpg");
    ASSERT_EQ(runTool({"convert", "-size", "64x48", "gradient:red-blue", source}).exitCode, 0);
    std::ofstream(dir.file("job.ini")) << "[Job]\niSizeMode=0\ntxtW=32\ntxtH=24\nsText=Vimo\nchkInfoTxt=1\n";
    const ToolResult r = runTool({"env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM", VIMO_RENDER,
                                  "--job", dir.file("job.ini"), "--out", dir.file("out"), "--render-only", source});
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("failed 0"), std::string::npos) << r.out << r.err;
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.path() / "out" / "r0.png"));
}

} // namespace
