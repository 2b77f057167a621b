// Crafted files of every reader end in a clear error, or load as the right
// picture, within a small memory limit: each is loaded in a child process
// whose address space is capped, guarded by a watchdog that only catches hangs.
#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <sstream>

#include "ChildProcess.h"
#include "ImagingTestUtil.h"
#include "TempDir.h"
#include "ToolRunner.h"
#include "crafted/CraftedFiles.h"
#include "imaging/Bitmap.h"

namespace {

// What a reader may take beyond the process it runs in; the largest good case
// needs about 12 MB.
constexpr uint64_t kMemoryLimit = uint64_t(256) << 20;

// Loads the file in a child process under the memory limit and tells what
// came of it.
std::string loadUnderLimit(const std::string& file)
{
    const ChildOutcome child = runInChild([&] {
        capAddressSpace(kMemoryLimit);
        std::ostringstream result;
        try {
            auto picture = loadWithRegistry(file);
            uint32_t pixel = picture->Empty() ? 0 : picture->PixelColor(0, 0);
            result << "loaded " << picture->Width() << " " << picture->Height() << " "
                   << ((pixel & 0xFF) << 16 | (pixel & 0xFF00) | pixel >> 16);
        } catch (const std::bad_alloc&) {
            result << "out of memory";
        } catch (const std::exception& e) {
            result << "error " << e.what();
        }
        return result.str();
    });
    if (!child.finished)
        return "child ended abnormally (status " + std::to_string(child.status) + ")";
    return child.text;
}

class CraftedFiles : public ::testing::TestWithParam<CraftedCase> {};

} // namespace

void PrintTo(const CraftedCase& c, std::ostream* out)
{
    *out << c.name;
}

namespace {

std::string caseName(const ::testing::TestParamInfo<CraftedCase>& info)
{
    std::string name = info.param.name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

} // namespace

TEST_P(CraftedFiles, FailClearlyOrLoadTheRightPictureWithinTheLimit)
{
    const CraftedCase& c = GetParam();
    if (!c.madeBy.empty()) {
        ASSERT_TRUE(toolsInstalled({"convert"}));
    }
    TempDir dir;
    std::string file = writeCrafted(dir.path().string(), c);
    std::string result = loadUnderLimit(file);
    if (c.error.empty()) {
        std::ostringstream want;
        want << "loaded " << c.width << " " << c.height << " " << c.firstPixel;
        EXPECT_EQ(result, want.str());
    } else {
        EXPECT_EQ(result, "error " + c.error);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryReader, CraftedFiles, ::testing::ValuesIn(craftedCases()), caseName);
