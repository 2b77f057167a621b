#include "imaging/DataBounds.h"

#include <algorithm>
#include <limits>

#include "imaging/Support.h"

namespace vum {

namespace {

constexpr uint64_t kUnbounded = std::numeric_limits<uint64_t>::max();

uint64_t saturatingProduct(uint64_t a, uint64_t b)
{
    if (a != 0 && b > kUnbounded / a)
        return kUnbounded;
    return a * b;
}

} // namespace

uint64_t MaxUnpackedSize(TCompressionType scheme, uint64_t packed, uint64_t rowBytes)
{
    switch (scheme) {
    case TCompressionType::ctNone: return packed;
    // Two bytes repeat a byte 128 times; a Targa packet repeats a 4-byte pixel
    // 128 times for 5 bytes: 128 a byte covers every run-length kind.
    case TCompressionType::ctPackedBits:
    case TCompressionType::ctRLE: return saturatingProduct(packed, 128) + 512;
    case TCompressionType::ctLZW: {
        // Codes are 9 bits or wider; the n-th code after a clear adds at most
        // n bytes, and no string is longer than the table.
        uint64_t codes = packed * 8 / 9 + 1;
        return std::min(saturatingProduct(codes, codes + 1) / 2, saturatingProduct(codes, 4096));
    }
    case TCompressionType::ctLZ77: return saturatingProduct(packed, kDeflateBytesPerByte) + kDeflateSlack;
    // A coded line takes at least a few bits.
    case TCompressionType::ctFax3:
    case TCompressionType::ctFaxRLE:
    case TCompressionType::ctFaxRLEW:
    case TCompressionType::ctFax4: return saturatingProduct(packed * 8 + 1, std::max<uint64_t>(rowBytes, 1));
    // Every 8 x 8 block of a component costs at least a bit: 512 samples a
    // byte, of at most four components.
    case TCompressionType::ctJPEG: return saturatingProduct(packed, 512 * 4) + 65536;
    // A byte repeats the last pixel up to 63 times: 32 bytes of 4-bit pixels.
    case TCompressionType::ctThunderscan: return saturatingProduct(packed, 32) + 32;
    default: return kUnbounded;
    }
}

uint64_t MaxPassedOverPixels(uint64_t dataBytes)
{
    return std::max(MaxUnpackedSize(TCompressionType::ctLZ77, dataBytes, 0), kPassedOverPixelsFloor);
}

uint64_t MaxPackedSize(uint64_t unpacked)
{
    // Fax codes of single-pixel runs take about 8 times the bits they decode
    // to; JPEG strips carry their own tables.
    return saturatingProduct(unpacked, 16) + 65536;
}

uint64_t DistinctBytes(std::vector<TByteRange> ranges)
{
    std::sort(ranges.begin(), ranges.end(),
              [](const TByteRange& a, const TByteRange& b) { return a.start < b.start; });
    uint64_t total = 0, coveredTo = 0;
    for (const TByteRange& r : ranges) {
        uint64_t end = r.length > kUnbounded - r.start ? kUnbounded : r.start + r.length;
        uint64_t from = std::max(r.start, coveredTo);
        if (end > from) {
            total += end - from;
            coveredTo = end;
        }
    }
    return total;
}

void CheckDistinctDataSuffices(TCompressionType scheme, const std::vector<TByteRange>& ranges, uint64_t unpacked,
                               uint64_t rowBytes, const char* format)
{
    CheckDistinctDataSuffices(scheme, DistinctBytes(ranges), unpacked, rowBytes, format);
}

void CheckDistinctDataSuffices(TCompressionType scheme, uint64_t distinctBytes, uint64_t unpacked, uint64_t rowBytes,
                               const char* format)
{
    if (MaxUnpackedSize(scheme, distinctBytes, rowBytes) >= unpacked)
        return;
    if (scheme == TCompressionType::ctNone)
        RaiseFileEndsEarly();
    RaisePackedDataEndsEarly(format);
}

void RaiseFileEndsEarly()
{
    RaiseGraphicError(msg::StreamRead);
}

void RaisePackedDataEndsEarly(const char* format)
{
    RaiseGraphicErrorFmt(msg::CompressionError, format);
}

void RaisePictureTooLarge()
{
    RaiseGraphicError(msg::PictureTooLarge);
}

} // namespace vum
