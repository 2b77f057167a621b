#pragma once

// PNG files: every colour type and bit depth, Adam7 interlacing, palette,
// gamma, background and transparency.
#include <memory>
#include <vector>

#include "imaging/GraphicClass.h"
#include "imaging/Graphic.h"

namespace vum {

class TLZ77Decoder;

class TPNGGraphic : public TVumGraphic {
public:
    TPNGGraphic();
    ~TPNGGraphic() override;

    static bool CanLoad(TStream& stream);
    bool ReadImageProperties(TStream& stream, uint32_t imageIndex) override;
    void LoadFromStream(TStream& stream) override;

private:
    struct Header {
        uint32_t width = 0, height = 0;
        uint8_t bitDepth = 0, colorType = 0, compression = 0, filter = 0, interlace = 0;
    };

    void readChunkHeader(TStream& stream);
    void readChunkData(TStream& stream);
    void skipChunk(TStream& stream);
    bool chunkIs(const char* name) const;
    void readHeader(TStream& stream);
    void checkPlausibleSize() const;
    void handleChunks(TStream& stream);
    void setupColors();
    void loadImageData(TStream& stream);
    void loadRows(uint64_t rowSize);
    void loadInterlaced(uint64_t samplesUnit);
    void inflateRow(uint8_t* row, std::size_t size);
    void nextImageData();
    void unfilter(uint8_t* row, const uint8_t* prior, std::size_t size) const;
    void readBackground();
    void readTransparency();
    uint32_t grayLevel(const uint8_t* p) const;
    uint32_t rgbFrom(const uint8_t* p) const;

    uint32_t chunkLength_ = 0;
    char chunkType_[4] = {};
    uint32_t crc_ = 0;
    std::vector<uint8_t> data_;
    Header header_;
    uint64_t imageDataBytes_ = 0;

    std::unique_ptr<TLZ77Decoder> decoder_;
    const uint8_t* input_ = nullptr;
    std::size_t inputLeft_ = 0;
    bool inputEnded_ = false;
    bool streamEnded_ = false;

    TPalette palette_;
    bool hasPalette_ = false;
    bool colorsSet_ = false;
    uint32_t background_ = 0xFFFFFF;
    uint32_t transparent_ = 0x1FFFFFFF;
    std::size_t sourceBpp_ = 1;
};

// What the format registry knows of the class.
extern const TGraphicClass TPNGGraphicClass;

} // namespace vum
