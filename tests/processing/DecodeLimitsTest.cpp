// Pictures that would make the decoder run for minutes, that end early, or
// that memory cannot hold: each is rendered in a child process, guarded by a
// watchdog that only catches a hang, with its address space capped where a
// case needs it.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "DamagedJpegs.h"
#include "JpegSegments.h"
#include "TempDir.h"
#include "ToolRunner.h"
#include "processing/RenderCost.h"
#include "processing/RenderPicture.h"
#include "state/AppState.h"

namespace {

struct Rendered {
    bool finished = false;  // false: the child hung or crashed
    std::string size;       // "W x H", or "null"
    std::string errors;     // the picture's error lines
};

// Renders `path` at `width` in a child process; `headroom` (bytes, 0 for
// none) caps what the child may map beyond what it has.
Rendered renderInChild(const std::string& path, uint64_t headroom, int width = 600)
{
    const ChildOutcome child = runInChild([&] {
        AppState st;
        st.ps.iSizeMode = 0;
        st.panel.txtW = QString::number(width);
        const RenderSettings s = snapshotSettings(st);
        const RenderAssets a = prepareAssets(s);
        if (headroom)
            capAddressSpace(headroom);
        const RenderResult r = renderPicture(QString::fromStdString(path), s, a);
        return (r.picture.isNull() ? std::string("null")
                                   : std::to_string(r.picture.width()) + " x " + std::to_string(r.picture.height())) +
               "\n" + r.errors.join(QString()).toStdString();
    });
    Rendered out;
    out.finished = child.finished;
    const auto line = child.text.find('\n');
    out.size = child.text.substr(0, line);
    out.errors = line == std::string::npos ? std::string() : child.text.substr(line + 1);
    return out;
}

std::string make(const TempDir& dir, const std::string& name, const std::vector<std::string>& convertArgs)
{
    const std::string path = dir.file(name);
    std::vector<std::string> args{"convert"};
    args.insert(args.end(), convertArgs.begin(), convertArgs.end());
    args.push_back(path);
    EXPECT_EQ(runTool(args).exitCode, 0) << name;
    return path;
}

// A progressive JPEG whose last scan is repeated until the file holds about
// `size` bytes: every copy makes the decoder walk the whole picture again.
// `colour` names the colour model ImageMagick writes it in ("" for its own choice).
std::string manyScans(const TempDir& dir, std::size_t size, const std::string& colour = {})
{
    // Flat, so that its last scan is a few bytes.
    std::vector<std::string> args{"-size", "2048x2048", "xc:gray", "-interlace", "Plane"};
    if (!colour.empty())
        args.insert(args.end(), {"-colorspace", colour});
    const std::string source = make(dir, "progressive" + colour + ".jpg", args);
    std::string bytes = readFile(source);
    const std::size_t end = bytes.rfind("\xff\xd9");
    const std::size_t last = bytes.rfind("\xff\xda", end);
    if (end == std::string::npos || last == std::string::npos)
        return {};
    const std::string scan = bytes.substr(last, end - last);
    std::string out = bytes.substr(0, end);
    while (out.size() + scan.size() < size)
        out += scan;
    const std::string path = dir.file("many-scans" + colour + ".jpg");
    writeFile(path, out + "\xff\xd9");
    return path;
}

std::string firstThird(const TempDir& dir, const std::string& source, const std::string& name)
{
    const std::string bytes = readFile(source);
    const std::string path = dir.file(name);
    writeFile(path, bytes.substr(0, bytes.size() / 3));
    return path;
}

// All of `source` but the end marker that closes it.
std::string withoutEndMarker(const TempDir& dir, const std::string& source, const std::string& name)
{
    const std::string bytes = readFile(source);
    const std::string path = dir.file(name);
    writeFile(path, bytes.substr(0, bytes.rfind("\xff\xd9")));
    return path;
}

} // namespace

// Qt converts large pictures on the threads of its pool, which stay idle a
// while afterwards: a child forked then must still convert, as it does when
// its test runs alone.
TEST(DecodeLimits, AChildConvertsPicturesAfterQtsPoolHasRun)
{
    const auto convertLarge = [] {
        QImage image(2000, 2000, QImage::Format_Grayscale8);
        image.fill(qRgb(90, 90, 90));
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
        return image.pixel(1999, 1999) == qRgb(90, 90, 90);
    };
    ASSERT_TRUE(convertLarge());
    const ChildOutcome child = runInChild([&] { return std::string(convertLarge() ? "converted" : "wrong"); }, 30);
    EXPECT_TRUE(child.finished) << "status " << child.status;
    EXPECT_EQ(child.text, "converted");
}

