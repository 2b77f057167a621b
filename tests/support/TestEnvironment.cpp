#include "TestEnvironment.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace testenv {
namespace {

std::string g_scratch;

void removeScratch()
{
    if (!g_scratch.empty() && !std::getenv("VIMO_KEEP_TEST_DIR")) {
        std::error_code ec;
        std::filesystem::remove_all(g_scratch, ec);
    }
}

std::string envOr(const char* name, const std::string& fallback)
{
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

} // namespace

void isolateProcess()
{
    if (!g_scratch.empty())
        return;
    std::string pattern = (std::filesystem::temp_directory_path() / "vimo-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create the test scratch folder");
    g_scratch = pattern;
    std::atexit(removeScratch);

    const std::filesystem::path root(g_scratch);
    for (const char* sub : {"config", "data", "home"})
        std::filesystem::create_directories(root / sub);
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    setenv("VIMO_HOME", (root / "home").c_str(), 1);
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

const std::string& scratchDir() { return g_scratch; }

std::string dataDir() { return envOr("VIMO_TEST_DATA", "tests/data"); }

std::string binDir() { return envOr("VIMO_BIN_DIR", "bin"); }

} // namespace testenv
