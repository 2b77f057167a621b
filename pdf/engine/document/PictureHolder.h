#pragma once

// A picture stored once per document: read from its file (or passed through
// untouched when it is a JPEG file and pictures are JPEG-compressed), encoded
// into its final stream at its draw call and written as an image XObject
// where it is first placed. Its stream leaves memory then, so a book of any
// number of pictures holds one at a time. The first pass of a document that
// counts its pages writes nothing: the stream waits in the document's
// picture spool for the second pass, which never reads the file again.
#include "engine/document/PictureSpool.h"
#include "engine/document/StoredPicture.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vum {

class TBitmap;
class TCustomVum;

class TCustomVumImage : public VumStoredPicture {
public:
    enum : uint8_t { NoCompression = 0, ZlibCompression = 1, JpegCompression = 2 };

    // Makes a picture named "Im<n>" (n = pictures the document holds) and appends it to its list.
    static TCustomVumImage& Create(TCustomVum& owner, const std::string& fileName);

    // Encodes the picture unless it is encoded, kept or written already.
    void Prepare();
    int IndexInDocument() const;
    bool IsMonochrome() const { return BitsPerComponent == 1; }

    const std::string& ResourceName() const override { return Name; }
    bool IsUsed() const override { return Used; }
    int32_t ObjectNumber() const override { return objectNumber_; }
    void WriteObject(PdfObjectWriter& writer) override;
    void ForgetObject() override { objectNumber_ = 0; }

    uint8_t BitsPerComponent = 0;
    uint8_t Compression = NoCompression;
    int32_t Width = 0;
    int32_t Height = 0;
    int Components = 3;             // 1 grey, 3 RGB, 4 CMYK
    bool InvertedCmyk = false;      // passed-through Adobe CMYK: /Decode reverses the values
    bool Used = false;
    std::string Name;
    std::string FileName;
    std::string Data;               // the stream, ASCII85-encoded; empty once written or kept

private:
    explicit TCustomVumImage(TCustomVum& owner) : owner_(owner) {}
    [[noreturn]] void Unsupported() const;
    std::unique_ptr<TBitmap> LoadPictureFile(bool allowJpeg) const;
    void StoreJpegFile();
    void Encode(const TBitmap& picture);
    void WritePixels(const TBitmap& picture, std::string& out) const;
    void StoreRaw(const TBitmap& picture);
    void StoreZlib(const TBitmap& picture);
    void StoreJpeg(const TBitmap& picture);
    // The stream comes back from the spool for the pass that writes it.
    void TakeBackKept();
    // The writer has had the stream; a pass that wrote nothing keeps it.
    void LetGoOfData();

    TCustomVum& owner_;
    int32_t objectNumber_ = 0;
    PictureSpool::Entry kept_;
};

// The first picture of the document made from this file (exact name), or nullptr.
TCustomVumImage* FindImageByName(TCustomVum& document, const std::string& fileName);

} // namespace vum
