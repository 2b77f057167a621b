// Pictures in documents that print their own page count, through the C
// interface: the second pass places the pictures the draw calls saw, whatever
// happens to their files before EndDoc, and keeps no more of them in memory
// than one pass does; what it keeps them in leaves nothing behind.
#include "PdfApi.h"
#include "PdfFiles.h"

#include "ChildProcess.h"
#include "TempDir.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string make(const std::string& file, const std::vector<std::string>& convertArgs)
{
    std::vector<std::string> args{"convert"};
    args.insert(args.end(), convertArgs.begin(), convertArgs.end());
    args.push_back(file);
    const ToolResult r = runTool(args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return file;
}

// What pdfimages extracts, placement by placement (JPEG streams as they
// are, other pictures as PNG), and its listing of the placements.
struct Extracted {
    std::map<std::string, std::string> files;
    std::string listing;
};

Extracted extract(const std::string& pdf)
{
    Extracted result;
    TempDir out;
    const ToolResult r = runTool({"pdfimages", "-all", pdf, out.file("im")});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    for (const auto& entry : fs::directory_iterator(out.path()))
        result.files[entry.path().filename().string()] = readFile(entry.path());
    result.listing = runTool({"pdfimages", "-list", pdf}).out;
    return result;
}

// The colour at the middle of a picture drawn into (100, 100)-(1100, 800).
uint32_t middleColour(const std::string& pdf, int page)
{
    const Raster r = renderPage(pdf, page);
    return r.at(170, 128);
}

bool reddish(uint32_t rgb)
{
    return (rgb >> 16 & 0xFF) > 180 && (rgb >> 8 & 0xFF) < 90 && (rgb & 0xFF) < 90;
}

enum class Change { Remove, Replace };

struct ChangeCase {
    const char* what;
    const char* extension;
    int mode;
    Change change;
};

// Page 1 picture a, page 2 picture b; then both files are removed or
// replaced, and a replaced a is placed again on page 3. Gives what the
// finished document holds.
void writeWithChangedFiles(const ChangeCase& c, const TempDir& dir, bool counted, Extracted& made)
{
    const std::string a = make(dir.file(std::string("a.") + c.extension), {"-size", "40x30", "xc:red"});
    const std::string b = make(dir.file(std::string("b.") + c.extension), {"-size", "20x10", "xc:blue"});
    const std::string file = dir.file(counted ? "counted.pdf" : "once.pdf");
    PdfHandle h;
    h.setFile(file);
    ASSERT_EQ(pdf().SetNumProp(h, VUM_WANT_PAGE_COUNT, counted ? 1 : 0), 0);
    ASSERT_EQ(pdf().SetNumProp(h, VUM_IMAGE_COMPRESS_MODE, c.mode), 0);
    ASSERT_EQ(pdf().BeginDoc(h), 0) << lastError();
    ASSERT_EQ(pdf().StretchDrawFromFile(h, 100, 100, 1100, 800, a.c_str()), 0) << lastError();
    ASSERT_EQ(pdf().NewPage(h), 0) << lastError();
    ASSERT_EQ(pdf().StretchDrawFromFile(h, 100, 100, 1100, 800, b.c_str()), 0) << lastError();
    for (const std::string& picture : {a, b}) {
        fs::remove(picture);
        if (c.change == Change::Replace)
            make(picture, {"-size", "30x40", "xc:lime"});
    }
    if (c.change == Change::Replace) {
        // The same name again: the picture stored at the first call.
        ASSERT_EQ(pdf().NewPage(h), 0) << lastError();
        ASSERT_EQ(pdf().StretchDrawFromFile(h, 100, 100, 1100, 800, a.c_str()), 0) << lastError();
    }
    ASSERT_EQ(pdf().EndDoc(h), 0) << lastError();
    EXPECT_EQ(qpdfProblems(file), "");
    EXPECT_TRUE(reddish(middleColour(file, 1))) << std::hex << middleColour(file, 1);
    if (c.change == Change::Replace) {
        EXPECT_TRUE(reddish(middleColour(file, 3))) << std::hex << middleColour(file, 3);
    }
    made = extract(file);
    const std::vector<std::string> objects = placedObjects(file);
    ASSERT_EQ(objects.size(), c.change == Change::Replace ? 3u : 2u);
    EXPECT_NE(objects[0], objects[1]);
    if (c.change == Change::Replace) {
        EXPECT_EQ(objects[2], objects[0]) << "placed again, the same object";
    }
}

} // namespace

