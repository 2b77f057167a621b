#pragma once

// TIFF files in either byte order, strip by strip, uncompressed or through the
// decoders of bilevel fax, PackBits, LZW, deflate, JPEG and ThunderScan data;
// and the TIFF preview inside an Encapsulated PostScript file.
#include <memory>

#include "imaging/GraphicClass.h"
#include "imaging/Graphic.h"
#include "imaging/readers/TiffDirectory.h"
#include "imaging/readers/TiffStrips.h"

namespace vum {

class TDecoder;

class TTIFFGraphic : public TVumGraphic {
public:
    static bool CanLoad(TStream& stream);
    // Selects the image of that index in the file's chain of directories.
    bool ReadImageProperties(TStream& stream, uint32_t imageIndex) override;
    // Loads the first image.
    void LoadFromStream(TStream& stream) override;
    // Loads the image of that index (0 the first); a tiled image stays empty.
    void LoadImage(TStream& stream, uint32_t imageIndex);

private:
    void setUpColors();
    void setUpPalette();
    void setUpLab();
    std::unique_ptr<TDecoder> createDecoder();
    void checkStripsHoldThePicture();
    // Raises when a buffer the picture needs besides the bitmap passes the caps.
    void checkBuffersWithinLimits() const;
    bool separatePlanes() const;
    // Bytes of one row of a strip: of all samples, or of one plane's.
    uint64_t stripLineBytes() const;
    // The planes kept while a picture of separate planes is read; 0 for interleaved samples.
    uint64_t planesSize() const;
    void readStrips(TDecoder* decoder);
    // Reads strip number `strip` and decodes it to fill the buffer.
    void readStrip(TDecoder* decoder, std::size_t strip, std::vector<uint8_t>& buffer);
    void readPlanes(TDecoder* decoder);
    void convertRows(uint8_t* buffer, uint64_t rows);
    // Rows of a strip that repeats an earlier one: the earlier one's, from `from` on.
    void copyRows(uint32_t from, uint64_t rows);
    // The samples of each pixel the colours need, the extra ones left out.
    const uint8_t* colorSamples(const uint8_t* row);
    void undoPredictor(uint8_t* row, std::size_t samples) const;

    std::unique_ptr<TTiffDirectory> directory_;
    std::vector<uint32_t> offsets_, counts_;
    TTiffStrips strips_;
    std::vector<uint8_t> packed_, compact_;
    uint32_t keptSamples_ = 1;   // leading samples of a pixel that are converted
    bool iccLab_ = false;        // L*a*b* with a* and b* stored unsigned
    std::vector<float> coefficients_;
    uint32_t positioning_ = 1;
};

class TEPSGraphic : public TTIFFGraphic {
public:
    static bool CanLoad(TStream& stream);
    void LoadFromStream(TStream& stream) override;
};

// What the format registry knows of the class.
extern const TGraphicClass TTIFFGraphicClass;
extern const TGraphicClass TEPSGraphicClass;

} // namespace vum
