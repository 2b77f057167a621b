#include "DamagedJpegs.h"

#include <filesystem>

#include "TempDir.h"
#include "ToolRunner.h"

namespace damagedjpegs {

std::string cutInHalf(const std::string& folder, const std::string& name, const std::string& size)
{
    const std::string whole = (std::filesystem::path(folder) / ("whole-" + name)).string();
    if (runTool({"convert", "-seed", "7", "-size", size, "xc:rgb(200,60,40)", "+noise", "Random", "-quality", "90", whole})
            .exitCode != 0)
        return {};
    const std::string bytes = readFile(whole);
    const std::string path = (std::filesystem::path(folder) / name).string();
    writeFile(path, bytes.substr(0, bytes.size() / 2));
    return path;
}

std::string withoutLastComponent(const std::string& folder, const std::string& name, const std::string& size)
{
    const std::filesystem::path dir(folder);
    const std::string source = (dir / ("source-" + name)).string();
    const std::string script = (dir / (name + ".scans")).string();
    const std::string scanned = (dir / ("scanned-" + name)).string();
    writeFile(script, "0;\n1;\n2;\n");
    if (runTool({"convert", "-seed", "7", "-size", size, "xc:rgb(200,60,40)", "+noise", "Random", "-quality", "90", source})
            .exitCode != 0 ||
        runTool({"jpegtran", "-scans", script, "-outfile", scanned, source}).exitCode != 0)
        return {};
    const std::string bytes = readFile(scanned);
    const std::size_t last = bytes.rfind("\xff\xda");
    if (last == std::string::npos)
        return {};
    const std::string path = (dir / name).string();
    writeFile(path, bytes.substr(0, last) + "\xff\xd9");
    return path;
}

std::string manyScans(const std::string& folder, const std::string& name, int scans)
{
    const std::filesystem::path dir(folder);
    const std::string source = (dir / ("source-" + name)).string();
    if (runTool({"convert", "-seed", "7", "-size", "64x48", "plasma:", "-interlace", "Plane", source}).exitCode != 0)
        return {};
    const std::string bytes = readFile(source);
    const std::size_t end = bytes.rfind("\xff\xd9");
    const std::size_t last = end == std::string::npos ? end : bytes.rfind("\xff\xda", end);
    if (last == std::string::npos)
        return {};
    std::string out = bytes.substr(0, end);
    int count = 0;
    for (std::size_t at = out.find("\xff\xda"); at != std::string::npos; at = out.find("\xff\xda", at + 2))
        ++count;
    for (; count < scans; ++count)
        out += bytes.substr(last, end - last);
    const std::string path = (dir / name).string();
    writeFile(path, out + "\xff\xd9");
    return path;
}

} // namespace damagedjpegs
