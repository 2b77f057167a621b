#include "imaging/readers/PngReader.h"

#include <cstring>

#include <zlib.h>

#include "imaging/DataBounds.h"
#include "imaging/decoders/InflateDecoder.h"
#include "imaging/Errors.h"
#include "imaging/Limits.h"
#include "imaging/Stream.h"
#include "imaging/Support.h"

namespace vum {

namespace {

const uint8_t kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
const char* const kPng = "PNG";

uint32_t be32(const uint8_t* p)
{
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

uint32_t be16(const uint8_t* p)
{
    return uint32_t(p[0]) << 8 | p[1];
}

int paeth(int a, int b, int c)
{
    int p = a + b - c;
    int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return a;
    return pb <= pc ? b : c;
}

[[noreturn]] void invalid()
{
    RaiseGraphicErrorFmt(msg::InvalidFormat, kPng);
}

} // namespace

TPNGGraphic::TPNGGraphic() = default;
TPNGGraphic::~TPNGGraphic() = default;

bool TPNGGraphic::CanLoad(TStream& stream)
{
    if (stream.Remaining() < 9)
        return false;
    TPositionGuard guard(stream);
    uint8_t sig[8];
    return stream.Read(sig, 8) == 8 && std::memcmp(sig, kSignature, 8) == 0;
}

void TPNGGraphic::readChunkHeader(TStream& stream)
{
    uint8_t head[8];
    stream.ReadBuffer(head, 8);
    chunkLength_ = be32(head);
    std::memcpy(chunkType_, head + 4, 4);
    // A chunk must fit into what is left of the file, its CRC included.
    if (chunkLength_ > 0x7FFFFFFFu || uint64_t(chunkLength_) + 4 > stream.Remaining())
        invalid();
    crc_ = crc32(0, head + 4, 4);
}

void TPNGGraphic::readChunkData(TStream& stream)
{
    data_.resize(chunkLength_);
    if (chunkLength_)
        stream.ReadBuffer(data_.data(), chunkLength_);
    uint32_t stored = stream.ReadLongBE();
    crc_ = crc32(crc_, data_.data(), chunkLength_);
    if (crc_ != stored)
        RaiseGraphicErrorFmt(msg::CrcError, kPng);
}

void TPNGGraphic::skipChunk(TStream& stream)
{
    stream.Skip(uint64_t(chunkLength_) + 4);
}

bool TPNGGraphic::chunkIs(const char* name) const
{
    for (int i = 0; i < 4; ++i)
        if ((chunkType_[i] | 0x20) != (name[i] | 0x20))
            return false;
    return true;
}

void TPNGGraphic::readHeader(TStream& stream)
{
    readChunkHeader(stream);
    if (!chunkIs("IHDR") || chunkLength_ != 13)
        invalid();
    readChunkData(stream);
    header_.width = be32(data_.data());
    header_.height = be32(data_.data() + 4);
    header_.bitDepth = data_[8];
    header_.colorType = data_[9];
    header_.compression = data_[10];
    header_.filter = data_[11];
    header_.interlace = data_[12];
}

bool TPNGGraphic::ReadImageProperties(TStream& stream, uint32_t)
{
    ClearProperties();
    imageDataBytes_ = 0;
    uint8_t sig[8];
    if (stream.Read(sig, 8) != 8 || std::memcmp(sig, kSignature, 8) != 0)
        return false;
    readChunkHeader(stream);
    if (!chunkIs("IHDR") || chunkLength_ != 13)
        return false;
    properties_.Options |= ioBigEndian;
    stream.Seek(stream.Position() - 8);
    readHeader(stream);
    if (header_.width == 0 || header_.height == 0)
        return false;
    TImageProperties& p = properties_;
    p.Width = header_.width;
    p.Height = header_.height;
    p.Compression = header_.compression == 0 ? TCompressionType::ctLZ77 : TCompressionType::ctUnknown;
    p.BitsPerSample = header_.bitDepth;
    switch (header_.colorType) {
    case 0: p.SamplesPerPixel = 1; p.ColorScheme = TColorScheme::Gray; break;
    case 2: p.SamplesPerPixel = 3; p.ColorScheme = TColorScheme::RGB; break;
    case 3: p.SamplesPerPixel = 1; p.ColorScheme = TColorScheme::Indexed; break;
    case 4: p.SamplesPerPixel = 2; p.ColorScheme = TColorScheme::GrayAlpha; break;
    case 6: p.SamplesPerPixel = 4; p.ColorScheme = TColorScheme::RGBA; break;
    default: p.SamplesPerPixel = 1; p.ColorScheme = TColorScheme::Unknown;
    }
    p.BitsPerPixel = uint8_t(p.SamplesPerPixel * header_.bitDepth);
    p.FilterMethod = header_.filter;
    p.Interlaced = header_.interlace != 0;
    p.AlphaPresent = p.ColorScheme == TColorScheme::GrayAlpha || p.ColorScheme == TColorScheme::RGBA ||
                     p.ColorScheme == TColorScheme::BGRA;
    for (;;) {
        readChunkHeader(stream);
        if (chunkIs("gAMA") && chunkLength_ >= 4) {
            readChunkData(stream);
            p.FileGamma = float(be32(data_.data())) / 100000.0f;
            continue;
        }
        if (chunkIs("IDAT"))
            imageDataBytes_ += chunkLength_;
        skipChunk(stream);
        if (chunkIs("IEND"))
            break;
    }
    return true;
}

void TPNGGraphic::checkPlausibleSize() const
{
    if (!SizeWithinLimits(header_.width, header_.height))
        invalid();
    // A file claiming more pixels than deflate could pack into its image
    // data is cut short or forged.
    uint64_t rowBytes = (uint64_t(header_.width) * header_.bitDepth * std::max<int>(properties_.SamplesPerPixel, 1) + 7) / 8;
    uint64_t needed = (rowBytes + 1) * header_.height;
    if (needed > MaxUnpackedSize(TCompressionType::ctLZ77, imageDataBytes_, rowBytes))
        invalid();
}

void TPNGGraphic::LoadFromStream(TStream& stream)
{
    ReleaseImage();
    basePosition_ = stream.Position();
    stream_ = &stream;
    decoder_.reset();
    if (!ReadImageProperties(stream, 0))
        invalid();
    checkPlausibleSize();
    stream.Seek(basePosition_ + 8);
    StartProgressRect();
    Progress(TProgressStage::psStarting, 0, false, "Preparing...");
    TProgressPhase phase([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    palette_.clear();
    hasPalette_ = colorsSet_ = false;
    inputEnded_ = streamEnded_ = false;
    input_ = nullptr;
    inputLeft_ = 0;
    background_ = 0xFFFFFF;
    transparent_ = 0x1FFFFFFF;
    SetPixelFormat(TPixelFormat::pfDevice);
    readHeader(stream);
    colorManager_.SourceOptions = coSwapBytes;
    if (properties_.Compression != TCompressionType::ctLZ77)
        RaiseGraphicErrorFmt(msg::NotSupportedFor, msg::CompressionScheme, kPng);
    decoder_ = std::make_unique<TLZ77Decoder>(Z_NO_FLUSH, false);
    decoder_->StartDecoding();
    handleChunks(stream);
    decoder_->FinishDecoding();
    decoder_.reset();
    data_.clear();
    data_.shrink_to_fit();
}

void TPNGGraphic::handleChunks(TStream& stream)
{
    readChunkHeader(stream);
    for (;;) {
        if (chunkIs("IDAT")) {
            Progress(TProgressStage::psEnding, 0, false, {});
            loadImageData(stream);
            if (chunkIs("IDAT"))
                invalid();
            continue;   // the chunk after the image data is current
        }
        if (chunkIs("PLTE")) {
            if (chunkLength_ % 3 != 0)
                RaiseGraphicErrorFmt(msg::InvalidPalette, kPng);
            readChunkData(stream);
            if (header_.colorType == 3) {
                setupColors();
                palette_ = colorManager_.CreatePaletteFromData({data_.data()}, 0, chunkLength_ / 3, false);
                hasPalette_ = true;
            }
        } else if (chunkIs("gAMA")) {
            readChunkData(stream);
            if (chunkLength_ >= 4) {
                colorManager_.SetGamma(float(be32(data_.data())) / 100000.0f, 2.2f);
                colorManager_.TargetOptions |= coGammaCorrect;
                properties_.Options |= ioUseGamma;
            }
        } else if (chunkIs("bKGD")) {
            readChunkData(stream);
            readBackground();
        } else if (chunkIs("tRNS")) {
            readChunkData(stream);
            readTransparency();
        } else {
            skipChunk(stream);
            if (chunkIs("IEND"))
                return;
            if (!(chunkType_[0] & 0x20))
                RaiseGraphicError(msg::CriticalChunk);
        }
        readChunkHeader(stream);
    }
}

void TPNGGraphic::setupColors()
{
    TColorManager& cm = colorManager_;
    uint8_t depth = header_.bitDepth;
    bool low = depth == 1 || depth == 2 || depth == 4 || depth == 8;
    bool wide = depth == 8 || depth == 16;
    auto fail = [] { RaiseGraphicErrorFmt(msg::InvalidColorFormat, kPng); };
    TPixelFormat format = TPixelFormat::pf24bit;
    cm.SetSourceBitsPerSample(depth);
    switch (header_.colorType) {
    case 0:
        if (!low && depth != 16)
            fail();
        cm.SetSourceColorScheme(TColorScheme::Gray);
        cm.SetTargetColorScheme(TColorScheme::Gray);
        cm.SetSourceSamplesPerPixel(1);
        cm.SetTargetSamplesPerPixel(1);
        cm.SetTargetBitsPerSample(depth == 2 ? 4 : depth == 16 ? 8 : depth);
        format = cm.PixelFormatOf(1);
        palette_ = cm.CreateGrayPalette(false);
        hasPalette_ = true;
        sourceBpp_ = (depth + 7) / 8;
        break;
    case 2:
        if (!wide)
            fail();
        cm.SetSourceColorScheme(TColorScheme::RGB);
        cm.SetTargetColorScheme(TColorScheme::BGR);
        cm.SetSourceSamplesPerPixel(3);
        cm.SetTargetSamplesPerPixel(3);
        cm.SetTargetBitsPerSample(8);
        format = TPixelFormat::pf24bit;
        sourceBpp_ = depth * 3 / 8;
        break;
    case 3:
        if (!low)
            fail();
        cm.SetSourceColorScheme(TColorScheme::Indexed);
        cm.SetTargetColorScheme(TColorScheme::Indexed);
        cm.SetSourceSamplesPerPixel(1);
        cm.SetTargetSamplesPerPixel(1);
        cm.SetTargetBitsPerSample(depth == 2 ? 4 : depth);
        format = cm.PixelFormatOf(1);
        sourceBpp_ = 1;
        break;
    case 4:
        if (!wide)
            fail();
        cm.SetSourceColorScheme(TColorScheme::GrayAlpha);
        cm.SetTargetColorScheme(TColorScheme::Indexed);
        cm.SetSourceSamplesPerPixel(1);
        cm.SetTargetSamplesPerPixel(1);
        cm.SetTargetBitsPerSample(8);
        format = TPixelFormat::pf8bit;
        palette_ = cm.CreateGrayPalette(false);
        hasPalette_ = true;
        sourceBpp_ = depth * 2 / 8;
        break;
    case 6:
        if (!wide)
            fail();
        cm.SetSourceColorScheme(TColorScheme::RGBA);
        cm.SetTargetColorScheme(TColorScheme::BGRA);
        cm.SetSourceSamplesPerPixel(4);
        cm.SetTargetSamplesPerPixel(4);
        cm.SetTargetBitsPerSample(8);
        format = TPixelFormat::pf32bit;
        sourceBpp_ = depth * 4 / 8;
        break;
    default:
        fail();
    }
    SetPixelFormat(format);
    colorsSet_ = true;
}

void TPNGGraphic::loadImageData(TStream& stream)
{
    Progress(TProgressStage::psStarting, 0, false, "Transfering...");
    if (!colorsSet_)
        setupColors();
    // An indexed picture needs its palette before its pixels.
    if (header_.colorType == 3 && !hasPalette_)
        RaiseGraphicErrorFmt(msg::InvalidPalette, kPng);
    uint64_t samplesUnit = header_.bitDepth == 16 ? sourceBpp_ / 2 : sourceBpp_;
    if (hasPalette_)
        SetPalette(palette_);
    // The two rows the decoding keeps are checked before the bitmap is allocated.
    uint64_t rowSize = (uint64_t(header_.width) * header_.bitDepth + 7) / 8 * samplesUnit;
    if (!AllocationWithinLimits(rowSize + 1))
        RaisePictureTooLarge();
    SetSize(header_.width, header_.height);
    StartProgressRect();
    Fill(background_);
    if (transparent_ != 0x1FFFFFFF) {
        TransparentColor = transparent_;
        Transparent = true;
    }
    readChunkData(stream);
    input_ = data_.data();
    inputLeft_ = chunkLength_;
    if (header_.interlace)
        loadInterlaced(samplesUnit);
    else
        loadRows(rowSize);
    // Read the rest of the image data so that the next chunk is current.
    while (!inputEnded_) {
        readChunkHeader(*stream_);
        if (!chunkIs("IDAT"))
            break;
        readChunkData(*stream_);
    }
}

void TPNGGraphic::loadRows(uint64_t rowSize)
{
    std::vector<uint8_t> current(rowSize + 1, 0), previous(rowSize + 1, 0);
    for (uint32_t row = 0; row < header_.height; ++row) {
        inflateRow(current.data(), current.size());
        unfilter(current.data(), previous.data(), current.size());
        colorManager_.ConvertRow({current.data() + 1}, ScanLine(row), header_.width, 0xFF);
        std::swap(current, previous);
        RowProgress(row, header_.height);
    }
}

void TPNGGraphic::loadInterlaced(uint64_t samplesUnit)
{
    struct Pass { uint32_t row, column, rowStep, columnStep; uint8_t mask; };
    static const Pass passes[7] = {{0, 0, 8, 8, 0x80}, {0, 4, 8, 8, 0x08}, {4, 0, 8, 4, 0x88},
                                   {0, 2, 4, 4, 0x22}, {2, 0, 4, 2, 0xAA}, {0, 1, 2, 2, 0x55},
                                   {1, 0, 2, 1, 0xFF}};
    uint64_t fullRow = (uint64_t(header_.width) * header_.bitDepth + 7) / 8 * samplesUnit + 1;
    std::vector<uint8_t> current(fullRow), previous(fullRow);
    for (int i = 0; i < 7; ++i) {
        const Pass& pass = passes[i];
        if (pass.column >= header_.width)
            continue;
        uint64_t columns = (uint64_t(header_.width) + pass.columnStep - pass.column - 1) / pass.columnStep;
        std::size_t rowSize = std::size_t((columns * header_.bitDepth + 7) / 8 * samplesUnit + 1);
        std::fill(previous.begin(), previous.end(), 0);
        for (uint32_t row = pass.row; row < header_.height; row += pass.rowStep) {
            inflateRow(current.data(), rowSize);
            unfilter(current.data(), previous.data(), rowSize);
            colorManager_.ConvertRow({current.data() + 1}, ScanLine(row), header_.width, pass.mask);
            std::swap(current, previous);
            if (i == 6)
                RowProgress(row, header_.height);
        }
    }
}

void TPNGGraphic::nextImageData()
{
    readChunkHeader(*stream_);
    if (!chunkIs("IDAT")) {
        inputEnded_ = true;
        return;
    }
    readChunkData(*stream_);
    input_ = data_.data();
    inputLeft_ = chunkLength_;
}

void TPNGGraphic::inflateRow(uint8_t* row, std::size_t size)
{
    uint8_t* dest = row;
    std::size_t left = size;
    while (left > 0) {
        if (streamEnded_)
            RaiseGraphicErrorFmt(msg::ExtraData, kPng);
        if (inputLeft_ == 0 && !inputEnded_) {
            nextImageData();
            continue;
        }
        const uint8_t* source = input_;
        uint8_t* before = dest;
        decoder_->Decode(source, dest, inputLeft_, left);
        inputLeft_ -= std::size_t(source - input_);
        input_ = source;
        left -= std::size_t(dest - before);
        int result = decoder_->ZLibResult();
        if (result == Z_STREAM_END) {
            streamEnded_ = true;
            if (left > 0 || inputLeft_ > 0)
                RaiseGraphicErrorFmt(msg::ExtraData, kPng);
        } else if (result == Z_BUF_ERROR && inputLeft_ == 0 && !inputEnded_) {
            continue;
        } else if (result != Z_OK) {
            RaiseGraphicErrorFmt(msg::CompressionError, kPng);
        }
    }
}

void TPNGGraphic::unfilter(uint8_t* row, const uint8_t* prior, std::size_t size) const
{
    uint8_t* raw = row + 1;
    const uint8_t* up = prior + 1;
    std::size_t n = size - 1;
    std::size_t bpp = std::max<std::size_t>(sourceBpp_, 1);
    switch (row[0]) {
    case 1:
        for (std::size_t i = bpp; i < n; ++i)
            raw[i] = uint8_t(raw[i] + raw[i - bpp]);
        break;
    case 2:
        for (std::size_t i = 0; i < n; ++i)
            raw[i] = uint8_t(raw[i] + up[i]);
        break;
    case 3:
        for (std::size_t i = 0; i < n; ++i)
            raw[i] = uint8_t(raw[i] + ((i >= bpp ? raw[i - bpp] : 0) + up[i]) / 2);
        break;
    case 4:
        for (std::size_t i = 0; i < n; ++i)
            raw[i] = uint8_t(raw[i] + (i >= bpp ? paeth(raw[i - bpp], up[i], up[i - bpp]) : paeth(0, up[i], 0)));
        break;
    default:
        break;
    }
}

uint32_t TPNGGraphic::grayLevel(const uint8_t* p) const
{
    uint32_t v = be16(p);
    if (header_.bitDepth == 2)
        return v * 15 / 3 & 0xFF;
    if (header_.bitDepth == 16)
        return v * 255 / 65535;
    return v & 0xFF;
}

uint32_t TPNGGraphic::rgbFrom(const uint8_t* p) const
{
    uint32_t c[3];
    for (int i = 0; i < 3; ++i) {
        uint32_t v = be16(p + 2 * i);
        c[i] = header_.bitDepth == 16 ? v * 255 / 65535 : v & 0xFF;
    }
    return c[0] | c[1] << 8 | c[2] << 16;
}

void TPNGGraphic::readBackground()
{
    switch (header_.colorType) {
    case 0:
    case 4:
        if (chunkLength_ >= 2)
            background_ = grayLevel(data_.data());
        break;
    case 2:
    case 6:
        if (chunkLength_ >= 6)
            background_ = rgbFrom(data_.data());
        break;
    case 3:
        if (chunkLength_ >= 1)
            background_ = data_[0];
        break;
    }
}

void TPNGGraphic::readTransparency()
{
    if (header_.colorType == 0 && chunkLength_ >= 2)
        transparent_ = grayLevel(data_.data()) * 0x010101u;
    else if (header_.colorType == 2 && chunkLength_ >= 6)
        transparent_ = rgbFrom(data_.data());
}

namespace {
constexpr TExtensionDeclaration kPNGGraphicExtensions[] = {{"png", ""}};
} // namespace

const TGraphicClass TPNGGraphicClass{"TPNGGraphic", CreateGraphic<TPNGGraphic>, TPNGGraphic::CanLoad,
                                     "Portable network graphic images", kPNGGraphicExtensions, ftRaster};

} // namespace vum
