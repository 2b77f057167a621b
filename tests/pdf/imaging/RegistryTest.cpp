// Which reader the registry picks for a file: content first, in the fixed
// order of the readers, then the extension.
#include <gtest/gtest.h>

#include "ImagingTestUtil.h"
#include "TempDir.h"
#include "imaging/Errors.h"
#include "imaging/PictureLoader.h"
#include "imaging/Registry.h"
#include "imaging/readers/BmpReader.h"
#include "imaging/readers/CutReader.h"
#include "imaging/readers/GifReader.h"
#include "imaging/readers/MetafileReader.h"
#include "imaging/readers/PngReader.h"
#include "imaging/readers/SgiReader.h"
#include "imaging/readers/TargaReader.h"
#include "imaging/readers/TiffReader.h"
#include "imaging/Stream.h"

using namespace vum;

TEST(Registry, FortyExtensionsInOrder)
{
    // Each reader's extensions together, the readers in their fixed order.
    const TFileFormatList& list = FileFormatList();
    const char* expected[] = {"bmp", "rle", "dib", "ico", "wmf", "emf", "jfif", "jpg", "jpe", "jpeg",
                              "win", "vst", "vda", "tga", "icb", "tiff", "tif", "fax", "eps", "pcx",
                              "pcc", "scr", "rpf", "rla", "sgi", "rgba", "rgb", "bw", "psd", "pdd",
                              "ppm", "pgm", "pbm", "cel", "pic", "pcd", "gif", "cut", "psp", "png"};
    ASSERT_EQ(list.Extensions().size(), 40u);
    for (std::size_t i = 0; i < 40; ++i)
        EXPECT_EQ(list.Extensions()[i]->Extension, expected[i]);
    const char* contentOrder[] = {"TTargaGraphic", "TTIFFGraphic", "TEPSGraphic", "TPCXGraphic", "TRLAGraphic",
                                  "TSGIGraphic", "TPSDGraphic", "TPPMGraphic", "TAutodeskGraphic", "TPCDGraphic",
                                  "TGIFGraphic", "TCUTGraphic", "TPSPGraphic", "TPNGGraphic"};
    std::vector<std::string> asked;
    for (const auto& entry : list.Classes())
        if (entry->GraphicClass->CanLoad)
            asked.push_back(entry->GraphicClass->Name);
    EXPECT_EQ(asked, std::vector<std::string>(std::begin(contentOrder), std::end(contentOrder)));
    EXPECT_EQ(list.Classes()[0]->Count, 3);   // bmp, rle, dib
    EXPECT_EQ(list.Classes()[0]->Description, "Windows bitmaps");
    // Descriptions as the readers declare them, for a class and for an extension of it.
    EXPECT_EQ(list.Classes()[list.FindGraphicClass(&TTIFFGraphicClass)]->Description, "Tagged image file format images");
    EXPECT_EQ(list.Extensions()[list.FindExtension("fax")]->Description, "GFI fax images");
    EXPECT_EQ(list.Extensions()[list.FindExtension("gif")]->FormatTypes, ftRaster | ftMultiImage | ftAnimation);
}

TEST(Registry, ByExtension)
{
    const TFileFormatList& list = FileFormatList();
    struct Case {
        const char* name;
        TGraphicClassRef expected;
    } cases[] = {
        {"tif", &TTIFFGraphicClass}, {".tif", &TTIFFGraphicClass}, {"TIF", &TTIFFGraphicClass},
        {"photo.JPG", &TJPEGImageClass}, {"x.y.tif", nullptr}, {"png", &TPNGGraphicClass},
        {"emf", &TMetafileClass}, {"xyz", nullptr},
    };
    for (const Case& c : cases)
        EXPECT_EQ(list.FindClassByExtension(c.name), c.expected) << c.name;
    EXPECT_EQ(ExtractFileExt("/a.b/x.y.tif"), ".tif");
    EXPECT_EQ(ExtractFileExt("/a.b/name"), "");
}

TEST(Registry, ContentBeforeExtension)
{
    TempDir dir;
    auto png = std::string("\x89PNG\r\n\x1a\n", 8) + std::string(30, '\0');
    auto gif = std::string("GIF89a") + std::string(30, '\0');
    auto bmp = std::string("BM") + std::string(60, '\0');
    auto tiff = std::string("II*\0\x08\0\0\0", 8) + std::string(30, '\0');
    struct Case {
        const char* file;
        std::string bytes;
        TGraphicClassRef expected;
    } cases[] = {
        {"png-named.tga", png, &TPNGGraphicClass},   // Targa rejects it: its byte 1 is not below 2
        {"gif-named.png", gif, &TGIFGraphicClass},
        {"tiff-named.jpg", tiff, &TTIFFGraphicClass},
        {"bitmap.bmp", bmp, &TBitmapClass},            // bitmaps and JPEG only by extension
        {"bitmap.dat", bmp, nullptr},
        {"photo.jpeg", std::string("\xff\xd8\xff\xe0") + std::string(40, '\0'), &TJPEGImageClass},
        {"eight.png", std::string(8, 'P'), &TPNGGraphicClass},   // too short for every signature
        {"noext", png, &TPNGGraphicClass},
    };
    for (const Case& c : cases) {
        std::string file = dir.file(c.file);
        writeFile(file, c.bytes);
        EXPECT_EQ(FindPictureClass(file), c.expected) << c.file;
    }
    std::string eight = dir.file("eight.png");
    EXPECT_EQ(FileFormatList().FindClassByContent(eight), nullptr);
    EXPECT_THROW(FileFormatList().FindClassByContent(dir.file("missing.png")), std::exception);
}

TEST(Registry, RegisteringAndUnregistering)
{
    TFileFormatList list;
    RegisterStandardFormats(list);
    try {
        list.RegisterFileFormat("TIF", "", "", ftRaster, false, &TPNGGraphicClass);
        FAIL();
    } catch (const EInvalidGraphic& e) {
        EXPECT_STREQ(e.what(), "Attempt to register TIF twice.");
    }
    EXPECT_EQ(list.FindClassByExtension("tif"), &TTIFFGraphicClass);

    list.UnregisterFileFormat("rle", &TBitmapClass);
    EXPECT_EQ(list.Classes()[0]->Count, 2);
    list.RegisterFileFormat("cut", "", "", ftRaster, true, &TPNGGraphicClass);
    EXPECT_EQ(list.FindClassByExtension("cut"), &TPNGGraphicClass);
    EXPECT_EQ(list.FindGraphicClass(&TCUTGraphicClass), -1);   // its only extension moved away
    list.UnregisterFileFormat("", &TSGIGraphicClass);
    EXPECT_EQ(list.FindExtension("rgba"), -1);
    EXPECT_EQ(list.FindGraphicClass(&TSGIGraphicClass), -1);
    EXPECT_EQ(list.Extensions().size(), 35u);
}

TEST(Registry, UnreadableFormatsFailCleanly)
{
    TempDir dir;
    std::string tga = dir.file("picture.tga");
    // Four pixels need 12 bytes.
    writeFile(tga, std::string("\0\0\x02\0\0\0\0\x18\0\0\0\0\x02\0\x02\0\x18\0", 18) + std::string(5, '\x7f'));
    EXPECT_EQ(FindPictureClass(tga), &TTargaGraphicClass);
    EXPECT_THROW(loadWithRegistry(tga), EInvalidGraphic);
    std::string emf = dir.file("drawing.emf");
    writeFile(emf, std::string(100, '\x01'));
    EXPECT_THROW(loadWithRegistry(emf), EInvalidGraphic);
}
