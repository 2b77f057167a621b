#include "platform/imaging/JpegDecoder.h"

#include <QFile>
#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <new>

#include <jpeglib.h>
#include <jerror.h>

#include "jpeg/JpegMarkers.h"
#include "jpeg/JpegVerdict.h"

#include "platform/imaging/DecodeMemory.h"
#include "platform/imaging/PictureReader.h"

namespace imaging {

namespace {

struct ErrorJump {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    jpeg_watch watch {};       // what tells whole from cut
    bool tooManyScans = false;
    bool noMemory = false;
    bool tooLittleData = false;
    bool cut = false;          // the rule called the file cut before anything was decoded
    int64_t tooLarge = 0;      // the bytes of coefficients a file of several scans would keep, past the cap
};

ErrorJump& errorOf(j_common_ptr c)
{
    return *reinterpret_cast<ErrorJump*>(c->err);
}

[[noreturn]] void leave(j_common_ptr c)
{
    // No backing store: the buffers of a progressive picture would pass the cap.
    if (c->err->msg_code == JERR_OUT_OF_MEMORY || c->err->msg_code == JERR_NO_BACKING_STORE)
        errorOf(c).noMemory = true;
    std::longjmp(errorOf(c).jump, 1);
}

// libjpeg goes on after a warning, filling what is missing with grey; which
// warnings mean damage is the shared rule's to say.
void warn(j_common_ptr c, int level)
{
    if (level < 0)
        jpeg_watch_warning(&errorOf(c).watch, c->err->msg_code);
}

void quiet(j_common_ptr) {}

// Called between the passes over the file, and after each scan header of a
// file of several scans: stops before the scan after the last allowed, and
// notes which components the scans have brought.
void watchScans(j_common_ptr c)
{
    if (!c->is_decompressor)
        return;
    const auto d = reinterpret_cast<j_decompress_ptr>(c);
    if (d->input_scan_number > kMaxJpegScans) {
        errorOf(c).tooManyScans = true;
        std::longjmp(errorOf(c).jump, 1);
    }
    jpeg_watch_scan(&errorOf(c).watch, d);
}

// The parts a longjmp skips over hold no C++ objects: everything that needs
// cleaning up lives in this record, made before the jump target. A decode
// reads from the file's bytes in memory, which the marker walk needs; a look
// at the header alone reads from the file.
struct Session {
    jpeg_decompress_struct cinfo {};
    ErrorJump err {};
    jpeg_progress_mgr progress {};
    FILE* file = nullptr;
    QByteArray bytes;
    bool created = false;
    ~Session()
    {
        if (created)
            jpeg_destroy_decompress(&cinfo);
        if (file)
            std::fclose(file);
    }
};

// Where the first scan's data begin, once the header is read from memory.
std::size_t scanStart(const Session& s)
{
    return std::size_t(s.bytes.size()) - s.cinfo.src->bytes_in_buffer;
}

// The 8 x 8 blocks of every component of the picture the header declares.
int64_t blocksOf(const jpeg_decompress_struct& cinfo)
{
    int64_t blocks = 0;
    for (int c = 0; c < cinfo.num_components; ++c)
        blocks += int64_t(cinfo.comp_info[c].width_in_blocks) * int64_t(cinfo.comp_info[c].height_in_blocks);
    return blocks;
}

// Every block of every component is coded at least once, and a Huffman code
// is at least one bit long: fewer bits of scan data than blocks means the
// header lies about the size, or nearly all the data is missing. Decoding it
// would still set up (for a progressive file, fill) buffers for the whole
// declared picture, only to come out grey. Arithmetic coding can code a flat
// block in a fraction of a bit, so it has no such bound.
bool dataCanHoldBlocks(const jpeg_decompress_struct& cinfo, int64_t dataBytes)
{
    if (cinfo.arith_code)
        return true;
    return dataBytes >= INT64_MAX / 8 || blocksOf(cinfo) <= dataBytes * 8;
}

// The coefficients libjpeg keeps of the whole picture while the scans of a
// file of several scans come in, once its header is read.
int64_t coefficientBytes(const jpeg_decompress_struct& cinfo)
{
    // One scan of every component is decoded block row by block row.
    if (!cinfo.progressive_mode && cinfo.comps_in_scan == cinfo.num_components)
        return 0;
    return blocksOf(cinfo) * DCTSIZE2 * int64_t(sizeof(JCOEF));
}

bool isCmyk(J_COLOR_SPACE space)
{
    return space == JCS_CMYK || space == JCS_YCCK;
}

// Photoshop and libjpeg store CMYK inverted (0 is full ink) and say so in an
// Adobe segment; like Qt's reader and the web browsers, every CMYK JPEG is
// read that way: each channel is its ink's complement times the black's.
// The row holds C, M, Y, K bytes and becomes pixels where it lies.
void cmykToPixels(uchar* row, JDIMENSION width)
{
    auto* out = reinterpret_cast<QRgb*>(row);
    for (JDIMENSION x = 0; x < width; ++x) {
        const uchar* p = row + 4 * size_t(x);
        const int k = p[3];
        out[x] = qRgb(k * p[0] / 255, k * p[1] / 255, k * p[2] / 255);
    }
}

// True when the picture decoded; `verdict` then says whether it is whole.
bool decodeInto(Session& s, int denominator, QImage& image, jpeg_verdict& verdict)
{
    if (setjmp(s.err.jump))
        return false;
    jpeg_create_decompress(&s.cinfo);
    s.created = true;
    s.cinfo.progress = &s.progress;  // creating clears every field but the error manager
    const auto* data = reinterpret_cast<const unsigned char*>(s.bytes.constData());
    jpeg_mem_src(&s.cinfo, data, static_cast<unsigned long>(s.bytes.size()));
    jpeg_read_header(&s.cinfo, TRUE);
    const J_COLOR_SPACE in = s.cinfo.jpeg_color_space;
    const bool cmyk = isCmyk(in);
    if (in != JCS_YCbCr && in != JCS_GRAYSCALE && in != JCS_RGB && !cmyk)
        return false;
    // What the rule decides from the header and the markers needs no decoding.
    const jpeg_end end = jpeg_find_end(data, std::size_t(s.bytes.size()), scanStart(s));
    if (jpeg_cut_before_decoding(s.cinfo.arith_code, &end)) {
        s.err.cut = true;
        return false;
    }
    if (!dataCanHoldBlocks(s.cinfo, int64_t(s.bytes.size()) - int64_t(scanStart(s)))) {
        s.err.tooLittleData = true;
        return false;
    }
    // The coefficients of a file of several scans are kept whatever size it
    // is decoded at: past what the largest picture may take, it is too large.
    const int64_t coefficients = coefficientBytes(s.cinfo);
    if (coefficients > kMaxPictureBytes) {
        s.err.tooLarge = coefficients;
        return false;
    }
    s.cinfo.mem->max_memory_to_use = long(std::min<int64_t>(decoderMemoryLimit(), LONG_MAX));
    if (cmyk)
        s.cinfo.out_color_space = JCS_CMYK;
    else
        s.cinfo.out_color_space = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRA : JCS_EXT_ARGB;
    s.cinfo.scale_num = 1;
    s.cinfo.scale_denom = unsigned(denominator);
    s.cinfo.dct_method = JDCT_ISLOW;
    s.cinfo.do_fancy_upsampling = TRUE;
    jpeg_calc_output_dimensions(&s.cinfo);
    const int64_t w = s.cinfo.output_width, h = s.cinfo.output_height;
    if (w <= 0 || h <= 0 || w * h > kMaxPicturePixels)
        return false;
    image = decodeTarget(QSize(int(w), int(h)), kPictureFormat);
    if (image.isNull()) {
        s.err.noMemory = true;
        return false;
    }
    jpeg_start_decompress(&s.cinfo);
    while (s.cinfo.output_scanline < s.cinfo.output_height) {
        JSAMPROW row = image.scanLine(int(s.cinfo.output_scanline));
        if (jpeg_read_scanlines(&s.cinfo, &row, 1) != 1)
            return false;
        if (cmyk)
            cmykToPixels(row, s.cinfo.output_width);
    }
    // What the scans refined is freed by the finish; every scan is in by now.
    jpeg_watch_rows_read(&s.err.watch, &s.cinfo);
    jpeg_finish_decompress(&s.cinfo);
    verdict = jpeg_watch_verdict(&s.err.watch);
    return true;
}

int64_t coefficientBytesOf(Session& s)
{
    if (setjmp(s.err.jump))
        return 0;
    jpeg_create_decompress(&s.cinfo);
    s.created = true;
    jpeg_stdio_src(&s.cinfo, s.file);
    jpeg_read_header(&s.cinfo, TRUE);
    return coefficientBytes(s.cinfo);
}

// A session on the file at `path`: its bytes in memory for a decode, or the
// file open for a look at the header.
std::unique_ptr<Session> openSession(const QString& path, bool toDecode)
{
    auto s = std::make_unique<Session>();
    if (toDecode) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return nullptr;
        s->bytes = f.readAll();
        if (f.error() != QFileDevice::NoError)
            return nullptr;
    } else {
        s->file = std::fopen(QFile::encodeName(path).constData(), "rb");
        if (!s->file)
            return nullptr;
    }
    s->cinfo.err = jpeg_std_error(&s->err.mgr);
    s->err.mgr.error_exit = leave;
    s->err.mgr.emit_message = warn;
    s->err.mgr.output_message = quiet;
    jpeg_watch_start(&s->err.watch);
    s->progress.progress_monitor = watchScans;
    return s;
}

} // namespace

