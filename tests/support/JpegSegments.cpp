#include "JpegSegments.h"

#include <cmath>

#include "TempDir.h"
#include "ToolRunner.h"

namespace jpegsegments {

std::string photo(const std::string& path)
{
    std::string ppm = "P6\n200 150\n255\n";
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x)
            ppm += {char(x * 255 / 199), char(y * 255 / 149),
                    char(128 + int(std::lround(100 * std::sin(x / 9.0) * std::cos(y / 7.0))))};
    writeFile(path, ppm);
    return path;
}

std::string flatGrey(const std::string& path)
{
    writeFile(path, "P5\n16 16\n255\n" + std::string(256, char(128)));
    return path;
}

std::string cjpeg(const std::vector<std::string>& options, const std::string& source)
{
    std::vector<std::string> args = {"cjpeg"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(source);
    const ToolResult made = runTool(args);
    EXPECT_EQ(made.exitCode, 0) << made.err;
    return made.out;
}

std::string segment(uint8_t marker, const std::string& payload)
{
    const std::size_t length = payload.size() + 2;
    return std::string{char(0xFF), char(marker), char(length >> 8), char(length & 0xFF)} + payload;
}

std::string withoutEnd(const std::string& jpeg)
{
    EXPECT_EQ(jpeg.substr(jpeg.size() - 2), "\xff\xd9");
    return jpeg.substr(0, jpeg.size() - 2);
}

std::string withFillBeforeMarkers(const std::string& jpeg, int count)
{
    // In entropy-coded data an FF is followed by 00 or a restart marker, and
    // cjpeg's tables hold no FF: these pairs are the markers themselves.
    const std::size_t firstScan = jpeg.find("\xff\xda");
    std::string out = jpeg.substr(0, firstScan + 2);
    for (std::size_t at = firstScan + 2; at < jpeg.size(); ++at) {
        const uint8_t next = at + 1 < jpeg.size() ? uint8_t(jpeg[at + 1]) : 0;
        if (uint8_t(jpeg[at]) == 0xFF && (next == 0xC4 || next == 0xDA || next == 0xD9))
            out += std::string(count, char(0xFF));
        out += jpeg[at];
    }
    return out;
}

std::string declaring(std::string jpeg, uint16_t width, uint16_t height)
{
    std::size_t at = 2;
    while (at + 9 < jpeg.size() && uint8_t(jpeg[at]) == 0xFF) {
        const uint8_t marker = uint8_t(jpeg[at + 1]);
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            jpeg[at + 5] = char(height >> 8);
            jpeg[at + 6] = char(height & 0xFF);
            jpeg[at + 7] = char(width >> 8);
            jpeg[at + 8] = char(width & 0xFF);
            return jpeg;
        }
        at += 2 + (std::size_t(uint8_t(jpeg[at + 2])) << 8 | uint8_t(jpeg[at + 3]));
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

} // namespace jpegsegments