// A picture file removed or replaced after its draw call: the one-pass and
// the counted document both hold the picture as it was at the draw call.
TEST(CountedPictures, FilesChangedAfterTheDrawCallChangeNothing)
{
    ASSERT_TRUE(toolsInstalled({"convert", "qpdf", "pdfimages", "pdftoppm"}));
    const ChangeCase cases[] = {
        {"jpeg passed through, removed", "jpg", 2, Change::Remove},
        {"jpeg passed through, replaced", "jpg", 2, Change::Replace},
        {"png as zlib rows, removed", "png", 1, Change::Remove},
        {"png as zlib rows, replaced", "png", 1, Change::Replace},
        {"png as plain rows, replaced", "png", 0, Change::Replace},
        {"png encoded as jpeg, removed", "png", 2, Change::Remove},
        {"jpeg decoded for zlib, replaced", "jpg", 1, Change::Replace},
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        Extracted made[2];
        for (const bool counted : {false, true}) {
            SCOPED_TRACE(counted ? "counted" : "one pass");
            writeWithChangedFiles(c, dir, counted, made[counted]);
        }
        EXPECT_EQ(made[1].listing, made[0].listing);
        EXPECT_TRUE(made[1].files == made[0].files) << "the counted document holds other pictures";
    }
}

namespace {

// The descriptors of files of `folder` that this process holds open, named or not.
std::vector<int> descriptorsIn(const fs::path& folder)
{
    std::vector<int> open;
    const std::string prefix = fs::canonical(folder).string() + "/";
    for (const auto& fd : fs::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const fs::path target = fs::read_symlink(fd.path(), error);
        if (!error && target.string().rfind(prefix, 0) == 0)
            open.push_back(std::stoi(fd.path().filename().string()));
    }
    return open;
}

int openFilesIn(const fs::path& folder)
{
    return int(descriptorsIn(folder).size());
}

bool isEmpty(const fs::path& folder)
{
    return fs::is_empty(folder);
}

} // namespace

// The pictures a counted document keeps between its passes live in a file of
// its own in its temporary folder, which no ending of the document leaves
// behind, open or on disk.
TEST(CountedPictures, KeptPicturesLeaveNothingBehind)
{
    ASSERT_TRUE(toolsInstalled({"convert", "qpdf"}));
    enum Ending { End, AbortCall, FailedDraw, FailedSecondPass, LostKeptPicture, FreedOpen };
    const struct {
        const char* what;
        Ending ending;
    } cases[] = {
        {"ended", End},
        {"aborted", AbortCall},
        {"a draw call fails in the first pass", FailedDraw},
        {"the second pass fails", FailedSecondPass},
        {"the kept picture cannot be read back", LostKeptPicture},
        {"the handle freed while the document is open", FreedOpen},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir, temp;
        const std::string picture = make(dir.file("p.png"), {"-size", "40x30", "xc:red"});
        const std::string broken = dir.file("broken.png");
        writeFile(broken, "not a picture");
        const fs::path out = dir.path() / "out";
        fs::create_directories(out);
        const std::string file = (out / "kept.pdf").string();
        {
            PdfHandle h;
            h.setFile(file);
            h.setStr(VUM_TEMP_FOLDER, temp.path().string());
            ASSERT_EQ(pdf().SetNumProp(h, VUM_WANT_PAGE_COUNT, 1), 0);
            ASSERT_EQ(pdf().BeginDoc(h), 0) << lastError();
            ASSERT_EQ(pdf().DrawFromFile(h, 100, 100, picture.c_str()), 0) << lastError();
            // Kept, in a file that has no name to leave behind.
            EXPECT_EQ(openFilesIn(temp.path()), 1);
            EXPECT_TRUE(isEmpty(temp.path()));
            switch (c.ending) {
            case End:
                EXPECT_EQ(pdf().EndDoc(h), 0) << lastError();
                EXPECT_EQ(qpdfProblems(file), "");
                break;
            case AbortCall: EXPECT_EQ(pdf().Abort(h), 0) << lastError(); break;
            case FailedDraw:
                EXPECT_EQ(pdf().DrawFromFile(h, 100, 100, broken.c_str()), -1);
                EXPECT_NE(lastError().find("Image format or compression scheme not supported"), std::string::npos);
                break;
            case FailedSecondPass:
                // The first pass writes nothing, so the folder can go: the
                // second pass cannot make the file.
                fs::remove(out);
                EXPECT_EQ(pdf().EndDoc(h), -1);
                EXPECT_NE(lastError().find("Can't open file"), std::string::npos);
                break;
            case LostKeptPicture: {
                // As a disk that failed meanwhile would lose it.
                const std::vector<int> kept = descriptorsIn(temp.path());
                ASSERT_EQ(kept.size(), 1u);
                ASSERT_EQ(ftruncate(kept[0], 0), 0);
                EXPECT_EQ(pdf().EndDoc(h), -1);
                EXPECT_EQ(lastError(), "Can't read back stored image: " + picture);
                break;
            }
            case FreedOpen: break;
            }
            if (c.ending != FreedOpen) {
                EXPECT_EQ(pdf().GetNumProp(h, VUM_PRINTING), 0);
                EXPECT_EQ(openFilesIn(temp.path()), 0);
            }
        }
        EXPECT_EQ(openFilesIn(temp.path()), 0);
        EXPECT_TRUE(isEmpty(temp.path()));
        EXPECT_EQ(fs::exists(file), c.ending == End);
    }
}

