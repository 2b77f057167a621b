#include "CraftedFiles.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

namespace {

using namespace std::string_literals;

std::string le16(uint32_t v)
{
    return {char(v), char(v >> 8)};
}

std::string le32(uint32_t v)
{
    return le16(v & 0xFFFF) + le16(v >> 16);
}

std::string be16(uint32_t v)
{
    return {char(v >> 8), char(v)};
}

std::string be32(uint32_t v)
{
    return be16(v >> 16) + be16(v & 0xFFFF);
}

const std::string kStreamRead = "Stream read error";

std::string compressionError(const std::string& format)
{
    return "Cannot load image. Compression error found in " + format + " file.";
}

// ---- TIFF (little-endian, one directory) ----

// Header, then the strips' data and `padding` zero bytes, then the directory
// and its long values. Strip offsets are filled in; byte counts too, unless
// `restOfFile` is set: then every count runs from its strip to the end of the file.
std::string tiff(std::map<uint16_t, TiffEntry> entries, const std::vector<std::string>& strips,
                 bool restOfFile = false, std::size_t padding = 0)
{
    std::string data;
    std::vector<uint32_t> offsets, counts;
    for (const std::string& s : strips) {
        offsets.push_back(uint32_t(data.size()));
        counts.push_back(uint32_t(s.size()));
        data += s;
    }
    data += std::string(padding, '\0');
    std::string file = tiffOverData(entries, data, offsets, counts);
    if (restOfFile) {
        for (std::size_t i = 0; i < offsets.size(); ++i)
            counts[i] = uint32_t(file.size() - 8 - offsets[i]);
        file = tiffOverData(entries, data, offsets, counts);
    }
    return file;
}

// LZW codes of 9 bits, most significant bit first.
std::string lzw9(const std::vector<uint32_t>& codes)
{
    std::string out;
    uint32_t buffer = 0, held = 0;
    for (uint32_t code : codes) {
        buffer = buffer << 9 | code;
        held += 9;
        while (held >= 8) {
            out += char(buffer >> (held - 8));
            held -= 8;
        }
    }
    if (held)
        out += char(buffer << (8 - held));
    return out;
}

// PackBits runs of one value covering `count` bytes.
std::string packbitsRuns(uint32_t count, uint8_t value)
{
    std::string out;
    for (; count > 0; count -= std::min<uint32_t>(count, 128))
        out += {char(1 - int(std::min<uint32_t>(count, 128))), char(value)};
    return out;
}

// ---- the other formats ----

std::string psd(uint16_t channels, uint16_t mode, uint32_t width, uint32_t height, uint16_t compression,
                const std::string& data)
{
    return "8BPS" + be16(1) + std::string(6, '\0') + be16(channels) + be32(height) + be32(width) + be16(8) +
           be16(mode) + be32(0) + be32(0) + be32(0) + be16(compression) + data;
}

std::string sgiHeader(uint8_t storage, uint16_t dimension, uint16_t x, uint16_t y, uint16_t z)
{
    std::string h = be16(474) + char(storage) + '\x01' + be16(dimension) + be16(x) + be16(y) + be16(z);
    return h + std::string(512 - h.size(), '\0');
}

std::string targa(uint8_t type, uint16_t width, uint16_t height, const std::string& data)
{
    return "\0\0"s + char(type) + std::string(9, '\0') + le16(width) + le16(height) + "\x18\x20"s + data;
}

std::string pcx(uint16_t width, uint16_t height, uint8_t encoding, const std::string& data)
{
    std::string h(128, '\0');
    h[0] = 10;
    h[1] = 5;
    h[2] = char(encoding);
    h[3] = 8;
    h.replace(8, 2, le16(width - 1u));
    h.replace(10, 2, le16(height - 1u));
    h[65] = 1;
    h.replace(66, 2, le16(width));
    return h + data;
}

std::string autodesk(uint16_t width, uint16_t height, const std::string& pixels)
{
    std::string file = le16(0x9119) + le16(width) + le16(height) + le16(0) + le16(0) + "\x08\x00"s + std::string(20, '\0');
    for (int i = 0; i < 256; ++i)
        file += {char(i % 64), char(i % 64), char(i % 64)};
    return file + pixels;
}

// A Dr. Halo palette: 40 bytes of header (highest index at 12), then 6-byte entries.
std::string halPalette()
{
    std::string out = "AH" + le16(0x300) + le16(512) + "\x0a\0"s + le16(0) + le16(0) + le16(1) + le16(255) + le16(255) +
                      le16(255) + "Dr. Halo"s + std::string(12, '\0');
    out += le16(0x10) + le16(0x20) + le16(0x30) + le16(0x40) + le16(0x50) + le16(0x60);
    return out + std::string(512 - out.size(), '\0');
}

// Rows of one run of index 1.
std::string cut(uint16_t width, uint16_t height, uint16_t rowsWritten)
{
    std::string out = le16(width) + le16(height) + le16(0);
    for (uint16_t y = 0; y < rowsWritten; ++y) {
        std::string packets;
        for (uint32_t left = width; left > 0; left -= std::min<uint32_t>(left, 127))
            packets += {char(0x80 | std::min<uint32_t>(left, 127)), '\x01'};
        out += le16(uint32_t(packets.size()) + 1) + packets + '\0';
    }
    return out;
}

std::string pspBlock(uint16_t id, const std::string& body)
{
    return "~BK\0"s + le16(id) + le32(uint32_t(body.size())) + body;
}

// A version 5 file of one raster layer whose channels are given.
std::string psp(uint32_t width, uint32_t height, uint16_t compression, const std::vector<std::string>& channels)
{
    std::string head = "Paint Shop Pro Image File\n\x1a"s;
    head += std::string(32 - head.size(), '\0') + le16(5) + le16(0);
    std::string resolution(8, '\0');
    std::string attributes = le32(0) + le32(width) + le32(height) + resolution + "\x01"s + le16(compression) + le16(24) +
                             le16(1) + le32(0) + '\0' + le32(0) + le32(0) + le16(1) + le32(0);
    std::string info(115, '\0');
    info[0] = 1;
    std::string layer = le32(4 + 2 + 4 + 115) + le16(4) + "name" + info + le32(8) + le16(1) +
                        le16(uint16_t(channels.size()));
    for (const std::string& c : channels)
        layer += c;
    return head + pspBlock(0, attributes) + pspBlock(3, pspBlock(4, layer));
}

std::string pspChannel(uint16_t type, const std::string& packed, uint32_t size)
{
    return pspBlock(5, le32(0) + le32(uint32_t(packed.size())) + le32(size) + le16(0) + le16(type) + packed);
}

// RLA: `height` rows that all point at one row of three packets; each packet
// declares `declared` bytes: a run of the row's width, then filler.
std::string rlaSharedRows(uint16_t width, uint16_t height, uint16_t declared)
{
    std::string h(740, '\0');
    auto put = [&](std::size_t at, const std::string& s) { h.replace(at, s.size(), s); };
    put(0, be16(0) + be16(width - 1u) + be16(0) + be16(height - 1u));
    put(8, be16(0) + be16(width - 1u) + be16(0) + be16(height - 1u));
    put(16, be16(1) + be16(0) + be16(3) + be16(0) + be16(0) + be16(0xFFFE));
    put(28, "1.0");
    put(580, "rgb");
    put(658, be16(8));
    uint32_t row = 740 + 4 * uint32_t(height);
    std::string table;
    for (uint32_t i = 0; i < height; ++i)
        table += be32(row);
    std::string packets;
    for (uint8_t value : {0x11, 0x22, 0x33}) {
        std::string packet;
        for (uint32_t left = width; left > 0; left -= std::min<uint32_t>(left, 128))
            packet += {char(std::min<uint32_t>(left, 128) - 1), char(value)};
        packet += std::string(declared - packet.size(), '\0');
        packets += be16(declared) + packet;
    }
    return h + table + packets;
}

std::string pcdImagePack(std::size_t size)
{
    std::string out(size, '\0');
    out.replace(2048, 7, "PCD_IPI");
    return out;
}

// IHDR (8-bit RGB unless told), `idat` as one IDAT chunk (a tiny one unless
// given) and IEND, with their CRCs.
std::string png(uint32_t width, uint32_t height, const std::string& depthAndType = "\x08\x02"s,
                const std::string& idat = "\x78\x9c\x03\0\0\0\0\x01"s)
{
    auto chunk = [&](const std::string& type, const std::string& data) {
        std::string body = type + data;
        return be32(uint32_t(data.size())) + body +
               be32(uint32_t(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
    };
    return "\x89PNG\r\n\x1a\n"s + chunk("IHDR", be32(width) + be32(height) + depthAndType + "\0\0\0"s) +
           chunk("IDAT", idat) + chunk("IEND", "");
}

std::string bmp(int32_t width, int32_t height, const std::string& pixels)
{
    return "BM" + le32(uint32_t(54 + pixels.size())) + le32(0) + le32(54) + le32(40) + le32(uint32_t(width)) +
           le32(uint32_t(height)) + le16(1) + le16(24) + le32(0) + le32(uint32_t(pixels.size())) + le32(0) + le32(0) +
           le32(0) + le32(0) + pixels;
}

std::string ico(uint8_t size, const std::string& image)
{
    return le16(0) + le16(1) + le16(1) + char(size) + char(size) + "\0\0"s + le16(1) + le16(32) +
           le32(uint32_t(image.size())) + le32(22) + image;
}

std::string gif(uint16_t width, uint16_t height, const std::string& data)
{
    return "GIF89a" + le16(width) + le16(height) + "\x80\0\0"s + "\x10\x20\x30\xff\xff\xff"s + "," + le16(0) + le16(0) +
           le16(width) + le16(height) + '\0' + data + ";";
}

// A JPEG of a grey picture written by ImageMagick.
// 16-bit RGB in separate planes, deflated strips of 64 rows that all point at
// one copy of `value` bytes, as writers store identical strips once.
std::string tiffPlanesOnOneCopy(uint32_t size, uint8_t value)
{
    const uint32_t rowsPerStrip = 64, stripsPerPlane = (size + rowsPerStrip - 1) / rowsPerStrip;
    std::string strip = deflated(std::string(std::size_t(rowsPerStrip) * size * 2, char(value)));
    auto tags = tiffTags(size, size, 3, 8, 2, rowsPerStrip);
    tags[258] = {3, {16, 16, 16}};
    tags[284] = {3, {2}};
    return tiffOverData(tags, strip, std::vector<uint32_t>(3 * stripsPerPlane, 0),
                        std::vector<uint32_t>(3 * stripsPerPlane, uint32_t(strip.size())));
}

std::string convertJpeg(const char* size, bool progressive)
{
    char path[] = "/tmp/crafted-jpeg-XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0)
        throw std::runtime_error("cannot make a temporary file");
    close(fd);
    std::string target = "JPEG:"s + path;
    const char* argv[] = {"convert", "-size", size, "xc:gray50", "-colorspace", "Gray", "-interlace",
                          progressive ? "JPEG" : "None", "-quality", "90", target.c_str(), nullptr};
    pid_t pid = 0;
    int status = 0;
    if (posix_spawnp(&pid, "convert", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0 ||
        waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("ImageMagick's convert could not make a JPEG");
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(path);
    return bytes;
}

// A TIFF strip of JPEG data whose frame header claims the whole of a large
// picture while its scan holds one block.
std::string tiffJpegClaim(uint16_t width, uint16_t height)
{
    std::string jpeg = convertJpeg("8x8", false);
    std::size_t sof = jpeg.find("\xff\xc0");
    if (sof == std::string::npos)
        throw std::runtime_error("convert wrote no baseline JPEG");
    jpeg.replace(sof + 5, 4, be16(height) + be16(width));
    return tiff(tiffTags(width, height, 1, 7, 1, height), {jpeg});
}

// A progressive JPEG whose last scan is repeated until the file holds about
// `size` bytes: every copy makes the decoder walk the whole picture again.
std::string jpegOfManyScans(std::size_t size)
{
    std::string bytes = convertJpeg("2048x2048", true);
    std::size_t end = bytes.rfind("\xff\xd9");
    std::size_t last = bytes.rfind("\xff\xda", end);
    if (end == std::string::npos || last == std::string::npos)
        throw std::runtime_error("convert wrote no progressive JPEG");
    std::string scan = bytes.substr(last, end - last), out = bytes.substr(0, end);
    while (out.size() + scan.size() < size)
        out += scan;
    return out + "\xff\xd9";
}

CraftedCase crafted(std::string name, std::string bytes, std::string error, uint32_t width = 0, uint32_t height = 0,
                    uint32_t firstPixel = 0)
{
    CraftedCase c;
    c.name = std::move(name);
    c.bytes = std::move(bytes);
    c.error = std::move(error);
    c.width = width;
    c.height = height;
    c.firstPixel = firstPixel;
    return c;
}

} // namespace

std::string deflated(const std::string& data)
{
    uLongf size = compressBound(uLong(data.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
              uLong(data.size()), 9);
    out.resize(size);
    return out;
}

std::string tiffOverData(std::map<uint16_t, TiffEntry> entries, const std::string& data,
                         std::vector<uint32_t> offsets, const std::vector<uint32_t>& counts)
{
    for (uint32_t& offset : offsets)
        offset += 8;
    entries[273] = {4, offsets};
    entries[279] = {4, counts};
    uint32_t ifd = uint32_t(8 + data.size());
    std::string directory = le16(uint32_t(entries.size())), extra;
    uint32_t extraAt = ifd + 2 + 12 * uint32_t(entries.size()) + 4;
    for (const auto& [tag, e] : entries) {
        std::string values;
        for (uint32_t v : e.values)
            values += e.type == 3 ? le16(v) : le32(v);
        directory += le16(tag) + le16(e.type) + le32(uint32_t(e.values.size()));
        if (values.size() <= 4) {
            directory += values + std::string(4 - values.size(), '\0');
        } else {
            directory += le32(extraAt + uint32_t(extra.size()));
            extra += values;
        }
    }
    return "II"s + le16(42) + le32(ifd) + data + directory + le32(0) + extra;
}

std::map<uint16_t, TiffEntry> tiffTags(uint32_t width, uint32_t height, uint32_t samples, uint32_t compression,
                                       uint32_t photometric, uint32_t rowsPerStrip)
{
    std::vector<uint32_t> bits(samples, 8);
    return {{256, {4, {width}}},       {257, {4, {height}}},       {258, {3, bits}},
            {259, {3, {compression}}}, {262, {3, {photometric}}}, {277, {3, {samples}}},
            {278, {4, {rowsPerStrip}}}};
}

std::vector<CraftedCase> craftedCases()
{
    std::vector<CraftedCase> cases;
    auto add = [&](CraftedCase c) { cases.push_back(std::move(c)); };

    // TIFF
    add(crafted("tiff-good.tif", tiff(tiffTags(4, 2, 3, 1, 2, 2), {std::string("\x10\x20\x30", 3) + std::string(21, '\x7f')}),
         "", 4, 2, 0x102030));
    add(crafted("tiff-lzw-claims-16384x16383.tif", tiff(tiffTags(16384, 16383, 1, 5, 1, 16383), {lzw9({256, 0, 257})}),
         kStreamRead));
    add(crafted("tiff-raw-claims-12000x12000.tif", tiff(tiffTags(12000, 12000, 3, 1, 2, 12000), {std::string(16, '\0')}),
         kStreamRead));
    add(crafted("tiff-packbits-claims-16384x16000.tif", tiff(tiffTags(16384, 16000, 1, 32773, 1, 1),
                                                      std::vector<std::string>(16000, packbitsRuns(256, 0))),
         kStreamRead));
    {
        // 20000 strips of one row; every byte count runs to the end of a 2.4 MB file.
        std::vector<std::string> strips;
        for (uint32_t y = 0; y < 20000; ++y)
            strips.push_back(packbitsRuns(100, uint8_t(y % 200 + 40)));
        add(crafted("tiff-counts-to-the-end.tif", tiff(tiffTags(100, 20000, 1, 32773, 1, 1), strips, true, 2200000), "",
                    100, 20000, 0x282828));
    }
    {
        // 3000 strips of a row, each starting at its own place in one run of
        // 60000 no-op codes and ending at the literal after it: together they
        // would decode the run 3000 times. Beside it the honest layout, every
        // strip its own two bytes.
        const uint32_t strips = 3000, run = 60000;
        std::vector<uint32_t> offsets, counts;
        for (uint32_t k = 0; k < strips; ++k) {
            offsets.push_back(k * (run / strips));
            counts.push_back(run + 2 - offsets.back());
        }
        std::string noOps = std::string(run, '\x80') + "\x00\x7f"s;
        add(crafted("tiff-overlapping-strips.tif", tiffOverData(tiffTags(1, strips, 1, 32773, 1, 1), noOps, offsets, counts),
                    compressionError("TIF/TIFF")));
        add(crafted("tiff-strips-of-their-own.tif",
                    tiff(tiffTags(1, strips, 1, 32773, 1, 1), std::vector<std::string>(strips, "\x00\x7f"s)), "", 1,
                    strips, 0x7F7F7F));
        // Strips that all start at the run but end at different places make
        // the same row: one decoding, the rest copies.
        std::vector<uint32_t> atTheRun(strips, 0), toTheirEnds;
        for (uint32_t k = 0; k < strips; ++k)
            toTheirEnds.push_back(run + 2 + k);
        add(crafted("tiff-strips-of-one-start.tif",
                    tiffOverData(tiffTags(1, strips, 1, 32773, 1, 1), noOps + std::string(strips, '\0'), atTheRun,
                                 toTheirEnds),
                    "", 1, strips, 0x7F7F7F));
        // Strips of 1 to 128 rows that all start at the run: each number of
        // rows reads the run again.
        std::vector<uint32_t> rows;
        for (uint32_t r = 1; r <= 128; ++r)
            rows.push_back(r);
        auto tags = tiffTags(1, 128 * 129 / 2, 1, 32773, 1, 1);
        tags[278] = {4, rows};
        add(crafted("tiff-rows-of-one-start.tif",
                    tiffOverData(tags, std::string(run, '\x80') + "\x81\x7f"s, std::vector<uint32_t>(128, 0),
                                 std::vector<uint32_t>(128, run + 2)),
                    compressionError("TIF/TIFF")));
    }
    // The largest picture the caps allow, in 8 KB: its planes pass the cap on
    // a buffer, which must be found before the bitmap is allocated. Beside it
    // a smaller one of the same layout, as a writer would store it.
    add(crafted("tiff-16bit-planes-on-one-copy.tif", tiffPlanesOnOneCopy(16384, 0x80),
                "Cannot load image. The picture is too large."));
    add(crafted("tiff-small-16bit-planes-on-one-copy.tif", tiffPlanesOnOneCopy(2048, 0x80), "", 2048, 2048, 0x808080));
    {
        std::string preview = tiff(tiffTags(16384, 16383, 1, 5, 1, 16383), {lzw9({256, 0, 257})});
        std::string header = le32(0xC6D3D0C5) + le32(0) + le32(0) + le32(0) + le32(0) + le32(30) +
                             le32(uint32_t(preview.size())) + le16(0xFFFF);
        add(crafted("eps-preview-claims.eps", header + preview, kStreamRead));
    }

    // Photoshop
    add(crafted("psd-good.psd", psd(3, 3, 2, 1, 0, "\xff\x00\x00\x00\x00\xff"s), "", 2, 1, 0xFF0000));
    add(crafted("psd-packbits-claims-16384x16384.psd", psd(3, 3, 16384, 16384, 1, std::string(3 * 16384 * 2, '\0')),
         compressionError("PSD or PDD")));

    // SGI
    {
        // 30000 run-length rows whose lengths all run to the end of an 8 MB file.
        const uint32_t width = 100, height = 30000;
        std::string rows;
        std::vector<uint32_t> starts;
        uint32_t tables = 512 + 8 * height;
        for (uint32_t r = 0; r < height; ++r) {
            starts.push_back(tables + uint32_t(rows.size()));
            for (uint32_t left = width; left > 0; left -= std::min<uint32_t>(left, 127))
                rows += {char(std::min<uint32_t>(left, 127)), char(r % 256)};
            rows += '\0';
        }
        std::size_t size = tables + rows.size() + 7500000;
        std::string startTable, lengthTable;
        for (uint32_t s : starts) {
            startTable += be32(s);
            lengthTable += be32(uint32_t(size - s));
        }
        add(crafted("sgi-lengths-to-the-end.sgi",
             sgiHeader(1, 2, width, height, 1) + startTable + lengthTable + rows + std::string(7500000, '\0'), "", width,
             height, (height - 1) % 256 * 0x010101u));
    }
    add(crafted("sgi-raw-claims-8000x8000.sgi", sgiHeader(0, 3, 8000, 8000, 3) + std::string(100, '\0'), kStreamRead));
    add(crafted("sgi-good.sgi", sgiHeader(0, 3, 2, 1, 3) + "\x10\x40\x20\x50\x30\x60"s, "", 2, 1, 0x102030));

    // Targa
    add(crafted("tga-good.tga", targa(2, 2, 1, "\x30\x20\x10\x00\x00\xff"s), "", 2, 1, 0x102030));
    add(crafted("tga-rle-claims-65535x4096.tga", targa(10, 65535, 4096, std::string(40, '\xff')), kStreamRead));

    // Paint Shop Pro
    add(crafted("psp-channels-claim-a-gigabyte.psp",
         psp(1, 1, 0, {pspChannel(1, "\x10", 0x3FFFFFFF), pspChannel(2, "\x20", 0x3FFFFFFF),
                       pspChannel(3, "\x30", 0x3FFFFFFF)}),
         "", 1, 1, 0x102030));
    add(crafted("psp-deflate-channels-of-nothing.psp",
                psp(1, 1, 2, {pspChannel(1, "", 0), pspChannel(2, "", 0), pspChannel(3, "", 0)}),
                "Cannot load image. Invalid or unexpected PSP image format."));
    add(crafted("psp-claims-16384x16384.psp",
         psp(16384, 16384, 1, {pspChannel(1, "\x81\x10", 16384u * 16384), pspChannel(2, "\x81\x20", 16384u * 16384),
                               pspChannel(3, "\x81\x30", 16384u * 16384)}),
         kStreamRead));

    // CUT with a palette file of a gigabyte beside it
    {
        CraftedCase c = crafted("cut-big-palette.cut", cut(300, 20, 20), "", 300, 20, 0x405060);
        c.sidecar = halPalette();
        c.sidecarSize = uint64_t(1) << 30;
        add(c);
    }
    add(crafted("cut-claims-16000x16000.cut", cut(16000, 16000, 2), kStreamRead));

    // RLA rows sharing one row of long packets
    add(crafted("rla-shared-rows.rla", rlaSharedRows(100, 30000, 65535), "", 100, 30000, 0x112233));

    // PCX, portable maps, Autodesk, Photo-CD
    add(crafted("pcx-good.pcx", pcx(2, 1, 0, "\x01\x02"s) + '\x0c' + "\x00\x00\x00\x10\x20\x30\x40\x50\x60"s +
                             std::string(759, '\0'),
         "", 2, 1, 0x102030));
    add(crafted("pcx-rle-claims-16000x16000.pcx", pcx(16000, 16000, 1, std::string(64, '\xff')), kStreamRead));
    add(crafted("ppm-good.ppm", "P6\n2 1\n255\n\x10\x20\x30\x40\x50\x60"s, "", 2, 1, 0x102030));
    add(crafted("ppm-claims-16000x16000.ppm", "P6\n16000 16000\n255\n" + std::string(64, '\0'),
         "Stream read error in PPM file."));
    add(crafted("cel-good.cel", autodesk(2, 1, "\x04\x08"s), "", 2, 1, 0x101010));
    add(crafted("cel-claims-16000x16000.cel", autodesk(16000, 16000, std::string(64, '\0')), kStreamRead));
    add(crafted("pcd-cut-short.pcd", pcdImagePack(8192), kStreamRead));

    // Formats whose readers checked their sizes already
    add(crafted("png-claims-20000x20000.png", png(20000, 20000), "Cannot load image. Invalid or unexpected PNG image format."));
    // One row of 2^28 16-bit RGBA pixels: its 1 GB bitmap is within the cap,
    // the 2 GB row the decoding keeps is not, and 2.1 MB of data could
    // deflate to it. Refused before the bitmap is allocated.
    add(crafted("png-row-of-2GB.png", png(1u << 28, 1, "\x10\x06"s, std::string(2100000, '\0')),
                "Cannot load image. The picture is too large."));
    add(crafted("gif-claims-16000x16000.gif", gif(16000, 16000, "\x02\x02\x04\x01\0"s),
                "Cannot load image. Invalid or unexpected GIF image format."));
    add(crafted("bmp-claims-16000x16000.bmp", bmp(16000, 16000, std::string(64, '\0')), "Bitmap image is not valid"));
    add(crafted("ico-claims-more-than-it-holds.ico",
         ico(0, le32(40) + le32(4000) + le32(8000) + le16(1) + le16(32) + std::string(24, '\0')), "Icon image is not valid"));
    // Made from ImageMagick's JPEGs when they are written (so that listing the cases stays cheap).
    CraftedCase scans = crafted("jpg-many-scans.jpg", "", "JPEG error: the picture has more than 100 scans");
    scans.madeBy = "jpeg of many scans";
    add(scans);
    CraftedCase strip = crafted("tiff-jpeg-claims-16384x16383.tif", "", kStreamRead);
    strip.madeBy = "tiff jpeg claim";
    add(strip);
    // Small enough to pass the size check: the strip's data end early in the decoder.
    CraftedCase cut = crafted("tiff-jpeg-ends-early.tif", "", compressionError("TIF/TIFF"));
    cut.madeBy = "tiff jpeg ends early";
    add(cut);
    return cases;
}

std::vector<std::pair<std::string, std::string>> craftedSeeds()
{
    std::vector<std::pair<std::string, std::string>> seeds;
    for (const CraftedCase& c : craftedCases())
        if (c.error.empty() && c.madeBy.empty() && c.bytes.size() < 4096)
            seeds.emplace_back(c.name, c.bytes);
    return seeds;
}

std::string writeCrafted(const std::string& folder, const CraftedCase& c)
{
    std::string path = folder + "/" + c.name;
    {
        std::string bytes = c.madeBy == "jpeg of many scans" ? jpegOfManyScans(160000)
                            : c.madeBy == "tiff jpeg claim"  ? tiffJpegClaim(16384, 16383)
                            : c.madeBy == "tiff jpeg ends early" ? tiffJpegClaim(512, 512)
                                                             : c.bytes;
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write " + path);
    }
    if (c.sidecarSize > 0) {
        std::string pal = path.substr(0, path.rfind('.')) + ".pal";
        {
            std::ofstream out(pal, std::ios::binary);
            out.write(c.sidecar.data(), std::streamsize(c.sidecar.size()));
        }
        if (truncate(pal.c_str(), off_t(c.sidecarSize)) != 0)
            throw std::runtime_error("cannot grow " + pal);
    }
    return path;
}
