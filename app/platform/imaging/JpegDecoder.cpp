#include "platform/imaging/JpegDecoder.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jpeglib.h>

#include "platform/imaging/PictureReader.h"

namespace imaging {

namespace {

struct ErrorJump {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

[[noreturn]] void leave(j_common_ptr c)
{
    std::longjmp(reinterpret_cast<ErrorJump*>(c->err)->jump, 1);
}

void quiet(j_common_ptr) {}

// The parts a longjmp skips over hold no C++ objects: everything that needs
// cleaning up lives in this record, made before the jump target.
struct Session {
    jpeg_decompress_struct cinfo {};
    ErrorJump err {};
    FILE* file = nullptr;
    bool created = false;
    ~Session()
    {
        if (created)
            jpeg_destroy_decompress(&cinfo);
        if (file)
            std::fclose(file);
    }
};

bool decodeInto(Session& s, int denominator, QImage& image)
{
    if (setjmp(s.err.jump))
        return false;
    jpeg_create_decompress(&s.cinfo);
    s.created = true;
    jpeg_stdio_src(&s.cinfo, s.file);
    jpeg_read_header(&s.cinfo, TRUE);
    const J_COLOR_SPACE in = s.cinfo.jpeg_color_space;
    if (in != JCS_YCbCr && in != JCS_GRAYSCALE && in != JCS_RGB)
        return false;
    s.cinfo.out_color_space = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRA : JCS_EXT_ARGB;
    s.cinfo.scale_num = 1;
    s.cinfo.scale_denom = unsigned(denominator);
    s.cinfo.dct_method = JDCT_ISLOW;
    s.cinfo.do_fancy_upsampling = TRUE;
    jpeg_calc_output_dimensions(&s.cinfo);
    const int64_t w = s.cinfo.output_width, h = s.cinfo.output_height;
    if (w <= 0 || h <= 0 || w * h > kMaxPicturePixels)
        return false;
    image = QImage(int(w), int(h), kPictureFormat);
    if (image.isNull())
        return false;
    jpeg_start_decompress(&s.cinfo);
    while (s.cinfo.output_scanline < s.cinfo.output_height) {
        JSAMPROW row = image.scanLine(int(s.cinfo.output_scanline));
        if (jpeg_read_scanlines(&s.cinfo, &row, 1) != 1)
            return false;
    }
    jpeg_finish_decompress(&s.cinfo);
    return true;
}

} // namespace

QImage decodeJpegScaled(const QString& path, int denominator)
{
    if (denominator != 1 && denominator != 2 && denominator != 4 && denominator != 8)
        return {};
    auto s = std::make_unique<Session>();
    s->file = std::fopen(QFile::encodeName(path).constData(), "rb");
    if (!s->file)
        return {};
    s->cinfo.err = jpeg_std_error(&s->err.mgr);
    s->err.mgr.error_exit = leave;
    s->err.mgr.output_message = quiet;
    auto image = std::make_unique<QImage>();
    if (!decodeInto(*s, denominator, *image))
        return {};
    return std::move(*image);
}

} // namespace imaging
