/* A thin C layer over libjpeg. libjpeg reports fatal errors by a long jump;
 * keeping every libjpeg call in C lets that jump stay inside this file, so it
 * never crosses a C++ frame. Each function returns 0 on success and fills
 * message (never more than message_size bytes) on failure. Warnings are
 * counted, never shown; whether the data are whole is the shared rule's to say. */
#ifndef VUM_JPEG_SHIM_H
#define VUM_JPEG_SHIM_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct vum_jpeg_info {
    unsigned width;
    unsigned height;
    int components;      /* 1, 3 or 4 */
    int adobe_inverted;  /* 4 components with an Adobe marker: the values are stored inverted */
    int progressive;
    int arithmetic;      /* arithmetic-coded rather than Huffman-coded */
    size_t scan_offset;  /* where the first scan's data begin */
} vum_jpeg_info;

typedef struct vum_jpeg_result {
    int warnings;        /* warnings libjpeg raised */
    int verdict;         /* whole, cut or corrupt: a jpeg_verdict (jpeg/JpegVerdict.h) */
} vum_jpeg_result;

/* Reads the header only. */
int vum_jpeg_read_info(const unsigned char* data, size_t size, vum_jpeg_info* info,
                       char* message, size_t message_size);

/* Decodes to grey (1 component), RGB (3) or CMYK as stored (4), rows of
 * stride bytes; out must hold stride * height bytes. max_memory bounds
 * libjpeg's own working memory. With out NULL the data are only read through,
 * to fill the result: no rows are kept. Decoding stops where the data are
 * found to run out; the verdict is the shared rule's. */
int vum_jpeg_decode(const unsigned char* data, size_t size, unsigned char* out, size_t stride,
                    size_t out_size, long max_memory, vum_jpeg_result* result,
                    char* message, size_t message_size);

/* Encodes tightly packed RGB rows as a baseline JPEG; *out is malloc'ed and
 * freed with vum_jpeg_free. */
int vum_jpeg_encode_rgb(const unsigned char* rgb, unsigned width, unsigned height, int quality,
                        unsigned char** out, unsigned long* out_size, char* message, size_t message_size);

void vum_jpeg_free(unsigned char* buffer);

/* One strip of a TIFF file stored as a complete JPEG stream, with an optional
 * shared tables stream. The header is checked against what the strip must be
 * before any line is written. */
typedef struct vum_jpeg_strip {
    const unsigned char* tables;  /* NULL when the file has none */
    size_t tables_size;
    const unsigned char* data;
    size_t size;
    unsigned width, height;       /* expected size */
    int components;               /* expected component count */
    int precision;                /* expected bits per sample */
    int h_sampling, v_sampling;   /* expected factors of the first component */
    int ycbcr;                    /* the data are YCbCr: convert them to RGB */
    unsigned char* out;
    size_t line_length;           /* bytes of one output line */
    size_t lines;                 /* lines wanted */
} vum_jpeg_strip;

enum {
    VUM_STRIP_OK = 0,
    VUM_STRIP_JPEG_ERROR = -1,
    VUM_STRIP_BAD_TABLES = 1,
    VUM_STRIP_BAD_SIZE,
    VUM_STRIP_BAD_COMPONENTS,
    VUM_STRIP_BAD_PRECISION,
    VUM_STRIP_BAD_SAMPLING,
    VUM_STRIP_CUT                 /* the shared rule (jpeg/JpegVerdict.h) calls the strip cut */
};

/* Returns one of the codes above; lines_read tells how many lines came whole
 * (none of a cut strip). Corrupt codes in a strip that has all its data
 * decode as libjpeg mends them. */
int vum_jpeg_decode_strip(const vum_jpeg_strip* strip, size_t* lines_read, int* warnings,
                          char* message, size_t message_size);

#ifdef __cplusplus
}
#endif

#endif
