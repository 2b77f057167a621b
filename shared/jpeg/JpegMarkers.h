/* Walking the markers of a JPEG file as a decoder meets them, never by
 * searching the bytes: a comment, an APP segment or an embedded thumbnail may
 * hold the bytes FF D9 (or FF DA) without being a marker. The library's
 * reader and the program's decoder both find where a file's data end this
 * way, before anything is decoded. */
#ifndef JPEG_MARKERS_H
#define JPEG_MARKERS_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#define JPEG_MARKER_SOS 0xDA  /* start of scan */
#define JPEG_MARKER_EOI 0xD9  /* end of image */

/* A marker met on the walk, and the stretch of the file it heads. */
typedef struct jpeg_marker {
    unsigned char code;  /* the byte after FF */
    size_t at;           /* the FF just before the code (any fill bytes FF come before it) */
    /* Past what the marker heads: just past the code for a marker without a
     * length field (restarts, TEM, start and end of image), else past the
     * bytes its length field counts. A scan's entropy-coded data come after
     * its header and are not counted. */
    size_t end;
    int whole;           /* the file holds all of it: its length field and what that counts */
} jpeg_marker;

/* The first marker at or after `from`: 1, with *marker filled, or 0 when the
 * data end first. With in_scan, `from` lies in a scan's entropy-coded data,
 * where FF 00 is a stuffed byte and FF D0-D7 restart markers belong to the
 * data. Between segments stray bytes are passed over up to the next marker,
 * as libjpeg does; FF FF is fill before a marker. */
int jpeg_next_marker(const unsigned char* data, size_t size, size_t from, int in_scan, jpeg_marker* marker);

/* Where the data of a JPEG file end. */
typedef struct jpeg_end {
    int closed;       /* an end-of-image marker comes after the scans */
    /* Closed: just past that marker (bytes after it are not the picture's).
     * Open: where an end-of-image marker would close the data, that is the
     * end of the file, or the start of a segment the file ends inside. */
    size_t data_end;
} jpeg_end;

/* Walks from scan_start, where the first scan's entropy-coded data begin:
 * segments after a scan (tables, comments, APP segments, the header of a
 * further scan) are skipped by their length fields, and a further scan's
 * data walked in turn, up to an end-of-image marker or the end of the file. */
jpeg_end jpeg_find_end(const unsigned char* data, size_t size, size_t scan_start);

#ifdef __cplusplus
}
#endif

#endif
