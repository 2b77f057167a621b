#include "imaging/decoders/JpegShim.h"

#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <jpeglib.h>
#include <jerror.h>

#include "jpeg/JpegVerdict.h"

struct shim_error {
    struct jpeg_error_mgr mgr;
    jmp_buf jump;
    int warnings;
    int too_many_scans;
    jpeg_watch watch;    /* what tells whole from cut */
};

/* Real progressive files have a few tens of scans at most; a file of many
 * tiny scans would make the decoder walk the whole picture for each. */
#define SHIM_MAX_SCANS 100

/* Called before each step of input, when the current scan's header is read. */
static void shim_watch_scans(j_common_ptr cinfo)
{
    struct shim_error* err = (struct shim_error*)cinfo->err;
    j_decompress_ptr dinfo = (j_decompress_ptr)cinfo;
    if (!cinfo->is_decompressor)
        return;
    if (dinfo->input_scan_number > SHIM_MAX_SCANS) {
        err->too_many_scans = 1;
        longjmp(err->jump, 1);
    }
    jpeg_watch_scan(&err->watch, dinfo);
}

static void shim_error_exit(j_common_ptr cinfo)
{
    struct shim_error* err = (struct shim_error*)cinfo->err;
    longjmp(err->jump, 1);
}

static void shim_emit_message(j_common_ptr cinfo, int level)
{
    struct shim_error* err = (struct shim_error*)cinfo->err;
    if (level < 0) {
        err->warnings++;
        jpeg_watch_warning(&err->watch, err->mgr.msg_code);
    }
}

static void shim_output_message(j_common_ptr cinfo)
{
    (void)cinfo;
}

static void shim_setup(struct shim_error* err)
{
    jpeg_std_error(&err->mgr);
    err->mgr.error_exit = shim_error_exit;
    err->mgr.emit_message = shim_emit_message;
    err->mgr.output_message = shim_output_message;
    err->warnings = 0;
    err->too_many_scans = 0;
    jpeg_watch_start(&err->watch);
}

static void shim_watch(j_decompress_ptr cinfo, struct jpeg_progress_mgr* progress)
{
    memset(progress, 0, sizeof *progress);
    progress->progress_monitor = shim_watch_scans;
    cinfo->progress = progress;
}

/* Where the rows read go: the first `wanted` into lines `stride` bytes apart
 * from `out`, each cut to a line when it is longer; the rest are read and
 * dropped. */
struct shim_rows {
    unsigned char* out;
    size_t stride;
    size_t wanted;
};

/* Reads every row after jpeg_start_decompress, so that the rule sees all of
 * the data, then reads on to the end-of-image marker, which a file may lack.
 * libjpeg goes on past data that end early with zero coefficients (grey or
 * blurred rows): that ends the reading, and a row read after it is not kept.
 * A file of several scans is read whole by jpeg_start_decompress already.
 * Returns how many rows were kept; the verdict is then the watch's. */
static size_t read_rows(j_decompress_ptr cinfo, struct shim_error* err, const struct shim_rows* rows)
{
    const size_t row_size = (size_t)cinfo->output_width * cinfo->output_components;
    const size_t copy = row_size < rows->stride ? row_size : rows->stride;
    /* A row longer than its line, and every row not kept, is read aside. */
    JSAMPROW aside = (*cinfo->mem->alloc_sarray)((j_common_ptr)cinfo, JPOOL_IMAGE,
                                                 (JDIMENSION)(row_size ? row_size : 1), 1)[0];
    size_t kept = 0;
    while (!jpeg_watch_data_ran_out(&err->watch) && cinfo->output_scanline < cinfo->output_height) {
        unsigned char* line = kept < rows->wanted ? rows->out + kept * rows->stride : NULL;
        JSAMPROW row = line && row_size <= rows->stride ? line : aside;
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1 || jpeg_watch_data_ran_out(&err->watch))
            break;
        if (line && row == aside)
            memcpy(line, aside, copy);
        if (line)
            ++kept;
    }
    jpeg_watch_rows_read(&err->watch, cinfo);
    if (!err->watch.rows_missing && !jpeg_watch_data_ran_out(&err->watch))
        jpeg_finish_decompress(cinfo);
    return kept;
}

