/* A thin C layer over libjpeg. libjpeg reports fatal errors by a long jump;
 * keeping every libjpeg call in C lets that jump stay inside this file, so it
 * never crosses a C++ frame. Each function returns 0 on success and fills
 * message (never more than message_size bytes) on failure. Warnings are
 * counted, never shown. */
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
    size_t scan_offset;  /* where the first scan's data begin */
} vum_jpeg_info;

typedef struct vum_jpeg_result {
    int warnings;        /* warnings libjpeg raised */
    int truncated;       /* the data ended before the end-of-image marker */
} vum_jpeg_result;

/* Reads the header only. */
int vum_jpeg_read_info(const unsigned char* data, size_t size, vum_jpeg_info* info,
                       char* message, size_t message_size);

/* Decodes to grey (1 component), RGB (3) or CMYK as stored (4), rows of
 * stride bytes; out must hold stride * height bytes. max_memory bounds
 * libjpeg's own working memory. */
int vum_jpeg_decode(const unsigned char* data, size_t size, unsigned char* out, size_t stride,
                    size_t out_size, long max_memory, vum_jpeg_result* result,
                    char* message, size_t message_size);

/* Encodes tightly packed RGB rows as a baseline JPEG; *out is malloc'ed and
 * freed with vum_jpeg_free. */
int vum_jpeg_encode_rgb(const unsigned char* rgb, unsigned width, unsigned height, int quality,
                        unsigned char** out, unsigned long* out_size, char* message, size_t message_size);

void vum_jpeg_free(unsigned char* buffer);

#ifdef __cplusplus
}
#endif

#endif
