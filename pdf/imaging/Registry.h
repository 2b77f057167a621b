#pragma once

// The registry of picture file formats: which reader class reads which file
// extension, and which of the library's own readers recognises a file by its
// content.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imaging/GraphicClass.h"

namespace vum {

class TStream;

struct TClassEntry {
    TGraphicClassRef GraphicClass;
    std::string Description;
    int Count = 0;
};

struct TExtensionEntry {
    std::string Extension;
    std::string Description;
    uint8_t FormatTypes = 0;
    TClassEntry* ClassEntry = nullptr;
};

class TFileFormatList {
public:
    TFileFormatList() = default;
    TFileFormatList(const TFileFormatList&) = delete;
    TFileFormatList& operator=(const TFileFormatList&) = delete;

    // Raises EInvalidGraphic "Attempt to register <ext> twice." unless replace is set.
    void RegisterFileFormat(const std::string& extension, const std::string& description,
                            const std::string& extensionDescription, uint8_t formatTypes, bool replace,
                            TGraphicClassRef graphicClass);
    // An empty extension removes the whole class.
    void UnregisterFileFormat(const std::string& extension, TGraphicClassRef graphicClass);
    void Clear();

    int FindExtension(const std::string& extension) const;
    int FindGraphicClass(TGraphicClassRef graphicClass) const;
    // Everything up to and including the first "." is dropped first.
    TGraphicClassRef FindClassByExtension(const std::string& name) const;
    // Asks the library's own readers in the order their classes were registered.
    TGraphicClassRef FindClassByContent(const std::string& fileName) const;
    TGraphicClassRef FindClassByContent(TStream& stream) const;

    const std::vector<std::unique_ptr<TClassEntry>>& Classes() const { return classes_; }
    const std::vector<std::unique_ptr<TExtensionEntry>>& Extensions() const { return extensions_; }

private:
    void attach(TExtensionEntry& entry, TGraphicClassRef graphicClass, const std::string& description);
    void release(TClassEntry* entry);

    std::vector<std::unique_ptr<TClassEntry>> classes_;
    std::vector<std::unique_ptr<TExtensionEntry>> extensions_;
};

// Registers every reader of the library with the extensions it declares, the
// readers in the order in which they are asked to recognise a file.
void RegisterStandardFormats(TFileFormatList& list);
// The library's registry, filled on first use.
TFileFormatList& FileFormatList();

} // namespace vum
