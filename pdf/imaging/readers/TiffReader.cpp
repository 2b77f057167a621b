#include "imaging/readers/TiffReader.h"

#include <algorithm>
#include <cstring>

#include "imaging/DataBounds.h"
#include "imaging/decoders/CcittDecoders.h"
#include "imaging/decoders/InflateDecoder.h"
#include "imaging/decoders/LzwDecoders.h"
#include "imaging/decoders/RleDecoders.h"
#include "imaging/decoders/ThunderDecoder.h"
#include "imaging/decoders/TiffJpegDecoder.h"
#include "imaging/Errors.h"
#include "imaging/Limits.h"
#include "imaging/Stream.h"
#include "imaging/Support.h"

namespace vum {

namespace {

const char* const kTiff = "TIF/TIFF";

// The most the decoders may read over all strips: so many times the file, and a little more.
constexpr uint64_t kReadsOfAByte = 4;
constexpr uint64_t kReadSlack = uint64_t(1) << 20;

enum : uint16_t {
    tagWidth = 256, tagHeight = 257, tagBitsPerSample = 258, tagCompression = 259, tagPhotometric = 262,
    tagFillOrder = 266, tagStripOffsets = 273, tagSamplesPerPixel = 277, tagRowsPerStrip = 278,
    tagStripByteCounts = 279, tagXResolution = 282, tagYResolution = 283, tagPlanar = 284,
    tagT4Options = 292, tagResolutionUnit = 296, tagPredictor = 317, tagWhitePoint = 318, tagColorMap = 320,
    tagTileWidth = 322, tagTileLength = 323, tagExtraSamples = 338, tagJPEGTables = 347, tagYCbCrCoefficients = 529,
    tagYCbCrSubsampling = 530, tagYCbCrPositioning = 531,
};

[[noreturn]] void invalid()
{
    RaiseGraphicErrorFmt(msg::InvalidFormat, kTiff);
}

TCompressionType compressionOf(uint32_t code)
{
    switch (code) {
    case 1: return TCompressionType::ctNone;
    case 2: return TCompressionType::ctFaxRLE;
    case 3: return TCompressionType::ctFax3;
    case 4: return TCompressionType::ctFax4;
    case 5: return TCompressionType::ctLZW;
    case 6: return TCompressionType::ctOJPEG;
    case 7: return TCompressionType::ctJPEG;
    case 8:
    case 32946: return TCompressionType::ctLZ77;
    case 32766: return TCompressionType::ctNext;
    case 32771: return TCompressionType::ctFaxRLEW;
    case 32773: return TCompressionType::ctPackedBits;
    case 32809: return TCompressionType::ctThunderscan;
    case 32895: return TCompressionType::ctIT8CTPAD;
    case 32896: return TCompressionType::ctIT8LW;
    case 32897: return TCompressionType::ctIT8MP;
    case 32898: return TCompressionType::ctIT8BL;
    case 32908: return TCompressionType::ctPixarFilm;
    case 32909: return TCompressionType::ctPixarLog;
    case 32947: return TCompressionType::ctDCS;
    case 34661: return TCompressionType::ctJBIG;
    default: return TCompressionType::ctUnknown;
    }
}

TColorScheme schemeOf(uint32_t photometric, uint32_t samples)
{
    switch (photometric) {
    case 0:
    case 1: return TColorScheme::Gray;
    case 2: return samples < 4 ? TColorScheme::RGB : TColorScheme::RGBA;
    case 3: return TColorScheme::Indexed;
    case 5: return TColorScheme::CMYK;
    case 6: return TColorScheme::YCbCr;
    case 8:
    case 9: return TColorScheme::CIELab;
    default: return TColorScheme::Unknown;
    }
}

// Samples of a pixel that carry its colour; any further ones are extra samples.
uint32_t colorSamplesOf(TColorScheme scheme)
{
    switch (scheme) {
    case TColorScheme::Gray:
    case TColorScheme::Indexed: return 1;
    case TColorScheme::RGB:
    case TColorScheme::YCbCr:
    case TColorScheme::CIELab: return 3;
    case TColorScheme::RGBA:
    case TColorScheme::CMYK: return 4;
    default: return 0;
    }
}

} // namespace

bool TTIFFGraphic::CanLoad(TStream& stream)
{
    if (stream.Remaining() < 9)
        return false;
    TPositionGuard guard(stream);
    uint8_t h[8];
    if (stream.Read(h, 8) != 8)
        return false;
    bool intel = h[0] == 'I' && h[1] == 'I', motorola = h[0] == 'M' && h[1] == 'M';
    if (!intel && !motorola)
        return false;
    uint16_t version = intel ? uint16_t(h[2] | h[3] << 8) : uint16_t(h[2] << 8 | h[3]);
    uint32_t offset = intel ? uint32_t(h[4] | h[5] << 8 | h[6] << 16 | uint32_t(h[7]) << 24)
                            : uint32_t(uint32_t(h[4]) << 24 | h[5] << 16 | h[6] << 8 | h[7]);
    return version == 42 && offset < stream.Size() - (stream.Position() - 8);
}

bool TTIFFGraphic::ReadImageProperties(TStream& stream, uint32_t imageIndex)
{
    ClearProperties();
    directory_.reset();
    TImageProperties& p = properties_;
    uint64_t base = stream.Position();
    uint8_t h[8];
    if (stream.Read(h, 8) != 8 || !((h[0] == 'I' && h[1] == 'I') || (h[0] == 'M' && h[1] == 'M')))
        return false;
    bool bigEndian = h[0] == 'M';
    if (bigEndian)
        p.Options |= ioBigEndian;
    p.Version = bigEndian ? uint32_t(h[2] << 8 | h[3]) : uint32_t(h[2] | h[3] << 8);
    p.FirstIFD = bigEndian ? uint32_t(uint32_t(h[4]) << 24 | h[5] << 16 | h[6] << 8 | h[7])
                           : uint32_t(h[4] | h[5] << 8 | h[6] << 16 | uint32_t(h[7]) << 24);
    if (p.Version != 42)
        return false;
    auto directory = std::make_unique<TTiffDirectory>(stream, base, bigEndian);
    uint32_t offset = p.FirstIFD;
    // A chain that loops back on itself is followed no further than a real file could reach.
    for (uint32_t hops = 0; imageIndex > 0; --imageIndex) {
        offset = directory->Skip(offset);
        if (offset == 0 || ++hops > 65536)
            return false;
    }
    directory->Read(offset);
    const TTiffDirectory& d = *directory;
    p.Width = d.Integer(tagWidth, 0);
    p.Height = d.Integer(tagHeight, 0);
    if (p.Width == 0 || p.Height == 0)
        return false;
    p.RowsPerStrip = d.Cardinals(tagRowsPerStrip);
    if (p.RowsPerStrip.empty() || p.RowsPerStrip[0] == 0xFFFFFFFFu)
        p.RowsPerStrip.assign(1, p.Height);
    uint32_t samples = d.Integer(tagSamplesPerPixel, 1);
    std::vector<uint32_t> bits = d.Cardinals(tagBitsPerSample);
    uint32_t bitsPerSample = bits.empty() ? 1 : bits[0];
    // Counts beyond a byte cannot describe a picture this reader converts.
    p.SamplesPerPixel = uint8_t(std::min<uint32_t>(samples, 255));
    p.BitsPerSample = uint8_t(std::min<uint32_t>(bitsPerSample, 255));
    p.TileWidth = int32_t(d.Integer(tagTileWidth, 0));
    p.TileLength = int32_t(d.Integer(tagTileLength, 0));
    if (p.TileWidth != 0 && p.TileLength != 0)
        p.Options |= ioTiled;
    uint32_t photometric = d.Integer(tagPhotometric, 0);
    if (d.Has(tagExtraSamples)) {
        std::vector<uint32_t> extra = d.Cardinals(tagExtraSamples);
        p.AlphaPresent = std::all_of(extra.begin(), extra.end(), [](uint32_t v) { return v <= 2; });
    }
    uint64_t bitsPerPixel = uint64_t(samples) * bitsPerSample;
    p.BitsPerPixel = uint8_t(std::min<uint64_t>(bitsPerPixel, 255));
    p.Compression = compressionOf(d.Integer(tagCompression, 1));
    p.ColorScheme = schemeOf(photometric, samples);
    iccLab_ = photometric == 9;
    if (photometric == 0)
        p.Options |= ioMinIsWhite;
    if (photometric == 6) {
        p.YCbCrSubsampling = d.Bytes(tagYCbCrSubsampling);
        if (p.YCbCrSubsampling.size() < 2)
            p.YCbCrSubsampling = {2, 2};
        positioning_ = d.Integer(tagYCbCrPositioning, 1);
        coefficients_ = d.Floats(tagYCbCrCoefficients);
        if (coefficients_.size() < 3)
            coefficients_ = {0.299f, 0.587f, 0.114f};
    }
    p.JPEGColorMode = 0;
    p.JPEGTablesMode = 3;
    p.PlanarConfiguration = int32_t(d.Integer(tagPlanar, 0));
    p.XResolution = d.Float(tagXResolution, 0);
    p.YResolution = d.Float(tagYResolution, 0);
    if (d.Integer(tagResolutionUnit, 2) == 3) {
        p.XResolution *= 2.54f;
        p.YResolution *= 2.54f;
    }
    p.Predictor = int32_t(d.Integer(tagPredictor, 0));
    if (d.Integer(tagFillOrder, 1) == 2)
        p.Options |= ioReversed;
    directory_ = std::move(directory);
    return true;
}

void TTIFFGraphic::LoadFromStream(TStream& stream)
{
    LoadImage(stream, 0);
}

void TTIFFGraphic::LoadImage(TStream& stream, uint32_t imageIndex)
{
    ReleaseImage();
    basePosition_ = stream.Position();
    stream_ = &stream;
    if (!ReadImageProperties(stream, imageIndex))
        invalid();
    const TImageProperties& p = properties_;
    StartProgressRect();
    Progress(TProgressStage::psStarting, 0, false, "Preparing...");
    TProgressPhase phase([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    // Tiled pictures are not decoded: the picture stays empty.
    if (p.Options & ioTiled)
        return;
    setUpColors();
    std::unique_ptr<TDecoder> decoder = createDecoder();
    phase.finish();
    readStrips(decoder.get());
}

void TTIFFGraphic::setUpColors()
{
    TImageProperties& p = properties_;
    uint32_t bits = p.BitsPerSample, samples = p.SamplesPerPixel;
    if (!(bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16) || !SizeWithinLimits(p.Width, p.Height))
        invalid();
    // Extra samples (alpha, masks) follow the colour samples; RGB keeps the first as alpha.
    keptSamples_ = colorSamplesOf(p.ColorScheme);
    if (keptSamples_ == 0 || samples < keptSamples_ || (p.ColorScheme == TColorScheme::Indexed && bits > 8) ||
        (bits < 8 && (p.ColorScheme != TColorScheme::Gray && p.ColorScheme != TColorScheme::Indexed)) ||
        (bits < 8 && samples > keptSamples_ && p.PlanarConfiguration != 2))
        RaiseGraphicErrorFmt(msg::InvalidColorFormat, kTiff);
    bool jpeg = p.Compression == TCompressionType::ctJPEG;
    if (samples > 1 && p.PlanarConfiguration == 2 && jpeg)
        RaiseGraphicErrorFmt(msg::NotSupportedFor, "Separate planes of this kind are", kTiff);
    uint64_t bytesPerLine = (uint64_t(bits) * samples * p.Width + 7) / 8;
    if (bytesPerLine > 0x7FFFFFFF)
        invalid();
    p.BytesPerLine = int32_t(bytesPerLine);

    TColorManager& cm = colorManager_;
    cm.SourceOptions = (p.Options & ioBigEndian) ? coSwapBytes : 0;
    cm.TargetOptions = 0;
    cm.SetSourceBitsPerSample(uint8_t(bits));
    // 2-bit samples become 4-bit pixels: there is no 2-bit bitmap.
    cm.SetTargetBitsPerSample(bits == 16 ? 8 : bits == 2 ? 4 : uint8_t(bits));
    TColorScheme source = p.ColorScheme, target = source;
    if (jpeg && source == TColorScheme::YCbCr)
        source = TColorScheme::RGB;   // libjpeg hands back RGB samples
    switch (source) {
    case TColorScheme::RGB: target = TColorScheme::BGR; break;
    case TColorScheme::RGBA: target = TColorScheme::BGRA; break;
    case TColorScheme::CMYK:
    case TColorScheme::CIELab:
    case TColorScheme::YCbCr: target = TColorScheme::BGR; break;
    default: break;
    }
    if (source == TColorScheme::YCbCr) {
        const auto& s = p.YCbCrSubsampling;
        if (s[0] != 1 || s[1] != 1)
            RaiseGraphicErrorFmt(msg::NotSupportedFor, "Subsampled YCbCr samples are", kTiff);
        cm.SetYCbCrOptions({coefficients_[0], coefficients_[1], coefficients_[2]}, 1, 1);
    }
    cm.SetSourceColorScheme(source);
    cm.SetTargetColorScheme(target);
    cm.SetSourceSamplesPerPixel(uint8_t(keptSamples_));
    cm.SetTargetSamplesPerPixel(source == TColorScheme::CMYK ? 3 : uint8_t(keptSamples_));
    if (source == TColorScheme::CIELab)
        setUpLab();
    TPixelFormat format = cm.PixelFormatOf(1);
    if (format == TPixelFormat::pfCustom)
        RaiseGraphicErrorFmt(msg::InvalidColorFormat, kTiff);
    checkStripsHoldThePicture();
    checkBuffersWithinLimits();
    SetPixelFormat(format);
    SetSize(p.Width, p.Height);
    setUpPalette();
}

void TTIFFGraphic::setUpPalette()
{
    const TImageProperties& p = properties_;
    TColorManager& cm = colorManager_;
    if (cm.TargetColorScheme() == TColorScheme::Gray) {
        SetPalette(cm.CreateGrayPalette(p.Options & ioMinIsWhite));
        return;
    }
    if (cm.TargetColorScheme() != TColorScheme::Indexed || !directory_->Has(tagColorMap))
        return;
    // Three planes of 2^bits 16-bit values, red, green and blue; no more than 256 colours.
    std::vector<uint32_t> map = directory_->Cardinals(tagColorMap);
    std::size_t colors = std::size_t(1) << p.BitsPerSample;
    if (colors > 256 || map.size() != 3 * colors)
        RaiseGraphicErrorFmt(msg::InvalidPalette, kTiff);
    uint32_t targetBits = cm.TargetBitsPerSample();
    TPalette palette(std::size_t(1) << targetBits);
    for (std::size_t i = 0; i < colors; ++i) {
        std::size_t at = ScaleWord(uint32_t(i), (1u << targetBits) - 1, uint32_t(colors - 1));
        palette[at] = {uint8_t((map[i] & 0xFFFF) * 255 / 65535), uint8_t((map[colors + i] & 0xFFFF) * 255 / 65535),
                       uint8_t((map[2 * colors + i] & 0xFFFF) * 255 / 65535)};
    }
    SetPalette(palette);
}

void TTIFFGraphic::setUpLab()
{
    // L* fills the sample's range. ICC's encoding stores a* and b* with an offset and
    // is relative to D50; the CIE one stores them signed, relative to the white
    // point the file names, else to D50 as Photoshop and libtiff take it.
    TColorManager& cm = colorManager_;
    cm.SourceOptions |= coLightnessScaled;
    std::vector<float> white = iccLab_ ? std::vector<float>{} : directory_->Floats(tagWhitePoint);
    if (iccLab_)
        cm.SourceOptions |= coChromaBiased;
    if (white.size() == 2)
        cm.SetLabWhitePoint(white[0], white[1]);
    else
        cm.SetLabWhitePoint(kD50WhiteX, kD50WhiteY);
}

std::unique_ptr<TDecoder> TTIFFGraphic::createDecoder()
{
    TImageProperties& p = properties_;
    bool reversed = p.Options & ioReversed;
    auto bilevel = [&] {
        if (p.BitsPerSample != 1 || p.SamplesPerPixel != 1)
            RaiseGraphicErrorFmt(msg::InvalidColorFormat, kTiff);
        return directory_->Integer(tagT4Options, 0);
    };
    switch (p.Compression) {
    case TCompressionType::ctNone: return nullptr;
    case TCompressionType::ctPackedBits: return std::make_unique<TPackbitsRLEDecoder>();
    case TCompressionType::ctLZW: return std::make_unique<TTIFFLZWDecoder>();
    case TCompressionType::ctFax3: {
        uint32_t options = bilevel();
        // Two-dimensional Group 3 lines are not decoded.
        if (options & 1)
            break;
        return std::make_unique<TCCITTFax3Decoder>(options, reversed, false, p.Width);
    }
    case TCompressionType::ctFaxRLE:
    case TCompressionType::ctFaxRLEW:
        return std::make_unique<TCCITTMHDecoder>(bilevel(), reversed,
                                                 p.Compression == TCompressionType::ctFaxRLEW, p.Width);
    case TCompressionType::ctLZ77: return std::make_unique<TLZ77Decoder>(Z_SYNC_FLUSH, true);
    case TCompressionType::ctJPEG:
        if (p.BitsPerSample != 8)
            break;
        p.JPEGTables = directory_->Bytes(tagJPEGTables);
        return std::make_unique<TTIFFJPEGDecoder>(p);
    case TCompressionType::ctThunderscan:
        if (p.BitsPerSample != 4 || p.SamplesPerPixel != 1)
            RaiseGraphicErrorFmt(msg::InvalidColorFormat, kTiff);
        return std::make_unique<TThunderDecoder>(int32_t(p.BytesPerLine));
    default: break;
    }
    RaiseGraphicErrorFmt(msg::NotSupportedFor, msg::CompressionScheme, kTiff);
}

void TTIFFGraphic::checkStripsHoldThePicture()
{
    // Before anything is allocated: every strip the picture is made of must
    // lie in the file and hold enough packed bytes for its rows, and the
    // strips together, data that several of them share counted once, enough
    // for the rows they decode. A strip that starts where another does and
    // holds as many rows is a copy of the rows that one decodes (writers
    // store identical strips once): it costs a copy of rows the picture
    // holds, and needs no data of its own.
    const TImageProperties& p = properties_;
    offsets_ = directory_->Cardinals(tagStripOffsets);
    counts_ = directory_->Cardinals(tagStripByteCounts);
    if (offsets_.empty() || counts_.size() != offsets_.size())
        invalid();
    bool planar = separatePlanes();
    uint32_t planes = planar ? p.SamplesPerPixel : 1;
    uint64_t lineBytes = stripLineBytes();
    uint64_t fileSize = stream_->Size();
    strips_ = {};
    strips_.Reserve(std::min<uint64_t>(offsets_.size(), uint64_t(planes) * p.Height));
    std::size_t strip = 0;
    for (uint32_t plane = 0; plane < planes; ++plane) {
        for (uint64_t row = 0; row < p.Height; ++strip) {
            if (strip >= offsets_.size())
                RaiseFileEndsEarly();
            uint64_t perStrip = planar ? p.RowsPerStrip[0]
                                       : p.RowsPerStrip[std::min(strip, p.RowsPerStrip.size() - 1)];
            uint64_t rows = std::min<uint64_t>(std::max<uint64_t>(perStrip, planar ? 1 : 0), p.Height - row);
            uint64_t at = basePosition_ + offsets_[strip];
            uint64_t held = at > fileSize ? 0 : fileSize - at;
            // A strip is read no further than its rows can use.
            held = p.Compression == TCompressionType::ctNone
                       ? std::min<uint64_t>(held, rows * lineBytes)
                       : std::min<uint64_t>({held, counts_[strip], MaxPackedSize(rows * lineBytes)});
            strips_.Add({at, held, uint32_t(row), uint32_t(rows)});
            row += rows;
        }
    }
    strips_.Arrange(p.Compression != TCompressionType::ctNone);
    // Strips that start at one place but hold different numbers of rows read
    // the same bytes again; honest files read each byte once, or a copy that
    // their strips share a few times.
    if (strips_.ReadBytes() > kReadsOfAByte * fileSize + kReadSlack)
        RaisePackedDataEndsEarly(kTiff);
    uint64_t decoded = 0;
    for (std::size_t s = 0; s < strips_.Count(); ++s) {
        if (strips_.Original(s) != s)
            continue;
        if (MaxUnpackedSize(p.Compression, strips_.Range(s).length, lineBytes) < strips_.Rows(s) * lineBytes)
            RaiseFileEndsEarly();
        decoded += strips_.Rows(s) * lineBytes;
    }
    CheckDistinctDataSuffices(p.Compression, strips_.DistinctBytes(), decoded, lineBytes, kTiff);
}

bool TTIFFGraphic::separatePlanes() const
{
    return properties_.PlanarConfiguration == 2 && properties_.SamplesPerPixel > 1;
}

uint64_t TTIFFGraphic::stripLineBytes() const
{
    const TImageProperties& p = properties_;
    return (uint64_t(p.BitsPerSample) * (separatePlanes() ? 1 : p.SamplesPerPixel) * p.Width + 7) / 8;
}

uint64_t TTIFFGraphic::planesSize() const
{
    return separatePlanes() ? stripLineBytes() * properties_.Height * keptSamples_ : 0;
}

void TTIFFGraphic::checkBuffersWithinLimits() const
{
    // Before the bitmap, the first of them, is allocated: a picture one of
    // whose buffers passes the cap costs nothing. The bitmap checks its own size.
    uint64_t decoded = 0, packed = 0;
    for (std::size_t s = 0; s < strips_.Count(); ++s) {
        if (strips_.Original(s) != s)
            continue;
        decoded = std::max(decoded, strips_.Rows(s) * stripLineBytes());
        if (properties_.Compression != TCompressionType::ctNone)
            packed = std::max(packed, strips_.Range(s).length);
    }
    for (uint64_t bytes : {decoded, packed, planesSize()})
        if (!AllocationWithinLimits(bytes))
            RaisePictureTooLarge();
}

void TTIFFGraphic::readStrip(TDecoder* decoder, std::size_t strip, std::vector<uint8_t>& buffer)
{
    TStream& stream = *stream_;
    uint64_t at = basePosition_ + offsets_[strip];
    if (at > stream.Size())
        RaiseGraphicError(msg::StreamRead);
    stream.Seek(at);
    if (!decoder) {
        stream.ReadBuffer(buffer.data(), buffer.size());
        return;
    }
    if (counts_[strip] > stream.Remaining())
        RaiseGraphicError(msg::StreamRead);
    // A byte count that runs to the end of the file, or into the data of other
    // strips, is read only as far as the strip can use and its own data go.
    packed_.resize(std::size_t(strips_.Range(strip).length));
    stream.ReadBuffer(packed_.data(), packed_.size());
    const uint8_t* source = packed_.data();
    uint8_t* dest = buffer.data();
    decoder->Decode(source, dest, packed_.size(), buffer.size());
    if (auto* inflate = dynamic_cast<TLZ77Decoder*>(decoder);
        inflate && inflate->ZLibResult() < 0 && inflate->ZLibResult() != Z_BUF_ERROR)
        RaiseGraphicErrorFmt(msg::CompressionError, kTiff);
    if (decoder->Decoded() < buffer.size())
        RaisePackedDataEndsEarly(kTiff);
}

void TTIFFGraphic::readStrips(TDecoder* decoder)
{
    TImageProperties& p = properties_;
    offsets_ = directory_->Cardinals(tagStripOffsets);
    counts_ = directory_->Cardinals(tagStripByteCounts);
    if (offsets_.empty() || counts_.size() != offsets_.size())
        invalid();
    Progress(TProgressStage::psStarting, 0, false, "Transfering...");
    TProgressPhase phase([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    if (decoder)
        decoder->StartDecoding();
    p.CurrentRow = 0;
    p.StripCount = int32_t(std::min<std::size_t>(offsets_.size(), 0x7FFFFFFF));
    if (separatePlanes()) {
        readPlanes(decoder);
    } else {
        std::vector<uint8_t> buffer;
        for (std::size_t strip = 0; strip < offsets_.size() && uint32_t(p.CurrentRow) < p.Height; ++strip) {
            p.CurrentStrip = int32_t(strip);
            uint64_t rowsPerStrip = p.RowsPerStrip[std::min(strip, p.RowsPerStrip.size() - 1)];
            uint64_t rows = std::min<uint64_t>(rowsPerStrip, p.Height - uint32_t(p.CurrentRow));
            if (rows == 0)
                continue;
            if (std::size_t original = strips_.Original(strip); original != strip) {
                copyRows(strips_.Row(original), rows);
                continue;
            }
            buffer.resize(static_cast<std::size_t>(rows * uint64_t(p.BytesPerLine)));
            readStrip(decoder, strip, buffer);
            convertRows(buffer.data(), rows);
        }
    }
    if (decoder)
        decoder->FinishDecoding();
    strips_ = {};
}

void TTIFFGraphic::readPlanes(TDecoder* decoder)
{
    // Separate planes: the strips of the first sample for the whole picture,
    // then those of the second, and so on.
    TImageProperties& p = properties_;
    uint32_t samples = p.SamplesPerPixel;
    uint64_t rowsPerStrip = std::max<uint64_t>(p.RowsPerStrip[0], 1);
    uint64_t stripsPerPlane = (uint64_t(p.Height) + rowsPerStrip - 1) / rowsPerStrip;
    uint64_t planeLine = stripLineBytes();
    uint64_t planeSize = planeLine * p.Height;
    if (offsets_.size() < stripsPerPlane * samples)
        invalid();
    // The planes of extra samples are not read.
    std::vector<uint8_t> planes(static_cast<std::size_t>(planesSize())), buffer;
    for (uint32_t s = 0; s < keptSamples_; ++s)
        for (uint64_t k = 0; k < stripsPerPlane; ++k) {
            uint64_t first = k * rowsPerStrip;
            uint64_t rows = std::min<uint64_t>(rowsPerStrip, p.Height - first);
            std::size_t strip = std::size_t(s * stripsPerPlane + k);
            p.CurrentStrip = int32_t(strip);
            auto into = planes.begin() + long(s * planeSize + first * planeLine);
            if (std::size_t original = strips_.Original(strip); original != strip) {
                uint64_t from = original / stripsPerPlane * planeSize + strips_.Row(original) * planeLine;
                std::copy_n(planes.begin() + long(from), rows * planeLine, into);
                continue;
            }
            buffer.resize(static_cast<std::size_t>(rows * planeLine));
            readStrip(decoder, strip, buffer);
            std::copy(buffer.begin(), buffer.end(), into);
        }
    bool predictor = p.Predictor == 2 && p.Compression != TCompressionType::ctNone;
    for (uint32_t y = 0; y < p.Height; ++y) {
        std::vector<const uint8_t*> sources;
        for (uint32_t s = 0; s < keptSamples_; ++s) {
            uint8_t* row = planes.data() + s * planeSize + y * planeLine;
            if (predictor)
                undoPredictor(row, 1);
            sources.push_back(row);
        }
        colorManager_.ConvertRow(sources, ScanLine(y), p.Width, 0xFF);
        RowProgress(y, p.Height);
        p.CurrentRow = int32_t(y + 1);
    }
}

void TTIFFGraphic::convertRows(uint8_t* buffer, uint64_t rows)
{
    TImageProperties& p = properties_;
    bool predictor = p.Predictor == 2 && p.Compression != TCompressionType::ctNone;
    for (uint64_t r = 0; r < rows && uint32_t(p.CurrentRow) < p.Height; ++r) {
        uint8_t* row = buffer + r * uint64_t(p.BytesPerLine);
        if (predictor)
            undoPredictor(row, p.SamplesPerPixel);
        colorManager_.ConvertRow({colorSamples(row)}, ScanLine(uint32_t(p.CurrentRow)), p.Width, 0xFF);
        RowProgress(uint32_t(p.CurrentRow), p.Height);
        ++p.CurrentRow;
    }
}

void TTIFFGraphic::copyRows(uint32_t from, uint64_t rows)
{
    TImageProperties& p = properties_;
    for (uint64_t r = 0; r < rows && uint32_t(p.CurrentRow) < p.Height; ++r) {
        std::memcpy(ScanLine(uint32_t(p.CurrentRow)), ScanLine(uint32_t(from + r)), Stride());
        RowProgress(uint32_t(p.CurrentRow), p.Height);
        ++p.CurrentRow;
    }
}

const uint8_t* TTIFFGraphic::colorSamples(const uint8_t* row)
{
    const TImageProperties& p = properties_;
    uint32_t samples = p.SamplesPerPixel;
    if (keptSamples_ >= samples)
        return row;
    std::size_t bytes = p.BitsPerSample / 8;
    std::size_t keep = keptSamples_ * bytes, stride = samples * bytes;
    compact_.resize(std::size_t(p.Width) * keep);
    for (std::size_t x = 0; x < p.Width; ++x)
        std::memcpy(compact_.data() + x * keep, row + x * stride, keep);
    return compact_.data();
}

void TTIFFGraphic::undoPredictor(uint8_t* row, std::size_t samples) const
{
    // Each sample adds the same sample of the pixel to its left.
    const TImageProperties& p = properties_;
    std::size_t count = std::size_t(p.Width) * samples;
    if (p.BitsPerSample == 8) {
        for (std::size_t k = samples; k < count; ++k)
            row[k] = uint8_t(row[k] + row[k - samples]);
    } else if (p.BitsPerSample == 16) {
        bool big = p.Options & ioBigEndian;
        auto get = [&](std::size_t k) {
            return big ? uint16_t(row[2 * k] << 8 | row[2 * k + 1]) : uint16_t(row[2 * k] | row[2 * k + 1] << 8);
        };
        for (std::size_t k = samples; k < count; ++k) {
            uint16_t v = uint16_t(get(k) + get(k - samples));
            row[2 * k + (big ? 0 : 1)] = uint8_t(v >> 8);
            row[2 * k + (big ? 1 : 0)] = uint8_t(v);
        }
    }
}

bool TEPSGraphic::CanLoad(TStream& stream)
{
    if (stream.Remaining() < 31)
        return false;
    TPositionGuard guard(stream);
    uint8_t h[30];
    if (stream.Read(h, 30) != 30)
        return false;
    auto le32 = [&](int at) {
        return uint32_t(h[at] | h[at + 1] << 8 | h[at + 2] << 16 | uint32_t(h[at + 3]) << 24);
    };
    return le32(0) == 0xC6D3D0C5u && le32(20) > stream.Position() && le32(24) > 0;
}

void TEPSGraphic::LoadFromStream(TStream& stream)
{
    ReleaseImage();
    uint64_t start = stream.Position();
    uint8_t h[30];
    stream.ReadBuffer(h, 30);
    uint32_t magic = uint32_t(h[0] | h[1] << 8 | h[2] << 16 | uint32_t(h[3]) << 24);
    uint32_t offset = uint32_t(h[20] | h[21] << 8 | h[22] << 16 | uint32_t(h[23]) << 24);
    if (magic != 0xC6D3D0C5u || offset < 30 || start + offset >= stream.Size())
        RaiseGraphicErrorFmt(msg::InvalidFormat, "EPS");
    stream.Seek(start + offset);
    TTIFFGraphic::LoadFromStream(stream);
}

namespace {
constexpr TExtensionDeclaration kTIFFGraphicExtensions[] = {
    {"tiff", "Macintosh TIFF images"},
    {"tif", "PC TIF images"},
    {"fax", "GFI fax images"},
};
} // namespace

const TGraphicClass TTIFFGraphicClass{"TTIFFGraphic", CreateGraphic<TTIFFGraphic>, TTIFFGraphic::CanLoad,
                                      "Tagged image file format images", kTIFFGraphicExtensions, ftRaster | ftMultiImage};

namespace {
constexpr TExtensionDeclaration kEPSGraphicExtensions[] = {{"eps", ""}};
} // namespace

const TGraphicClass TEPSGraphicClass{"TEPSGraphic", CreateGraphic<TEPSGraphic>, TEPSGraphic::CanLoad,
                                     "Encapsulated Postscript images", kEPSGraphicExtensions, ftRaster};

} // namespace vum
