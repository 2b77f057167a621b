#pragma once

// Paint Shop Pro files: the first raster layer, at 1, 4, 8 or 24 bits, its
// channels raw, run-length or deflate compressed. Layers are not composed.
#include <vector>

#include "imaging/GraphicClass.h"
#include "imaging/Graphic.h"

namespace vum {

class TPSPGraphic : public TVumGraphic {
public:
    static bool CanLoad(TStream& stream);
    bool ReadImageProperties(TStream& stream, uint32_t imageIndex) override;
    void LoadFromStream(TStream& stream) override;

private:
    struct TBlock {
        uint16_t id = 0;
        uint64_t end = 0;
    };

    // Reads a block (or sub-block) header; false when there is none.
    bool readBlock(TStream& stream, TBlock& block) const;
    void skipChunkSize(TStream& stream) const;
    void readPalette(TStream& stream);
    // Looks for a raster layer in a layer start block; true when one was loaded.
    bool loadLayerStart(TStream& stream, const TBlock& start);
    bool findRasterLayer(TStream& stream, const TBlock& start, TBlock& layer);
    void loadChannels(TStream& stream, const TBlock& layer);
    // One plane of the picture; an optional plane (a colour picture's alpha) that
    // does not fit comes back empty instead of failing the picture.
    std::vector<uint8_t> readChannel(TStream& stream, uint32_t compressedSize, uint32_t size, bool optional);
    void convertRows(const std::vector<std::vector<uint8_t>>& planes);

    uint32_t stride_ = 0;
    uint32_t compression_ = 0;
};

// What the format registry knows of the class.
extern const TGraphicClass TPSPGraphicClass;

} // namespace vum
