#include "DamagedGifs.h"

#include <filesystem>
#include <vector>

#include "TempDir.h"
#include "ToolRunner.h"

namespace damagedgifs {

std::string cutInHalf(const std::string& folder, const std::string& name, const std::string& size)
{
    const std::filesystem::path dir(folder);
    const std::string whole = (dir / ("whole-" + name)).string();
    const std::vector<std::string> args{"convert", "-seed",  "7",      "-size",
                                        size,      "xc:rgb(200,60,40)", "+noise", "Random", "GIF:" + whole};
    if (runTool(args).exitCode != 0)
        return {};
    const std::string bytes = readFile(whole);
    const std::string path = (dir / name).string();
    writeFile(path, bytes.substr(0, bytes.size() / 2));
    return path;
}

} // namespace damagedgifs
