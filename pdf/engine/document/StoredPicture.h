#pragma once

#include <cstdint>
#include <string>

namespace vum {

class PdfObjectWriter;

// A picture stored once per document and written as an image XObject when
// the document ends. The picture holder derives from it.
class VumStoredPicture {
public:
    virtual ~VumStoredPicture() = default;
    // The resource name without the slash ("Im0").
    virtual const std::string& ResourceName() const = 0;
    // Set once the picture has been drawn on a page.
    virtual bool IsUsed() const = 0;
    // The object number given when written; 0 while not written.
    virtual int32_t ObjectNumber() const = 0;
    // Writes the image object (nothing when it has no data).
    virtual void WriteObject(PdfObjectWriter& writer) = 0;
};

} // namespace vum