// The damaged pictures the tests make from noise are the same bytes every
// time, so a failure they show can be repeated.
TEST(DecodeLimits, DamagedInputsAreTheSameEveryTime)
{
    ASSERT_TRUE(toolsInstalled({"convert", "jpegtran"}));
    const auto make = [](const TempDir& dir) {
        const std::string folder = dir.path().string();
        return std::vector<std::string>{
            readFile(damagedjpegs::cutInHalf(folder, "cut.jpg", "64x48")),
            readFile(damagedjpegs::withoutLastComponent(folder, "no-cr.jpg", "64x48")),
            readFile(damagedjpegs::manyScans(folder, "scans.jpg", 20)),
        };
    };
    TempDir first, second;
    const std::vector<std::string> once = make(first), again = make(second);
    for (size_t i = 0; i < once.size(); ++i) {
        EXPECT_FALSE(once[i].empty()) << i;
        EXPECT_TRUE(once[i] == again[i]) << i;
    }
}

TEST(DecodeLimits, EndlessScansAndCutFilesAreLoggedAsWhatTheyAre)
{
    ASSERT_TRUE(toolsInstalled({"convert", "jpegtran"}));
    TempDir dir;
    const std::string baseline = make(dir, "baseline.jpg", {"-size", "1200x900", "-seed", "4", "plasma:"});
    const std::string progressive = make(dir, "interlaced.jpg", {"-size", "1200x900", "-seed", "5", "plasma:",
                                                                  "-interlace", "Plane"});
    const std::string cmyk = make(dir, "cmyk.jpg", {"-size", "1200x900", "-seed", "6", "plasma:", "-colorspace", "CMYK"});
    struct Case { const char* what; std::string path; bool saved; const char* line; };
    const Case cases[] = {
        {"a progressive JPEG of thousands of scans", manyScans(dir, 100000), false, "JPEG 图片的扫描超过 100 次"},
        {"the first third of a baseline JPEG", firstThird(dir, baseline, "cut.jpg"), true, "图片数据不完整"},
        {"the first third of a progressive JPEG", firstThird(dir, progressive, "cut-interlaced.jpg"), true,
         "图片数据不完整"},
        // libjpeg decodes it without a word, with a colour cast.
        {"a JPEG of one scan per component without the last, closed",
         damagedjpegs::withoutLastComponent(dir.path().string(), "no-cr.jpg", "300x200"), true, "图片数据不完整"},
        {"a whole JPEG", baseline, true, nullptr},
        {"a whole progressive JPEG without its end marker", withoutEndMarker(dir, progressive, "no-end.jpg"), true,
         nullptr},
        // Colour models Qt's reader would have taken, without the cap or the check.
        {"a progressive CMYK JPEG of thousands of scans", manyScans(dir, 120000, "CMYK"), false,
         "JPEG 图片的扫描超过 100 次"},
        {"the first third of a CMYK JPEG", firstThird(dir, cmyk, "cut-cmyk.jpg"), true, "图片数据不完整"},
        {"a whole CMYK JPEG", cmyk, true, nullptr},
    };
    for (const Case& c : cases) {
        const Rendered r = renderInChild(c.path, 0);
        ASSERT_TRUE(r.finished) << c.what;
        EXPECT_EQ(r.size != "null", c.saved) << c.what << ": " << r.size;
        if (c.line) {
            EXPECT_NE(r.errors.find(c.path + "在显示图片时发生错误:(481)无效的图片: "), std::string::npos)
                << c.what << ": " << r.errors;
            EXPECT_NE(r.errors.find(c.line), std::string::npos) << c.what << ": " << r.errors;
        } else {
            EXPECT_EQ(r.errors, "") << c.what;
        }
    }
}

// Drawn at half its width, the picture is decoded whole (the JPEG too): about
// 140 MB that the process cannot have.
TEST(DecodeLimits, APictureMemoryCannotHoldIsOutOfMemory)
{
    if (kSanitized)
        GTEST_SKIP() << "sanitizers reserve the address space the cap would limit";
    ASSERT_TRUE(toolsInstalled({"convert"}));
    TempDir dir;
    for (const char* name : {"large.png", "large.jpg"}) {
        const std::string path = make(dir, name, {"-size", "6000x6000", "xc:#406080"});
        const Rendered r = renderInChild(path, uint64_t(64) << 20, 3000);
        ASSERT_TRUE(r.finished) << name;
        EXPECT_EQ(r.size, "null") << name;
        EXPECT_NE(r.errors.find("(7)内存不足"), std::string::npos) << name << ": " << r.errors;
        EXPECT_EQ(r.errors.find("(481)"), std::string::npos) << name << ": " << r.errors;
    }
}

