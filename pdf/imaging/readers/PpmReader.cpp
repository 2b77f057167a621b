#include "imaging/readers/PpmReader.h"

#include <algorithm>

#include "imaging/Errors.h"
#include "imaging/Limits.h"
#include "imaging/Stream.h"
#include "imaging/Support.h"

namespace vum {

namespace {

const char* const kPpm = "PBM, PGM or PPM";

bool isSpace(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

[[noreturn]] void readError()
{
    RaiseGraphicErrorFmt("Stream read error in %s file.", "PPM");
}

} // namespace

bool TPPMGraphic::CanLoad(TStream& stream)
{
    if (stream.Remaining() < 11)
        return false;
    TPositionGuard guard(stream);
    uint8_t h[2];
    return stream.Read(h, 2) == 2 && h[0] == 'P' && h[1] >= '1' && h[1] <= '6';
}

uint8_t TPPMGraphic::nextByte()
{
    if (index_ >= buffer_.size()) {
        buffer_.resize(4096);
        std::size_t got = stream_->Read(buffer_.data(), buffer_.size());
        buffer_.resize(got);
        index_ = 0;
        if (got == 0)
            readError();
    }
    return buffer_[index_++];
}

int TPPMGraphic::peekByte()
{
    if (index_ >= buffer_.size()) {
        buffer_.resize(4096);
        buffer_.resize(stream_->Read(buffer_.data(), buffer_.size()));
        index_ = 0;
        if (buffer_.empty())
            return -1;
    }
    return buffer_[index_];
}

uint32_t TPPMGraphic::readNumber()
{
    // Blanks and comments ("#" to the end of the line) come before a number.
    uint8_t c = nextByte();
    while (c < '0' || c > '9') {
        if (c == '#') {
            while (c != '\n' && c != '\r')
                c = nextByte();
        } else if (!isSpace(c)) {
            RaiseGraphicErrorFmt(msg::InvalidFormat, kPpm);
        }
        c = nextByte();
    }
    uint64_t value = 0;
    for (;;) {
        value = value * 10 + uint64_t(c - '0');
        if (value > 0xFFFFFFFFu)
            RaiseGraphicErrorFmt(msg::InvalidFormat, kPpm);
        int next = peekByte();
        if (next < '0' || next > '9')
            break;
        c = nextByte();
    }
    return uint32_t(value);
}

uint8_t TPPMGraphic::readBit()
{
    for (;;) {
        uint8_t c = nextByte();
        if (c == '0' || c == '1')
            return uint8_t(c - '0');
        if (c == '#') {
            while (c != '\n' && c != '\r')
                c = nextByte();
        } else if (!isSpace(c)) {
            RaiseGraphicErrorFmt(msg::InvalidFormat, kPpm);
        }
    }
}

bool TPPMGraphic::readHeader(THeader& header)
{
    buffer_.clear();
    index_ = 0;
    if (peekByte() != 'P')
        return false;
    nextByte();
    header.kind = char(nextByte());
    if (header.kind < '1' || header.kind > '6')
        return false;
    header.width = readNumber();
    header.height = readNumber();
    bool bitmap = header.kind == '1' || header.kind == '4';
    header.maxValue = bitmap ? 1 : readNumber();
    // A raw raster starts after exactly one blank.
    if (header.kind >= '4' && !isSpace(nextByte()))
        return false;
    return true;
}

bool TPPMGraphic::ReadImageProperties(TStream& stream, uint32_t)
{
    ClearProperties();
    stream_ = &stream;
    THeader header;
    if (!readHeader(header))
        return false;
    TImageProperties& p = properties_;
    p.Compression = TCompressionType::ctNone;
    p.Width = header.width;
    p.Height = header.height;
    bool bitmap = header.kind == '1' || header.kind == '4';
    bool color = header.kind == '3' || header.kind == '6';
    p.ColorScheme = color ? TColorScheme::RGB : TColorScheme::Indexed;
    p.SamplesPerPixel = color ? 3 : 1;
    p.BitsPerSample = bitmap ? 1 : header.maxValue > 255 ? 16 : 8;
    p.BitsPerPixel = uint8_t(p.SamplesPerPixel * p.BitsPerSample);
    return true;
}

void TPPMGraphic::LoadFromStream(TStream& stream)
{
    ReleaseImage();
    basePosition_ = stream.Position();
    stream_ = &stream;
    if (!ReadImageProperties(stream, 0))
        RaiseGraphicErrorFmt(msg::InvalidFormat, kPpm);
    stream.Seek(basePosition_);
    THeader header;
    readHeader(header);
    if (header.maxValue == 0 || header.maxValue > 65535 || !SizeWithinLimits(header.width, header.height))
        RaiseGraphicErrorFmt(msg::InvalidFormat, kPpm);
    uint32_t samples = header.kind == '3' || header.kind == '6' ? 3 : 1;
    // Every sample takes at least one byte of the file: far too little data is a broken file.
    uint64_t leastBytes = header.kind == '4' ? (uint64_t(header.width) + 7) / 8 * header.height
                                             : uint64_t(header.width) * header.height * samples;
    if (leastBytes > buffer_.size() - index_ + stream.Remaining())
        readError();
    StartProgressRect();
    Progress(TProgressStage::psStarting, 0, false, "Transfering...");
    TProgressPhase phase([this] { Progress(TProgressStage::psEnding, 0, false, {}); });
    if (header.kind == '1' || header.kind == '4')
        loadBitmap(header);
    else
        loadSamples(header, samples);
}

void TPPMGraphic::loadBitmap(const THeader& header)
{
    SetPixelFormat(TPixelFormat::pf1bit);
    SetSize(header.width, header.height);
    SetPalette({{255, 255, 255}, {0, 0, 0}});   // 1 is black
    uint32_t rowBytes = (header.width + 7) / 8;
    for (uint32_t y = 0; y < header.height; ++y) {
        uint8_t* line = ScanLine(y);
        if (header.kind == '4') {
            for (uint32_t i = 0; i < rowBytes; ++i)
                line[i] = nextByte();
        } else {
            for (uint32_t x = 0; x < header.width; ++x)
                if (readBit())
                    line[x / 8] |= uint8_t(0x80 >> (x % 8));
        }
        RowProgress(y, header.height);
    }
}

void TPPMGraphic::loadSamples(const THeader& header, uint32_t samples)
{
    bool raw = header.kind >= '4';
    bool wide = header.maxValue > 255;
    uint32_t maxValue = header.maxValue;
    auto sample = [&]() -> uint8_t {
        uint32_t v;
        if (!raw)
            v = readNumber();
        else if (wide)
            v = uint32_t(nextByte()) << 8 | nextByte();
        else
            v = nextByte();
        v = std::min(v, maxValue);
        return uint8_t(maxValue == 255 ? v : uint64_t(v) * 255 / maxValue);
    };
    SetPixelFormat(samples == 3 ? TPixelFormat::pf24bit : TPixelFormat::pf8bit);
    SetSize(header.width, header.height);
    if (samples == 1) {
        colorManager_.SetTargetBitsPerSample(8);
        colorManager_.SetTargetSamplesPerPixel(1);
        SetPalette(colorManager_.CreateGrayPalette(false));
    }
    for (uint32_t y = 0; y < header.height; ++y) {
        uint8_t* line = ScanLine(y);
        for (uint32_t x = 0; x < header.width; ++x) {
            if (samples == 1) {
                line[x] = sample();
                continue;
            }
            uint8_t r = sample(), g = sample(), b = sample();
            line[3 * x] = b;
            line[3 * x + 1] = g;
            line[3 * x + 2] = r;
        }
        RowProgress(y, header.height);
    }
}

namespace {
constexpr TExtensionDeclaration kPPMGraphicExtensions[] = {
    {"ppm", "Portable pixel map images"},
    {"pgm", "Portable gray map images"},
    {"pbm", "Portable bitmap images"},
};
} // namespace

const TGraphicClass TPPMGraphicClass{"TPPMGraphic", CreateGraphic<TPPMGraphic>, TPPMGraphic::CanLoad,
                                     "Portable map images", kPPMGraphicExtensions, ftRaster};

} // namespace vum
