#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

// Runs an outside tool (qpdf, pdftotext, identify, ...) with an argument list,
// no shell, and collects what it printed.
struct ToolResult {
    int exitCode = -1;     // -1 when the tool could not be started
    std::string out;       // standard output
    std::string err;       // standard error
};

ToolResult runTool(const std::vector<std::string>& args, const std::string& input = {});

// True when the program is found on PATH.
bool haveTool(const std::string& program);

// Succeeds when every program is on PATH; otherwise the failure names the
// missing ones. scripts/install-deps.sh installs every tool the tests use, so
// a missing one is a broken set-up, never a reason to skip:
//   ASSERT_TRUE(toolsInstalled({"convert", "exiftool"}));
::testing::AssertionResult toolsInstalled(std::initializer_list<const char*> programs);

// Makes `path` with ImageMagick's convert from `args`; the test fails when it
// cannot. Returns `path`.
std::string magickConvert(std::vector<std::string> args, const std::string& path);