static void shim_message(j_common_ptr cinfo, char* message, size_t message_size)
{
    char text[JMSG_LENGTH_MAX];
    if (((struct shim_error*)cinfo->err)->too_many_scans)
        snprintf(text, sizeof text, "the picture has more than %d scans", SHIM_MAX_SCANS);
    else
        cinfo->err->format_message(cinfo, text);
    if (message && message_size) {
        strncpy(message, text, message_size - 1);
        message[message_size - 1] = 0;
    }
}

int vum_jpeg_read_info(const unsigned char* data, size_t size, vum_jpeg_info* info,
                       char* message, size_t message_size)
{
    struct jpeg_decompress_struct cinfo;
    struct shim_error err;
    memset(info, 0, sizeof *info);
    cinfo.err = jpeg_std_error(&err.mgr);
    shim_setup(&err);
    if (setjmp(err.jump)) {
        shim_message((j_common_ptr)&cinfo, message, message_size);
        jpeg_destroy_decompress(&cinfo);
        return -1;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, (unsigned long)size);
    jpeg_read_header(&cinfo, TRUE);
    info->width = cinfo.image_width;
    info->height = cinfo.image_height;
    info->components = cinfo.num_components;
    info->adobe_inverted = cinfo.num_components == 4 && cinfo.saw_Adobe_marker;
    info->progressive = cinfo.progressive_mode;
    info->arithmetic = cinfo.arith_code;
    info->scan_offset = size - cinfo.src->bytes_in_buffer;
    jpeg_destroy_decompress(&cinfo);
    return 0;
}

int vum_jpeg_decode(const unsigned char* data, size_t size, unsigned char* out, size_t stride,
                    size_t out_size, long max_memory, vum_jpeg_result* result,
                    char* message, size_t message_size)
{
    struct jpeg_decompress_struct cinfo;
    struct shim_error err;
    struct jpeg_progress_mgr progress;
    memset(result, 0, sizeof *result);
    cinfo.err = jpeg_std_error(&err.mgr);
    shim_setup(&err);
    if (setjmp(err.jump)) {
        shim_message((j_common_ptr)&cinfo, message, message_size);
        jpeg_destroy_decompress(&cinfo);
        return -1;
    }
    jpeg_create_decompress(&cinfo);
    shim_watch(&cinfo, &progress);
    cinfo.mem->max_memory_to_use = max_memory;
    jpeg_mem_src(&cinfo, data, (unsigned long)size);
    jpeg_read_header(&cinfo, TRUE);
    if (cinfo.num_components == 1)
        cinfo.out_color_space = JCS_GRAYSCALE;
    else if (cinfo.num_components == 3)
        cinfo.out_color_space = JCS_RGB;
    else if (cinfo.num_components == 4)
        cinfo.out_color_space = JCS_CMYK;
    else
        ERREXIT(&cinfo, JERR_BAD_J_COLORSPACE);
    if (!out) {
        /* Reading through: the scans are decoded whole, but an eighth of the
         * picture is enough output. */
        cinfo.scale_num = 1;
        cinfo.scale_denom = 8;
    }
    jpeg_start_decompress(&cinfo);
    if (out && ((size_t)cinfo.output_width * cinfo.output_components > stride ||
                (size_t)cinfo.output_height * stride > out_size))
        ERREXIT(&cinfo, JERR_BUFFER_SIZE);
    {
        struct shim_rows rows;
        rows.out = out;
        rows.stride = stride;
        rows.wanted = out ? cinfo.output_height : 0;
        read_rows(&cinfo, &err, &rows);
    }
    result->warnings = err.warnings;
    result->verdict = jpeg_watch_verdict(&err.watch);
    jpeg_destroy_decompress(&cinfo);
    return 0;
}