JpegDecode decodeJpegScaled(const QString& path, int denominator)
{
    JpegDecode out;
    if (denominator != 1 && denominator != 2 && denominator != 4 && denominator != 8)
        return out;
    std::unique_ptr<Session> s;
    try {
        s = openSession(path, true);
    } catch (const std::bad_alloc&) {
        out.status = JpegStatus::NoMemory;
        return out;
    }
    if (!s)
        return out;
    auto image = std::make_unique<QImage>();
    jpeg_verdict verdict = JPEG_CUT;
    if (decodeInto(*s, denominator, *image, verdict)) {
        out.image = std::move(*image);
        out.status = verdict == JPEG_WHOLE ? JpegStatus::Decoded : JpegStatus::Damaged;
        out.cut = verdict == JPEG_CUT;
    } else if (s->err.cut) {
        out.status = JpegStatus::Cut;
    } else if (s->err.tooLarge) {
        out.status = JpegStatus::TooLarge;
        out.coefficientBytes = s->err.tooLarge;
    } else if (s->err.tooManyScans) {
        out.status = JpegStatus::TooManyScans;
    } else if (s->err.tooLittleData) {
        out.status = JpegStatus::TooLittleData;
    } else if (s->err.noMemory) {
        out.status = JpegStatus::NoMemory;
    }
    return out;
}

int64_t jpegCoefficientBytes(const QString& path)
{
    const std::unique_ptr<Session> s = openSession(path, false);
    return s ? coefficientBytesOf(*s) : 0;
}

} // namespace imaging
