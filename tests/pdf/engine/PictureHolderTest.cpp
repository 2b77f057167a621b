// The picture holder's stored forms, seen from inside the library.
#include "engine/canvas/VumCanvas.h"
#include "engine/document/PdfVum.h"
#include "engine/document/PictureHolder.h"
#include "engine/util/Ascii85.h"

#include "PdfFiles.h"
#include "TempDir.h"
#include "ToolRunner.h"

#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <vector>

using namespace vum;

namespace {

std::string makeWithTool(const TempDir& dir, const std::string& name, const std::vector<std::string>& args)
{
    std::string out = dir.file(name);
    std::vector<std::string> full = args;
    full.push_back(out);
    EXPECT_EQ(runTool(full).exitCode, 0) << name;
    return out;
}

TCustomVumImage& image(TPdfVum& doc, std::size_t index)
{
    return dynamic_cast<TCustomVumImage&>(*doc.Images.at(index));
}

} // namespace

TEST(PictureHolder, StoredFormsByCompressMode)
{
    TempDir dir;
    std::string jpg = makeWithTool(dir, "photo.jpg", {"convert", "-size", "16x8", "gradient:red-blue"});
    std::string gif = makeWithTool(dir, "palette.gif", {"convert", "-size", "16x8", "gradient:red-blue", "-colors", "16"});
    struct Case {
        const char* what;
        std::string file;
        uint8_t mode;
        uint8_t compression, bits;
    } cases[] = {
        {"jpeg passed through", jpg, 2, 2, 8},
        {"jpeg decoded for zlib", jpg, 1, 1, 8},
        {"palette picture for zlib: 8 bits a component", gif, 1, 1, 8},
        {"palette picture raw", gif, 0, 0, 8},
        {"palette picture as jpeg", gif, 2, 2, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TPdfVum doc;
        doc.SetFileName(dir.file("holder.pdf"));
        doc.SetImageCompressMode(c.mode);
        doc.BeginDoc();
        doc.Canvas().DrawFromFile(0, 0, c.file);
        TCustomVumImage& stored = image(doc, 0);
        EXPECT_EQ(stored.Compression, c.compression);
        EXPECT_EQ(stored.BitsPerComponent, c.bits);
        EXPECT_EQ(stored.Width, 16);
        EXPECT_EQ(stored.Height, 8);
        EXPECT_TRUE(stored.Used);
        doc.EndDoc();
        if (c.mode == 2 && c.file == jpg) {
            EXPECT_NE(readFile(dir.file("holder.pdf")).find(Ascii85Encode(readFile(jpg))), std::string::npos);
        }
    }
}

TEST(PictureHolder, NamesAndReuse)
{
    TempDir dir;
    std::string a = makeWithTool(dir, "a.png", {"convert", "-size", "4x4", "xc:red"});
    std::string b = makeWithTool(dir, "b.png", {"convert", "-size", "4x4", "xc:blue"});
    TPdfVum doc;
    doc.SetFileName(dir.file("names.pdf"));
    doc.BeginDoc();
    doc.Canvas().DrawFromFile(0, 0, a);
    doc.Canvas().DrawFromFile(0, 0, b);
    doc.Canvas().DrawFromFile(0, 0, a);
    ASSERT_EQ(doc.Images.size(), 2u);
    doc.Canvas().NoImageReuse = 1;
    doc.Canvas().DrawFromFile(0, 0, a);
    ASSERT_EQ(doc.Images.size(), 3u);
    EXPECT_EQ(image(doc, 2).Name, "Im2");
    EXPECT_EQ(image(doc, 2).IndexInDocument(), 2);
    EXPECT_EQ(FindImageByName(doc, b), &image(doc, 1));
    EXPECT_EQ(FindImageByName(doc, dir.file("B.png")), nullptr);   // names compare exactly
    doc.EndDoc();
}

TEST(PictureHolder, APictureIsWrittenWhereFirstPlacedAndThenReferredTo)
{
    ASSERT_TRUE(toolsInstalled({"convert", "qpdf", "pdfimages"}));
    TempDir dir;
    std::string a = makeWithTool(dir, "a.png", {"convert", "-size", "40x30", "xc:red"});
    std::string b = makeWithTool(dir, "b.png", {"convert", "-size", "20x10", "xc:blue"});
    for (const bool counted : {false, true}) {
        SCOPED_TRACE(counted ? "counted document" : "plain document");
        const std::string file = dir.file(counted ? "counted.pdf" : "plain.pdf");
        TPdfVum doc;
        doc.SetFileName(file);
        doc.SetWantPageCount(counted);
        doc.BeginDoc();
        doc.Canvas().DrawFromFile(0, 0, a);
        // The file holds the picture from now on; memory does not.
        EXPECT_TRUE(image(doc, 0).Data.empty());
        EXPECT_GT(image(doc, 0).ObjectNumber(), 0);
        doc.NewPage();
        doc.Canvas().DrawFromFile(0, 0, b);
        doc.Canvas().DrawFromFile(100, 100, a);
        doc.EndDoc();
        EXPECT_EQ(qpdfProblems(file), "");
        const std::vector<std::string> objects = placedObjects(file);
        ASSERT_EQ(objects.size(), 3u);
        EXPECT_EQ(objects[0], objects[2]) << "placed again, the same object";
        EXPECT_NE(objects[0], objects[1]);
    }
}
