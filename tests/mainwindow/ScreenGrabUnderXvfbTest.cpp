#include <gtest/gtest.h>

#include "ToolRunner.h"

namespace {

// The screen grab on a real (virtual) X display whose desktop is one colour:
// the checks themselves run in a program of their own on that display
// (ScreenGrabOnDisplay.cpp), as they need the X server's own picture.
TEST(ScreenGrabUnderXvfb, GrabsTheDesktopAndSavesTheFramedRegion)
{
    ASSERT_TRUE(toolsInstalled({"xvfb-run", "xsetroot"}));
    ToolResult r;
    // xvfb-run -a picks a display number that another test run on the same
    // machine may take at the same moment; such a lost race is tried again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        r = runTool({"xvfb-run", "-a", "-s", "-screen 0 1024x768x24 -noreset", "bash", VIMO_GRAB_SCRIPT, VIMO_GRAB_PROGRAM});
        if (r.err.find("could not connect to display") == std::string::npos)
            break;
    }
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_NE(r.out.find("[  PASSED  ]"), std::string::npos) << r.out << r.err;
}

} // namespace
