#pragma once

// What the format registry knows of a picture class: how to make one, how to
// recognise its files by content, and the file extensions it reads. Each
// reader declares its own in its file; the registry lists the readers.
#include <cstdint>
#include <memory>
#include <span>

#include "imaging/Bitmap.h"

namespace vum {

class TStream;

enum : uint8_t { ftAnimation = 1, ftLayered = 2, ftMultiImage = 4, ftRaster = 8, ftVector = 16 };

struct TExtensionDeclaration {
    const char* Extension;     // without a dot
    const char* Description;   // the extension's own description, may be empty
};

struct TGraphicClass {
    const char* Name;
    std::unique_ptr<TBitmap> (*Create)();
    // Set for the library's own readers only; the others are found by extension.
    bool (*CanLoad)(TStream&);
    const char* Description;   // the class's description in the registry
    std::span<const TExtensionDeclaration> Extensions;
    uint8_t FormatTypes;       // ft* bits, the same for every extension of the class
};
using TGraphicClassRef = const TGraphicClass*;

template <class T>
std::unique_ptr<TBitmap> CreateGraphic()
{
    return std::make_unique<T>();
}

} // namespace vum
