#pragma once

#include <cstdint>
#include <string>

namespace vum {

class PdfObjectWriter;

// A picture stored once per document and written as an image XObject where
// it is first placed; placed again, it refers to that object. The picture
// holder derives from it.
class VumStoredPicture {
public:
    virtual ~VumStoredPicture() = default;
    // The resource name without the slash ("Im0").
    virtual const std::string& ResourceName() const = 0;
    // Set once the picture has been drawn on a page.
    virtual bool IsUsed() const = 0;
    // The object number given when written; 0 while not written.
    virtual int32_t ObjectNumber() const = 0;
    // Writes the image object unless written already (nothing when it has no
    // data), and lets go of the data: the file holds it from then on. The
    // first pass of a counted document writes no file: the data waits in the
    // document's picture spool for the second.
    virtual void WriteObject(PdfObjectWriter& writer) = 0;
    // A new file is begun (the second pass of a counted document): the
    // picture is written there again when placed.
    virtual void ForgetObject() = 0;
};

} // namespace vum
