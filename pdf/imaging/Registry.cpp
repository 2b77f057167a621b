#include "imaging/Registry.h"

#include <algorithm>

#include "imaging/Errors.h"
#include "imaging/readers/AutodeskReader.h"
#include "imaging/readers/BmpReader.h"
#include "imaging/readers/CutReader.h"
#include "imaging/readers/GifReader.h"
#include "imaging/readers/IcoReader.h"
#include "imaging/readers/JpegReader.h"
#include "imaging/readers/MetafileReader.h"
#include "imaging/readers/PcdReader.h"
#include "imaging/readers/PcxReader.h"
#include "imaging/readers/PngReader.h"
#include "imaging/readers/PpmReader.h"
#include "imaging/readers/PsdReader.h"
#include "imaging/readers/PspReader.h"
#include "imaging/readers/RlaReader.h"
#include "imaging/readers/SgiReader.h"
#include "imaging/readers/TargaReader.h"
#include "imaging/readers/TiffReader.h"
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

namespace {

// One line a reader; its own file declares its extensions and content test.
const TGraphicClassRef kReaders[] = {
    &TBitmapClass,
    &TIconClass,
    &TMetafileClass,
    &TJPEGImageClass,
    &TTargaGraphicClass,
    &TTIFFGraphicClass,
    &TEPSGraphicClass,
    &TPCXGraphicClass,
    &TRLAGraphicClass,
    &TSGIGraphicClass,
    &TPSDGraphicClass,
    &TPPMGraphicClass,
    &TAutodeskGraphicClass,
    &TPCDGraphicClass,
    &TGIFGraphicClass,
    &TCUTGraphicClass,
    &TPSPGraphicClass,
    &TPNGGraphicClass,
};

} // namespace

void RegisterStandardFormats(TFileFormatList& list)
{
    for (TGraphicClassRef reader : kReaders) {
        const char* description = reader->Description;
        for (const TExtensionDeclaration& extension : reader->Extensions) {
            list.RegisterFileFormat(extension.Extension, description, extension.Description, reader->FormatTypes, false,
                                    reader);
            description = "";
        }
    }
}

TFileFormatList& FileFormatList()
{
    static TFileFormatList list;
    static const bool filled = (RegisterStandardFormats(list), true);
    (void)filled;
    return list;
}

} // namespace vum
