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
uint16_t be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }
uint32_t le32(const uint8_t* p) { return uint32_t(p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24); }
uint32_t be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }

bool canLoadTarga(TStream& s)
{
    uint8_t h[18];
    if (s.Remaining() < 19 || !peek(s, h, 18))
        return false;
    uint8_t type = h[2], mapType = h[1], entry = h[7], depth = h[16];
    return (type < 4 || (type >= 9 && type <= 11)) && mapType < 2 &&
           (entry == 15 || entry == 16 || entry == 24 || entry == 32) &&
           (depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32);
}

bool canLoadTiff(TStream& s)
{
    uint8_t h[8];
    if (s.Remaining() < 9 || !peek(s, h, 8))
        return false;
    bool intel = h[0] == 'I' && h[1] == 'I', motorola = h[0] == 'M' && h[1] == 'M';
    if (!intel && !motorola)
        return false;
    uint16_t version = intel ? le16(h + 2) : be16(h + 2);
    uint32_t offset = intel ? le32(h + 4) : be32(h + 4);
    return version == 42 && offset < s.Size() - s.Position();
}

bool canLoadEps(TStream& s)
{
    uint8_t h[30];
    if (s.Remaining() < 31 || !peek(s, h, 30))
        return false;
    return le32(h) == 0xC6D3D0C5u && le32(h + 20) > s.Position() + 30 && le32(h + 24) > 0;
}

bool canLoadPcx(TStream& s)
{
    uint8_t h[128];
    if (s.Remaining() < 129 || !peek(s, h, 128))
        return false;
    return (h[0] == 10 || h[0] == 12) && (h[1] == 0 || h[1] == 2 || h[1] == 3 || h[1] == 5) && h[2] < 2;
}

bool canLoadRla(TStream& s)
{
    uint8_t h[740];
    if (s.Remaining() <= 740 || !peek(s, h, 740))
        return false;
    if (be16(h + 26) != 0xFFFE)
        return false;
    std::string format;
    for (int i = 580; i < 612 && h[i]; ++i)
        format += char(std::tolower(h[i]));
    return format == "rgb" || format == "xyz";
}

bool canLoadSgi(TStream& s)
{
    uint8_t h[6];
    if (s.Remaining() <= 512 || !peek(s, h, 6))
        return false;
    uint16_t dimension = be16(h + 4);
    return be16(h) == 474 && (h[3] == 1 || h[3] == 2) && dimension >= 1 && dimension <= 3;
}

bool canLoadPsd(TStream& s)
{
    uint8_t h[6];
    if (s.Remaining() < 27 || !peek(s, h, 6))
        return false;
    return std::toupper(h[0]) == '8' && std::toupper(h[1]) == 'B' && std::toupper(h[2]) == 'P' &&
           std::toupper(h[3]) == 'S' && be16(h + 4) == 1;
}

bool canLoadPpm(TStream& s)
{
    uint8_t h[2];
    if (s.Remaining() < 11 || !peek(s, h, 2))
        return false;
    return h[0] == 'P' && h[1] >= '1' && h[1] <= '6';
}

bool canLoadAutodesk(TStream& s)
{
    uint8_t h[12];
    if (s.Remaining() < 33 || !peek(s, h, 12))
        return false;
    return le16(h) == 0x9119 && h[10] == 8 && h[11] == 0;
}

bool canLoadPcd(TStream& s)
{
    uint8_t h[2051];
    if (s.Remaining() <= 6144 || !peek(s, h, sizeof h))
        return false;
    return std::memcmp(h, "PCD_OPA", 7) == 0 || std::memcmp(h + 2048, "PCD", 3) == 0;
}

bool canLoadCut(TStream&)
{
    return false;   // found by extension only
}

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

constexpr char kTga[] = "Targa", kTif[] = "TIF/TIFF", kEps[] = "EPS", kPcx[] = "PCX or SCR", kRla[] = "RLA",
               kSgi[] = "sgi, bw or rgb(a)", kPsd[] = "PSD or PDD", kPpm[] = "PBM, PGM or PPM",
               kCel[] = "Autodesk", kPcd[] = "Photo-CD", kCut[] = "CUT", kPsp[] = "PSP";

} // namespace

const TGraphicClass TTargaGraphicClass{"TTargaGraphic", create<TUnreadable<kTga>>, canLoadTarga};
const TGraphicClass TTIFFGraphicClass{"TTIFFGraphic", create<TUnreadable<kTif>>, canLoadTiff};
const TGraphicClass TEPSGraphicClass{"TEPSGraphic", create<TUnreadable<kEps>>, canLoadEps};
const TGraphicClass TPCXGraphicClass{"TPCXGraphic", create<TUnreadable<kPcx>>, canLoadPcx};
const TGraphicClass TRLAGraphicClass{"TRLAGraphic", create<TUnreadable<kRla>>, canLoadRla};
const TGraphicClass TSGIGraphicClass{"TSGIGraphic", create<TUnreadable<kSgi>>, canLoadSgi};
const TGraphicClass TPSDGraphicClass{"TPSDGraphic", create<TUnreadable<kPsd>>, canLoadPsd};
const TGraphicClass TPPMGraphicClass{"TPPMGraphic", create<TUnreadable<kPpm>>, canLoadPpm};
const TGraphicClass TAutodeskGraphicClass{"TAutodeskGraphic", create<TUnreadable<kCel>>, canLoadAutodesk};
const TGraphicClass TPCDGraphicClass{"TPCDGraphic", create<TUnreadable<kPcd>>, canLoadPcd};
const TGraphicClass TCUTGraphicClass{"TCUTGraphic", create<TUnreadable<kCut>>, canLoadCut};
const TGraphicClass TPSPGraphicClass{"TPSPGraphic", create<TUnreadable<kPsp>>, canLoadPsp};

} // namespace vum
