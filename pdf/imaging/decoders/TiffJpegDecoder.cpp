#include "imaging/decoders/TiffJpegDecoder.h"

#include <cstring>

#include "imaging/decoders/JpegShim.h"
#include "imaging/Errors.h"

namespace vum {

void TTIFFJPEGDecoder::StartDecoding()
{
    const auto& pair = properties_.YCbCrSubsampling;
    hSubsampling_ = pair.size() >= 2 ? pair[0] : 1;
    vSubsampling_ = pair.size() >= 2 ? pair[1] : 1;
    if (hSubsampling_ == 0 || vSubsampling_ == 0)
        hSubsampling_ = vSubsampling_ = 1;
    // The tables stream must hold tables only; checked here once, before any strip.
    if (!properties_.JPEGTables.empty()) {
        const uint8_t* tables = properties_.JPEGTables.data();
        vum_jpeg_strip probe{};
        probe.tables = tables;
        probe.tables_size = properties_.JPEGTables.size();
        std::size_t lines = 0;
        int warnings = 0;
        char message[200] = {};
        // An empty strip after valid tables fails in libjpeg, not with the tables code.
        probe.data = tables;
        probe.size = 0;
        if (vum_jpeg_decode_strip(&probe, &lines, &warnings, message, sizeof message) == VUM_STRIP_BAD_TABLES)
            RaiseCompressionError("Bogus JPEG tables field.");
    }
}

void TTIFFJPEGDecoder::Decode(const uint8_t*& source, uint8_t*& dest, std::size_t packedSize,
                              std::size_t unpackedSize)
{
    const TImageProperties& p = properties_;
    bool tiled = p.Options & ioTiled;
    uint64_t width = tiled ? uint64_t(p.TileWidth) : p.Width;
    uint64_t rows = p.RowsPerStrip.empty() ? p.Height : p.RowsPerStrip[0];
    uint64_t left = p.Height > uint32_t(p.CurrentRow) ? p.Height - uint32_t(p.CurrentRow) : 0;
    uint64_t height = tiled ? uint64_t(p.TileLength) : std::min(rows, left);
    bool separate = p.PlanarConfiguration == 2;
    uint32_t planeStrips = p.SamplesPerPixel ? uint32_t(p.StripCount) / p.SamplesPerPixel : 0;
    // With separate planes the strips after the first plane's hold the subsampled chroma.
    bool chroma = separate && planeStrips > 0 && uint32_t(p.CurrentStrip) >= planeStrips;
    if (chroma) {
        width = (width + hSubsampling_ - 1) / hSubsampling_;
        height = (height + vSubsampling_ - 1) / vSubsampling_;
    }
    uint64_t lineLength = p.BytesPerLine > 0 && !chroma ? uint64_t(p.BytesPerLine)
                                                         : (uint64_t(p.BitsPerPixel) * width + 7) / 8;
    std::memset(dest, 0, unpackedSize);
    vum_jpeg_strip strip{};
    strip.tables = p.JPEGTables.empty() ? nullptr : p.JPEGTables.data();
    strip.tables_size = p.JPEGTables.size();
    strip.data = source;
    strip.size = packedSize;
    strip.width = unsigned(width);
    strip.height = unsigned(height);
    strip.components = separate ? 1 : p.SamplesPerPixel;
    strip.precision = p.BitsPerSample;
    strip.h_sampling = separate ? 1 : hSubsampling_;
    strip.v_sampling = separate ? 1 : vSubsampling_;
    strip.ycbcr = p.ColorScheme == TColorScheme::YCbCr && !separate;
    if (lineLength == 0 || unpackedSize % lineLength != 0)
        RaiseCompressionError("Fractional JPEG scanline unsupported.");
    strip.out = dest;
    strip.line_length = lineLength;
    strip.lines = unpackedSize / lineLength;
    std::size_t lines = 0;
    char message[200] = {};
    int code = vum_jpeg_decode_strip(&strip, &lines, &warnings_, message, sizeof message);
    decoded_ = lines * lineLength;
    switch (code) {
    case VUM_STRIP_OK: return;
    // Fewer lines than the strip holds: the reader refuses the picture as it
    // refuses any strip whose data cannot make its rows.
    case VUM_STRIP_CUT: return;
    case VUM_STRIP_BAD_TABLES: RaiseCompressionError("Bogus JPEG tables field.");
    case VUM_STRIP_BAD_SIZE: RaiseCompressionError("Improper JPEG strip/tile size.");
    case VUM_STRIP_BAD_COMPONENTS: RaiseCompressionError("Improper JPEG component count.");
    case VUM_STRIP_BAD_PRECISION: RaiseCompressionError("Improper JPEG data precision.");
    case VUM_STRIP_BAD_SAMPLING: RaiseCompressionError("Improper JPEG sampling factors.");
    default: RaiseCompressionError(std::string("JPEG error: ") + message);
    }
}

} // namespace vum
