// Files made to hurt a reader end in an error, quickly, without touching
// memory they do not own (the suite also runs under the sanitizers).
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <unistd.h>

#include "ImagingTestUtil.h"
#include "TempDir.h"
#include "ToolRunner.h"
#include "imaging/Errors.h"
#include "imaging/Registry.h"

using namespace vum;

namespace {

std::string be32(uint32_t v)
{
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string pngChunk(const std::string& type, const std::string& data);

// A reader that loops on a crafted file would stall the suite: a watchdog of a
// minute ends the test process with a message. It only catches hangs; how much
// work a reader may do is bounded by the readers' own caps.
void hangWatchdog(int)
{
    static const char message[] = "hostile file: the reader did not finish within a minute\n";
    [[maybe_unused]] auto n = ::write(2, message, sizeof message - 1);
    std::_Exit(1);
}

// Loads through the registry and reports whether it failed with a reader error.
bool failsQuickly(const std::string& file)
{
    std::signal(SIGALRM, hangWatchdog);
    ::alarm(60);
    bool failed = false;
    try {
        auto picture = loadWithRegistry(file);
        failed = !picture || picture->Empty();
    } catch (const std::exception&) {
        failed = true;
    }
    ::alarm(0);
    return failed;
}

} // namespace

#include <zlib.h>

namespace {

std::string pngChunk(const std::string& type, const std::string& data)
{
    std::string body = type + data;
    return be32(uint32_t(data.size())) + body +
           be32(uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
}

} // namespace

TEST(HostileFiles, HugePngClaims)
{
    TempDir dir;
    std::string sig("\x89PNG\r\n\x1a\n", 8);
    struct Case {
        uint32_t width, height;
    } cases[] = {{0x7FFFFFFF, 0x7FFFFFFF}, {0x7FFFFFFF, 1}, {20000, 20000}};
    for (const Case& c : cases) {
        std::string header = be32(c.width) + be32(c.height) + std::string("\x08\x02\0\0\0", 5);
        std::string file = dir.file("huge.png");
        writeFile(file, sig + pngChunk("IHDR", header) + pngChunk("IDAT", std::string("\x78\x9c\x03\0", 4)) +
                            pngChunk("IEND", ""));
        EXPECT_TRUE(failsQuickly(file)) << c.width << "x" << c.height;
    }
    // A chunk that claims more bytes than the file holds.
    std::string file = dir.file("long-chunk.png");
    writeFile(file, sig + pngChunk("IHDR", be32(4) + be32(4) + std::string("\x08\x02\0\0\0", 5)) +
                        be32(0x7FFFFFF0) + "IDAT" + std::string(20, 'x'));
    EXPECT_TRUE(failsQuickly(file));
}

TEST(HostileFiles, HugeGifAndBitmapClaims)
{
    TempDir dir;
    std::string gif = std::string("GIF89a") + std::string("\xff\xff\xff\xff\0\0\0", 7) + "," +
                      std::string("\0\0\0\0\xff\xff\xff\xff\0\x08\x02\x01\x00\0;", 15);
    std::string gifFile = dir.file("huge.gif");
    writeFile(gifFile, gif);
    EXPECT_TRUE(failsQuickly(gifFile));

    auto le32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    std::string bmp = "BM" + le32(0) + le32(0) + le32(54) + le32(40) + le32(0x7FFFFFFF) + le32(0x80000000u) +
                      std::string("\x01\0\x18\0", 4) + std::string(24, '\0');
    std::string bmpFile = dir.file("huge.bmp");
    writeFile(bmpFile, bmp);
    EXPECT_TRUE(failsQuickly(bmpFile));
}

TEST(HostileFiles, SmallFilesClaimingLargePictures)
{
    TempDir dir;
    // A real 8 x 8 JPEG whose frame header claims 16000 x 16000.
    std::string jpg = dir.file("small.jpg");
    ASSERT_EQ(runTool({"convert", "-size", "8x8", "xc:red", jpg}).exitCode, 0);
    std::string bytes = readFile(jpg);
    std::size_t sof = bytes.find("\xff\xc0");
    ASSERT_NE(sof, std::string::npos);
    bytes.replace(sof + 5, 4, std::string("\x3e\x80\x3e\x80", 4));
    writeFile(jpg, bytes);
    EXPECT_TRUE(failsQuickly(jpg));

    // A GIF whose few bytes of image data claim 16000 x 16000 pixels.
    std::string gif = std::string("GIF89a") + std::string("\x80\x3e\x80\x3e\0\0\0", 7) + "," +
                      std::string("\0\0\0\0\x80\x3e\x80\x3e\0\x02\x02\x04\x01\0;", 15);
    std::string gifFile = dir.file("small.gif");
    writeFile(gifFile, gif);
    EXPECT_TRUE(failsQuickly(gifFile));
}

TEST(HostileFiles, TruncatedFilesOfEachFormat)
{
    TempDir dir;
    std::string source = dir.file("source.ppm");
    writeFile(source, makePpm(64, 48, 255, [](uint32_t x, uint32_t y) { return patternColor(x, y, 1000); }));
    struct Case {
        const char* name;
        std::vector<std::string> tool;   // writes {out}
    } cases[] = {
        {"t.png", {"convert", source, "{out}"}},
        {"t.gif", {"convert", source, "{out}"}},
        {"t.bmp", {"convert", source, "BMP3:{out}"}},
        {"t.jpg", {"convert", source, "{out}"}},
        {"t.ico", {"convert", source, "{out}"}},
    };
    for (const Case& c : cases) {
        std::string out = dir.file(c.name);
        std::vector<std::string> args;
        for (std::string a : c.tool) {
            if (auto at = a.find("{out}"); at != std::string::npos)
                a.replace(at, 5, out);
            args.push_back(a);
        }
        ASSERT_EQ(runTool(args).exitCode, 0) << c.name;
        std::string whole = readFile(out);
        ASSERT_FALSE(failsQuickly(out)) << c.name << " loads whole";
        for (double part : {0.2, 0.5, 0.9}) {
            std::string cut = dir.file(std::string("cut-") + c.name);
            writeFile(cut, whole.substr(0, std::size_t(whole.size() * part)));
            EXPECT_TRUE(failsQuickly(cut)) << c.name << " cut at " << part;
        }
    }
}
