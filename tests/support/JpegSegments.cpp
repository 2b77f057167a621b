#include "JpegSegments.h"

#include <cmath>

#include "TempDir.h"
#include "ToolRunner.h"
#include "jpeg/JpegMarkers.h"

namespace jpegsegments {

namespace {

const unsigned char* bytesOf(const std::string& jpeg)
{
    return reinterpret_cast<const unsigned char*>(jpeg.data());
}

// Calls `met` with every marker from the first scan's data on, up to the end
// of the image or a segment the file ends inside.
template <typename Met>
void walkAfterFirstScan(const std::string& jpeg, std::size_t firstScan, Met met)
{
    jpeg_marker header;
    if (!jpeg_next_marker(bytesOf(jpeg), jpeg.size(), firstScan, 0, &header) || !header.whole)
        return;
    jpeg_marker m;
    bool inScan = true;
    for (std::size_t at = header.end; jpeg_next_marker(bytesOf(jpeg), jpeg.size(), at, inScan, &m);) {
        met(m);
        if (m.code == JPEG_MARKER_EOI || !m.whole)
            return;
        at = m.end;
        inScan = m.code == JPEG_MARKER_SOS;
    }
}

} // namespace

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

std::string flatClaiming(const TempDir& dir, uint16_t width, uint16_t height)
{
    const std::string flat = flatGrey(dir.file("claiming-flat.pgm"));
    return declaring(cjpeg({"-arithmetic", "-progressive", "-grayscale"}, flat), width, height);
}

std::string withoutEnd(const std::string& jpeg)
{
    EXPECT_EQ(jpeg.substr(jpeg.size() - 2), "\xff\xd9");
    return jpeg.substr(0, jpeg.size() - 2);
}

std::string withFillBeforeMarkers(const std::string& jpeg, int count)
{
    const std::vector<std::size_t> scans = scanHeaders(jpeg);
    if (scans.empty()) {
        ADD_FAILURE() << "no scan";
        return jpeg;
    }
    std::string out;
    std::size_t copied = 0;
    walkAfterFirstScan(jpeg, scans.front(), [&](const jpeg_marker& m) {
        out += jpeg.substr(copied, m.at - copied) + std::string(count, char(0xFF));
        copied = m.at;
    });
    return out + jpeg.substr(copied);
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

std::vector<NamedJpeg> arithmeticWithoutEnd(const TempDir& dir)
{
    const std::string source = photo(dir.file("arithmetic-source.ppm"));
    const std::string flat = flatGrey(dir.file("arithmetic-flat.pgm"));
    const std::string sequential = cjpeg({"-arithmetic"}, source);
    const std::string progressive = cjpeg({"-arithmetic", "-progressive"}, source);
    const std::string flatSequential = cjpeg({"-arithmetic", "-grayscale"}, flat);
    return {
        {"sequential", withoutEnd(sequential)},
        {"progressive", withoutEnd(progressive)},
        {"a comment holding FF D9 after the data", withoutEnd(sequential) + segment(0xFE, "end \xff\xd9")},
        {"an APP segment after the data", withoutEnd(progressive) + segment(0xEF, "trailer")},
        {"cut inside a scan", progressive.substr(0, progressive.size() * 2 / 3)},
        // Small files claiming huge pictures, which a decoding would fill with zeros.
        {"flat grey progressive claiming 22000 x 22000", withoutEnd(flatClaiming(dir, 22000, 22000))},
        {"flat grey progressive claiming 65500 x 65500", withoutEnd(flatClaiming(dir, 65500, 65500))},
        {"flat grey claiming 65500 x 65500, a comment after the data",
         withoutEnd(declaring(flatSequential, 65500, 65500)) + segment(0xFE, "end")},
    };
}

std::vector<std::size_t> scanHeaders(const std::string& jpeg)
{
    std::vector<std::size_t> at;
    jpeg_marker m;
    // The segments before the first scan, by their lengths.
    for (std::size_t from = 2; jpeg_next_marker(bytesOf(jpeg), jpeg.size(), from, 0, &m); from = m.end) {
        if (m.code == JPEG_MARKER_SOS) {
            at.push_back(m.at);
            walkAfterFirstScan(jpeg, m.at, [&](const jpeg_marker& next) {
                if (next.code == JPEG_MARKER_SOS)
                    at.push_back(next.at);
            });
            break;
        }
        if (m.code == JPEG_MARKER_EOI || !m.whole)
            break;
    }
    return at;
}

std::vector<std::size_t> markersAfterFirstScan(const std::string& jpeg)
{
    std::vector<std::size_t> at;
    const std::vector<std::size_t> scans = scanHeaders(jpeg);
    if (!scans.empty())
        walkAfterFirstScan(jpeg, scans.front(), [&](const jpeg_marker& m) {
            if (m.code != JPEG_MARKER_EOI)
                at.push_back(m.at);
        });
    return at;
}

std::size_t scanEnd(const std::string& jpeg, std::size_t header)
{
    jpeg_marker m;
    if (!jpeg_next_marker(bytesOf(jpeg), jpeg.size(), header, 0, &m) || m.code != JPEG_MARKER_SOS || !m.whole) {
        ADD_FAILURE() << "no scan header at " << header;
        return jpeg.size();
    }
    return jpeg_next_marker(bytesOf(jpeg), jpeg.size(), m.end, 1, &m) ? m.at : jpeg.size();
}

std::string withoutScan(const std::string& jpeg, std::size_t scan)
{
    const std::size_t header = scanHeaders(jpeg).at(scan);
    return jpeg.substr(0, header) + jpeg.substr(scanEnd(jpeg, header));
}

} // namespace jpegsegments
