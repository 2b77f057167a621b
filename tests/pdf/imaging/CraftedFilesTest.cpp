// Crafted files of every reader end in a clear error, or load as the right
// picture, within a small memory limit: each is loaded in a child process
// whose address space is capped, guarded by a watchdog that only catches hangs.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <new>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "ImagingTestUtil.h"
#include "TempDir.h"
#include "ToolRunner.h"
#include "crafted/CraftedFiles.h"
#include "imaging/Bitmap.h"

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// What a reader may take beyond the process it runs in; the largest good case
// needs about 12 MB.
constexpr uint64_t kMemoryLimit = uint64_t(256) << 20;

uint64_t addressSpaceInUse()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmSize:", 0) == 0)
            return std::stoull(line.substr(7)) * 1024;
    return 0;
}

void watchdog(int)
{
    static const char message[] = "reader did not finish within two minutes\n";
    [[maybe_unused]] auto n = ::write(2, message, sizeof message - 1);
    std::_Exit(3);
}

// In the child: loads the file and writes what came of it to the pipe.
[[noreturn]] void loadInChild(const std::string& file, int out)
{
    std::signal(SIGALRM, watchdog);
    ::alarm(120);
    // Sanitizers reserve terabytes of address space: there the cap cannot be set.
    if (!kSanitized) {
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = addressSpaceInUse() + kMemoryLimit;
        ::setrlimit(RLIMIT_AS, &limit);
    }
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
    std::string text = result.str();
    [[maybe_unused]] auto n = ::write(out, text.data(), text.size());
    std::_Exit(0);
}

std::string loadUnderLimit(const std::string& file)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return "no pipe";
    std::fflush(nullptr);
    pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        loadInChild(file, pipeEnds[1]);
    }
    ::close(pipeEnds[1]);
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, std::size_t(n));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "child ended abnormally (status " + std::to_string(status) + ")";
    return text;
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
