// Feeds arbitrary bytes to the reader of every GIF: it may find no frame,
// never crash, hang or leak.
//
// The reader paints on a canvas of up to kMaxPicturePixels (2 GiB), as large
// as the header asks. So that a run stays small, the header's screen and
// first frame are clamped first to a canvas of at most kMaxSide x kMaxSide;
// everything else is read as it comes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "InputFile.h"
#include "platform/imaging/GifDecoder.h"

namespace {

constexpr int kMaxSide = 2048;
constexpr size_t kHeader = 13;      // signature and logical screen descriptor
constexpr size_t kDescriptor = 10;  // ',' then left, top, width, height and flags

int word(const std::vector<uint8_t>& bytes, size_t at)
{
    return bytes[at] | bytes[at + 1] << 8;
}

void setWord(std::vector<uint8_t>& bytes, size_t at, int value)
{
    bytes[at] = uint8_t(value & 0xFF);
    bytes[at + 1] = uint8_t(value >> 8);
}

// One side of the canvas: the screen's, or the frame's reach when the screen
// gives 0. A 0 side stays 0 while the frame's reach is small enough.
void clampSide(std::vector<uint8_t>& bytes, size_t screen, size_t position, size_t extent)
{
    if (word(bytes, screen) > kMaxSide)
        setWord(bytes, screen, kMaxSide);
    if (word(bytes, screen) != 0 || word(bytes, position) + word(bytes, extent) <= kMaxSide)
        return;
    const int at = std::min(word(bytes, position), kMaxSide);
    setWord(bytes, position, at);
    setWord(bytes, extent, std::min(word(bytes, extent), kMaxSide - at));
}

// Walks the records the reader reads before the first frame, as it reads
// them. Returns where the frame's descriptor starts, or where the reader
// stops when no descriptor comes first: a byte that is no record (or the
// trailer), or the end of the data.
size_t firstDescriptor(const std::vector<uint8_t>& bytes, bool& found)
{
    found = false;
    size_t at = kHeader;
    if (bytes[10] & 0x80)
        at += 3 * (size_t(2) << (bytes[10] & 0x07));
    while (at < bytes.size()) {
        if (bytes[at] == ',') {
            found = at + kDescriptor <= bytes.size();
            return found ? at : bytes.size();
        }
        if (bytes[at] != '!')
            return at + 1;
        at += 2;  // the label
        while (at < bytes.size() && bytes[at] != 0)
            at += 1 + size_t(bytes[at]);
        ++at;  // the block that ends the extension
    }
    return bytes.size();
}

// The input with a canvas of at most kMaxSide x kMaxSide. An input without a
// whole first descriptor is cut where the reader stops reading it: what it
// reads is the same, and it holds no canvas at all.
std::vector<uint8_t> withSmallCanvas(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    if (bytes.size() < kHeader)
        return bytes;
    bool found = false;
    const size_t at = firstDescriptor(bytes, found);
    if (!found) {
        bytes.resize(std::min(at, bytes.size()));
        return bytes;
    }
    clampSide(bytes, 6, at + 1, at + 5);
    clampSide(bytes, 8, at + 3, at + 7);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const imaging::GifDecode decoded = imaging::decodeGifFirstFrame(fuzzinput::fileHolding(withSmallCanvas(data, size)));
    if (!decoded.image.isNull())
        (void)decoded.image.pixel(decoded.image.width() - 1, decoded.image.height() - 1);
    return 0;
}
