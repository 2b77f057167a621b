#include "imaging/Registry.h"

#include <algorithm>

#include "imaging/Errors.h"
#include "imaging/Stream.h"
#include "imaging/Support.h"

namespace vum {

namespace {

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

bool sameText(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

} // namespace

int TFileFormatList::FindExtension(const std::string& extension) const
{
    for (std::size_t i = 0; i < extensions_.size(); ++i)
        if (sameText(extensions_[i]->Extension, extension))
            return int(i);
    return -1;
}

int TFileFormatList::FindGraphicClass(TGraphicClassRef graphicClass) const
{
    for (std::size_t i = 0; i < classes_.size(); ++i)
        if (classes_[i]->GraphicClass == graphicClass)
            return int(i);
    return -1;
}

void TFileFormatList::attach(TExtensionEntry& entry, TGraphicClassRef graphicClass, const std::string& description)
{
    int index = FindGraphicClass(graphicClass);
    TClassEntry* classEntry;
    if (index < 0) {
        classes_.push_back(std::make_unique<TClassEntry>(TClassEntry{graphicClass, {}, 0}));
        classEntry = classes_.back().get();
    } else {
        classEntry = classes_[index].get();
    }
    if (!description.empty())
        classEntry->Description = description;
    ++classEntry->Count;
    entry.ClassEntry = classEntry;
}

void TFileFormatList::release(TClassEntry* entry)
{
    if (--entry->Count > 0)
        return;
    classes_.erase(std::find_if(classes_.begin(), classes_.end(),
                                [entry](const auto& c) { return c.get() == entry; }));
}

void TFileFormatList::RegisterFileFormat(const std::string& extension, const std::string& description,
                                         const std::string& extensionDescription, uint8_t formatTypes,
                                         bool replace, TGraphicClassRef graphicClass)
{
    if (extension.empty())
        return;
    int index = FindExtension(extension);
    if (index < 0) {
        extensions_.push_back(std::make_unique<TExtensionEntry>(
            TExtensionEntry{extension, extensionDescription, formatTypes, nullptr}));
        attach(*extensions_.back(), graphicClass, description);
        return;
    }
    if (!replace)
        RaiseGraphicErrorFmt(msg::RegisterTwice, extension);
    TExtensionEntry& entry = *extensions_[index];
    if (entry.ClassEntry->GraphicClass == graphicClass)
        return;
    TClassEntry* old = entry.ClassEntry;
    attach(entry, graphicClass, description);
    release(old);
}

void TFileFormatList::UnregisterFileFormat(const std::string& extension, TGraphicClassRef graphicClass)
{
    if (!extension.empty()) {
        int index = FindExtension(extension);
        if (index < 0)
            return;
        release(extensions_[index]->ClassEntry);
        extensions_.erase(extensions_.begin() + index);
        return;
    }
    int classIndex = FindGraphicClass(graphicClass);
    if (classIndex < 0)
        return;
    TClassEntry* entry = classes_[classIndex].get();
    for (std::size_t i = extensions_.size(); i-- > 0 && entry->Count > 0;)
        if (extensions_[i]->ClassEntry == entry) {
            extensions_.erase(extensions_.begin() + long(i));
            --entry->Count;
        }
    classes_.erase(classes_.begin() + classIndex);
}

void TFileFormatList::Clear()
{
    classes_.clear();
    extensions_.clear();
}

TGraphicClassRef TFileFormatList::FindClassByExtension(const std::string& name) const
{
    std::size_t dot = name.find('.');
    std::string extension = dot == std::string::npos ? name : name.substr(dot + 1);
    int index = FindExtension(extension);
    return index < 0 ? nullptr : extensions_[index]->ClassEntry->GraphicClass;
}

TGraphicClassRef TFileFormatList::FindClassByContent(const std::string& fileName) const
{
    TFileStream stream(fileName);
    return FindClassByContent(stream);
}

TGraphicClassRef TFileFormatList::FindClassByContent(TStream& stream) const
{
    for (const auto& entry : classes_) {
        TGraphicClassRef graphicClass = entry->GraphicClass;
        if (graphicClass->CanLoad && graphicClass->CanLoad(stream))
            return graphicClass;
    }
    return nullptr;
}

void RegisterStandardFormats(TFileFormatList& list)
{
    struct Row {
        const char* extension;
        TGraphicClassRef graphicClass;
        const char* description;
        const char* extensionDescription;
        uint8_t types;
    };
    const uint8_t tiff = ftRaster | ftMultiImage;
    const Row rows[] = {
        {"bmp", &TBitmapClass, "Windows bitmaps", "", ftRaster},
        {"ico", &TIconClass, "Windows icons", "", ftRaster},
        {"wmf", &TMetafileClass, "Windows metafiles", "", ftVector},
        {"emf", &TMetafileClass, "Windows metafiles", "Windows enhanced meta files", ftVector},
        {"jfif", &TJPEGImageClass, "JPG images", "JFIF images", ftRaster},
        {"jpg", &TJPEGImageClass, "", "JPG images", ftRaster},
        {"jpe", &TJPEGImageClass, "", "JPE images", ftRaster},
        {"jpeg", &TJPEGImageClass, "", "JPEG images", ftRaster},
        {"rle", &TBitmapClass, "Windows bitmaps", "Run length encoded Windows bitmaps", ftRaster},
        {"dib", &TBitmapClass, "", "Device independant Windows bitmaps", ftRaster},
        {"win", &TTargaGraphicClass, "Truevision images", "", ftRaster},
        {"vst", &TTargaGraphicClass, "", "", ftRaster},
        {"vda", &TTargaGraphicClass, "", "", ftRaster},
        {"tga", &TTargaGraphicClass, "", "", ftRaster},
        {"icb", &TTargaGraphicClass, "", "", ftRaster},
        {"tiff", &TTIFFGraphicClass, "Tagged image file format images", "Macintosh TIFF images", tiff},
        {"tif", &TTIFFGraphicClass, "", "PC TIF images", tiff},
        {"fax", &TTIFFGraphicClass, "", "GFI fax images", tiff},
        {"eps", &TEPSGraphicClass, "Encapsulated Postscript images", "", ftRaster},
        {"pcx", &TPCXGraphicClass, "ZSoft Paintbrush images", "", ftRaster},
        {"pcc", &TPCXGraphicClass, "", "", ftRaster},
        {"scr", &TPCXGraphicClass, "", "Word 5.x screen capture images", ftRaster},
        {"rpf", &TRLAGraphicClass, "Alias/Wavefront images", "", ftRaster},
        {"rla", &TRLAGraphicClass, "", "", ftRaster},
        {"sgi", &TSGIGraphicClass, "SGI images", "SGI true color images", ftRaster},
        {"rgba", &TSGIGraphicClass, "", "SGI true color images with alpha", ftRaster},
        {"rgb", &TSGIGraphicClass, "", "SGI true color images", ftRaster},
        {"bw", &TSGIGraphicClass, "", "SGI black/white images", ftRaster},
        {"psd", &TPSDGraphicClass, "Photoshop images", "", ftRaster | ftLayered},
        {"pdd", &TPSDGraphicClass, "", "", ftRaster | ftLayered},
        {"ppm", &TPPMGraphicClass, "Portable map images", "Portable pixel map images", ftRaster},
        {"pgm", &TPPMGraphicClass, "", "Portable gray map images", ftRaster},
        {"pbm", &TPPMGraphicClass, "", "Portable bitmap images", ftRaster},
        {"cel", &TAutodeskGraphicClass, "Autodesk images", "", ftRaster},
        {"pic", &TAutodeskGraphicClass, "Autodesk images", "", ftRaster},
        {"pcd", &TPCDGraphicClass, "Kodak Photo-CD images", "", ftRaster},
        {"gif", &TGIFGraphicClass, "CompuServe images", "", ftRaster | ftMultiImage | ftAnimation},
        {"cut", &TCUTGraphicClass, "Dr. Halo images", "", ftRaster},
        {"psp", &TPSPGraphicClass, "Paintshop Pro images", "", ftRaster | ftVector},
        {"png", &TPNGGraphicClass, "Portable network graphic images", "", ftRaster},
    };
    for (const Row& row : rows)
        list.RegisterFileFormat(row.extension, row.description, row.extensionDescription, row.types, false,
                                row.graphicClass);
}

TFileFormatList& FileFormatList()
{
    static TFileFormatList list;
    static const bool filled = (RegisterStandardFormats(list), true);
    (void)filled;
    return list;
}

} // namespace vum