// A temporary folder that cannot take the kept pictures fails the draw call,
// which ends the document as every failed draw does.
TEST(CountedPictures, NoTemporaryFolderFailsTheDrawCall)
{
    ASSERT_TRUE(toolsInstalled({"convert"}));
    TempDir dir;
    const std::string picture = make(dir.file("p.png"), {"-size", "40x30", "xc:red"});
    const std::string file = dir.file("kept.pdf");
    PdfHandle h;
    h.setFile(file);
    h.setStr(VUM_TEMP_FOLDER, dir.file("no such folder"));
    ASSERT_EQ(pdf().SetNumProp(h, VUM_WANT_PAGE_COUNT, 1), 0);
    ASSERT_EQ(pdf().BeginDoc(h), 0) << lastError();
    EXPECT_EQ(pdf().DrawFromFile(h, 100, 100, picture.c_str()), -1);
    EXPECT_EQ(lastError(), "Can't store image: " + picture);
    EXPECT_EQ(pdf().GetNumProp(h, VUM_PRINTING), 0);
    EXPECT_EQ(pdf().GetNumProp(h, VUM_ABORTED), 1);
    EXPECT_FALSE(fs::exists(file));
}

// Many big pictures in a counted document: the pictures kept for the second
// pass do not pile up in memory. Together they need far more than the cap;
// one at a time, as a one-pass document holds them, they fit well within it.
TEST(CountedPictures, ManyBigPicturesFitUnderAMemoryCap)
{
    ASSERT_TRUE(toolsInstalled({"convert", "qpdf", "pdfimages"}));
    if (kSanitized)
        GTEST_SKIP() << "no address-space cap can be set under a sanitizer";
    TempDir dir;
    const std::string big = make(dir.file("big.jpg"), {"-seed", "3", "-size", "1000x1000", "xc:", "+noise", "Random", "-quality", "95"});
    const auto bytes = fs::file_size(big);
    ASSERT_GT(bytes, 1'800'000u);
    constexpr int kPictures = 40;
    std::vector<std::string> pictures;
    for (int i = 0; i < kPictures; ++i) {
        // Distinct names: each is a picture of its own.
        pictures.push_back(dir.file("big" + std::to_string(i) + ".jpg"));
        fs::create_hard_link(big, pictures.back());
    }
    constexpr uint64_t kHeadroom = 32u << 20;
    ASSERT_GT(uint64_t(bytes) * kPictures, 2 * kHeadroom) << "the pictures together must overflow the cap";
    const std::string file = dir.file("book.pdf");
    const ChildOutcome child = runInChild([&] {
        PdfHandle h;
        h.setFile(file);
        pdf().SetNumProp(h, VUM_WANT_PAGE_COUNT, 1);
        capAddressSpace(kHeadroom);
        if (pdf().BeginDoc(h) != 0)
            return "BeginDoc: " + lastError();
        for (int i = 0; i < kPictures; ++i) {
            if (i > 0 && pdf().NewPage(h) != 0)
                return "NewPage: " + lastError();
            if (pdf().StretchDrawFromFile(h, 100, 100, 2000, 2870, pictures[size_t(i)].c_str()) != 0)
                return "picture " + std::to_string(i) + ": " + lastError();
        }
        if (pdf().EndDoc(h) != 0)
            return "EndDoc: " + lastError();
        return std::string("written");
    });
    ASSERT_TRUE(child.finished) << "status " << child.status;
    ASSERT_EQ(child.text, "written");
    EXPECT_EQ(qpdfProblems(file), "");
    EXPECT_EQ(placedObjects(file).size(), size_t(kPictures));
}