int vum_jpeg_encode_rgb(const unsigned char* rgb, unsigned width, unsigned height, int quality,
                        unsigned char** out, unsigned long* out_size, char* message, size_t message_size)
{
    struct jpeg_compress_struct cinfo;
    struct shim_error err;
    *out = NULL;
    *out_size = 0;
    cinfo.err = jpeg_std_error(&err.mgr);
    shim_setup(&err);
    if (setjmp(err.jump)) {
        shim_message((j_common_ptr)&cinfo, message, message_size);
        jpeg_destroy_compress(&cinfo);
        free(*out);
        *out = NULL;
        return -1;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, out, out_size);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = (JSAMPROW)(rgb + (size_t)cinfo.next_scanline * width * 3);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return 0;
}

void vum_jpeg_free(unsigned char* buffer)
{
    free(buffer);
}

static int strip_checks(const struct jpeg_decompress_struct* cinfo, const vum_jpeg_strip* strip)
{
    int i;
    if (cinfo->image_width != strip->width || cinfo->image_height != strip->height)
        return VUM_STRIP_BAD_SIZE;
    if (cinfo->num_components != strip->components)
        return VUM_STRIP_BAD_COMPONENTS;
    if (cinfo->data_precision != strip->precision)
        return VUM_STRIP_BAD_PRECISION;
    for (i = 0; i < cinfo->num_components; ++i) {
        int h = i == 0 ? strip->h_sampling : 1, v = i == 0 ? strip->v_sampling : 1;
        if (cinfo->comp_info[i].h_samp_factor != h || cinfo->comp_info[i].v_samp_factor != v)
            return VUM_STRIP_BAD_SAMPLING;
    }
    return VUM_STRIP_OK;
}

int vum_jpeg_decode_strip(const vum_jpeg_strip* strip, size_t* lines_read, int* warnings,
                          char* message, size_t message_size)
{
    struct jpeg_decompress_struct cinfo;
    struct shim_error err;
    struct jpeg_progress_mgr progress;
    volatile int reading_tables = 0;
    int code;
    *lines_read = 0;
    *warnings = 0;
    cinfo.err = jpeg_std_error(&err.mgr);
    shim_setup(&err);
    if (setjmp(err.jump)) {
        shim_message((j_common_ptr)&cinfo, message, message_size);
        *warnings = err.warnings;
        jpeg_destroy_decompress(&cinfo);
        return reading_tables ? VUM_STRIP_BAD_TABLES : VUM_STRIP_JPEG_ERROR;
    }
    jpeg_create_decompress(&cinfo);
    shim_watch(&cinfo, &progress);
    if (strip->tables) {
        reading_tables = 1;
        jpeg_mem_src(&cinfo, strip->tables, (unsigned long)strip->tables_size);
        if (jpeg_read_header(&cinfo, FALSE) != JPEG_HEADER_TABLES_ONLY) {
            jpeg_destroy_decompress(&cinfo);
            return VUM_STRIP_BAD_TABLES;
        }
        reading_tables = 0;
    }
    jpeg_mem_src(&cinfo, strip->data, (unsigned long)strip->size);
    jpeg_read_header(&cinfo, TRUE);
    code = strip_checks(&cinfo, strip);
    if (code != VUM_STRIP_OK) {
        jpeg_destroy_decompress(&cinfo);
        return code;
    }
    /* YCbCr data become RGB; anything else comes out as stored. */
    cinfo.jpeg_color_space = strip->ycbcr ? JCS_YCbCr : JCS_UNKNOWN;
    cinfo.out_color_space = strip->ycbcr ? JCS_RGB : JCS_UNKNOWN;
    cinfo.raw_data_out = FALSE;
    jpeg_start_decompress(&cinfo);
    {
        struct shim_rows rows;
        rows.out = strip->out;
        rows.stride = strip->line_length;
        rows.wanted = strip->lines;
        *lines_read = read_rows(&cinfo, &err, &rows);
    }
    *warnings = err.warnings;
    jpeg_abort_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    /* A strip the rule calls cut has no line to trust: what came before its
     * data ran out is there, but a scan that never came is missing from every
     * line. */
    if (jpeg_watch_verdict(&err.watch) == JPEG_CUT) {
        *lines_read = 0;
        return VUM_STRIP_CUT;
    }
    return VUM_STRIP_OK;
}
