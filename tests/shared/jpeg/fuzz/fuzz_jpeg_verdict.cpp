// Feeds arbitrary bytes through libjpeg with the shared rule watching, as
// the library's reader and the program's decoder both do: the rule may say
// anything, never crash, and never depend on the size the picture is decoded
// at (the program decodes at 1/1 to 1/8, the library at 1/1 and reads through
// at 1/8, and they must agree).
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "SmallJpeg.h"
#include "jpeg/JpegVerdict.h"

namespace {

constexpr int kMaxScans = 100;

struct Judge {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    jpeg_watch watch;
};

Judge& judgeOf(j_common_ptr c)
{
    return *reinterpret_cast<Judge*>(c->err);
}

[[noreturn]] void leave(j_common_ptr c)
{
    std::longjmp(judgeOf(c).jump, 1);
}

void warn(j_common_ptr c, int level)
{
    if (level < 0)
        jpeg_watch_warning(&judgeOf(c).watch, c->err->msg_code);
}

void quiet(j_common_ptr) {}

void watchScans(j_common_ptr c)
{
    const auto d = reinterpret_cast<j_decompress_ptr>(c);
    if (d->input_scan_number > kMaxScans)
        std::longjmp(judgeOf(c).jump, 1);
    jpeg_watch_scan(&judgeOf(c).watch, d);
}

struct Session {
    jpeg_decompress_struct cinfo {};
    Judge judge {};
    jpeg_progress_mgr progress {};
    ~Session() { jpeg_destroy_decompress(&cinfo); }
};

// The verdict at 1/`denominator`, or -1 where libjpeg gives up.
int judged(const std::vector<uint8_t>& bytes, unsigned denominator)
{
    Session s;
    s.cinfo.err = jpeg_std_error(&s.judge.mgr);
    s.judge.mgr.error_exit = leave;
    s.judge.mgr.emit_message = warn;
    s.judge.mgr.output_message = quiet;
    s.progress.progress_monitor = watchScans;
    jpeg_watch_start(&s.judge.watch);
    jpeg_create_decompress(&s.cinfo);
    if (setjmp(s.judge.jump))
        return -1;
    s.cinfo.progress = &s.progress;
    s.cinfo.mem->max_memory_to_use = 64L << 20;
    jpeg_mem_src(&s.cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&s.cinfo, TRUE);
    s.cinfo.scale_num = 1;
    s.cinfo.scale_denom = denominator;
    jpeg_start_decompress(&s.cinfo);
    JSAMPARRAY row = (*s.cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&s.cinfo), JPOOL_IMAGE,
                                                  s.cinfo.output_width * s.cinfo.output_components, 1);
    while (!jpeg_watch_data_ran_out(&s.judge.watch) && s.cinfo.output_scanline < s.cinfo.output_height)
        if (jpeg_read_scanlines(&s.cinfo, row, 1) != 1)
            break;
    jpeg_watch_rows_read(&s.judge.watch, &s.cinfo);
    if (!s.judge.watch.rows_missing && !jpeg_watch_data_ran_out(&s.judge.watch))
        jpeg_finish_decompress(&s.cinfo);
    return jpeg_watch_verdict(&s.judge.watch);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes = smalljpeg::withSmallFrame(data, size);
    const int whole = judged(bytes, 1), eighth = judged(bytes, 8);
    if (whole >= 0 && eighth >= 0 && whole != eighth) {
        std::fprintf(stderr, "the verdict is %d at full size, %d at 1/8\n", whole, eighth);
        std::abort();
    }
    return 0;
}