namespace {

// `source` with the size in its frame header replaced by `width` x `height`.
std::string claimingSize(const TempDir& dir, const std::string& source, int width, int height)
{
    std::string bytes = readFile(source);
    for (std::size_t at = 2; at + 9 < bytes.size() && uint8_t(bytes[at]) == 0xFF;) {
        const uint8_t marker = uint8_t(bytes[at + 1]);
        if (marker >= 0xC0 && marker <= 0xC2) {
            bytes[at + 5] = char(height >> 8);
            bytes[at + 6] = char(height & 0xFF);
            bytes[at + 7] = char(width >> 8);
            bytes[at + 8] = char(width & 0xFF);
            const std::string path = dir.file("claims-" + std::to_string(width) + ".jpg");
            writeFile(path, bytes);
            return path;
        }
        at += 2 + (uint8_t(bytes[at + 2]) << 8 | uint8_t(bytes[at + 3]));
    }
    ADD_FAILURE() << "no frame header in " << source;
    return {};
}

} // namespace

// A few kilobytes claiming 20000 x 20000 would have the decoder fill a
// picture's worth of coefficients (GBs) only to come out grey: refused
// from its header, within a small fraction of that memory.
TEST(DecodeLimits, AJpegSmallerThanItsSizeIsRefusedBeforeDecoding)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    TempDir dir;
    for (const char* interlace : {"Plane", "None"}) {
        const std::string small = make(dir, std::string("small-") + interlace + ".jpg",
                                       {"-size", "48x48", "-seed", "3", "plasma:", "-quality", "95", "-interlace", interlace});
        const std::string path = claimingSize(dir, small, 20000, 20000);
        const Rendered r = renderInChild(path, uint64_t(256) << 20);
        ASSERT_TRUE(r.finished) << interlace;
        EXPECT_EQ(r.size, "null") << interlace;
        EXPECT_EQ(r.errors, path + "在显示图片时发生错误:(481)无效的图片: 图片数据不完整或已损坏,数据容纳不下 20000 x "
                                   "20000 像素。\r\n")
            << interlace;
    }
}

// 200 bytes of a flat arithmetic-coded picture claiming 65500 x 65500, drawn
// 800 wide: without its end marker the shared rule calls it cut; with it, its
// scans would keep 8 GB of coefficients. Each is logged from its header and
// its markers, within a small fraction of that memory, and nothing is drawn.
TEST(DecodeLimits, WhatTheHeaderAndMarkersDecideIsLoggedUndecoded)
{
    ASSERT_TRUE(toolsInstalled({"cjpeg"}));
    TempDir dir;
    const std::string closed = jpegsegments::flatClaiming(dir, 65500, 65500);
    const struct Case {
        const char* name;
        std::string bytes;
        std::string logged;
    } cases[] = {
        {"open.jpg", jpegsegments::withoutEnd(closed), "(481)无效的图片: 图片数据不完整:算术编码的 JPEG 缺少结束标记"},
        {"closed.jpg", closed, "(7)内存不足: 图片太大: 65500 x 65500, 解码需要 8185 MB, 上限 2048 MB"},
    };
    for (const Case& c : cases) {
        const std::string path = dir.file(c.name);
        writeFile(path, c.bytes);
        const Rendered r = renderInChild(path, uint64_t(256) << 20, 800);
        ASSERT_TRUE(r.finished) << c.name;
        EXPECT_EQ(r.size, "null") << c.name;
        EXPECT_EQ(r.errors, path + "在显示图片时发生错误:" + c.logged + "。\r\n") << c.name;
    }
}

// The memory a run sets aside for a picture counts what libjpeg keeps of a
// progressive picture: for CMYK without subsampling, 8 bytes a pixel
// however small the picture is drawn.
TEST(DecodeLimits, TheCostOfAProgressivePictureCountsItsCoefficients)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    TempDir dir;
    const int64_t pixels = int64_t(2000) * 2000;
    struct Case { const char* name; std::vector<std::string> args; int64_t atLeast; };
    const Case cases[] = {
        {"cmyk.jpg", {"-colorspace", "CMYK", "-interlace", "Plane"}, pixels * 8},
        {"rgb.jpg", {"-sampling-factor", "1x1", "-interlace", "Plane"}, pixels * 6},
        {"baseline.jpg", {}, pixels * 3},
    };
    AppState st;
    st.ps.iSizeMode = 0;
    st.panel.txtW = QStringLiteral("100");
    const RenderSettings s = snapshotSettings(st);
    const RenderAssets a = prepareAssets(s);
    for (const Case& c : cases) {
        std::vector<std::string> args{"-size", "2000x2000", "xc:#406080"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const std::string path = make(dir, c.name, args);
        const RenderCost cost = estimateRenderCost(QString::fromStdString(path), s, a);
        EXPECT_GE(cost.peak, c.atLeast) << c.name;
        EXPECT_LT(cost.peak, c.atLeast + pixels) << c.name;
    }
}

