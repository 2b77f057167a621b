// Formats the registry recognises by content or extension but this library
// cannot read: loading one fails with a clear error, so the caller reports the
// format as not supported.
#include <cctype>
#include <cstring>

#include "imaging/registry.h"
#include "imaging/stream.h"
#include "imaging/support.h"

namespace vum {

namespace {

// Reads count bytes from the current position and puts the position back.
bool peek(TStream& stream, uint8_t* buffer, std::size_t count)
{
    TPositionGuard guard(stream);
    return stream.Read(buffer, count) == count;
}

uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

bool canLoadPsp(TStream& s)
{
    uint8_t h[34];
    if (s.Remaining() < 37 || !peek(s, h, 34))
        return false;
    const char* magic = "Paint Shop Pro Image File";
    for (int i = 0; i < 25; ++i)
        if (std::tolower(h[i]) != std::tolower(magic[i]))
            return false;
    return le16(h + 32) >= 3;
}

// A picture of a format this library does not read.
template <const char* Format>
class TUnreadable : public TBitmap {
public:
    void LoadFromStream(TStream&) override
    {
        ReleaseImage();
        RaiseGraphicErrorFmt(msg::NotSupportedFor, "Reading", Format);
    }
};

template <class T>
std::unique_ptr<TBitmap> create()
{
    return std::make_unique<T>();
}

constexpr char kPsp[] = "PSP";

} // namespace

const TGraphicClass TPSPGraphicClass{"TPSPGraphic", create<TUnreadable<kPsp>>, canLoadPsp};

} // namespace vum
