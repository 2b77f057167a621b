/* Whether a JPEG file read through libjpeg was whole, cut or corrupt: one
 * rule for every reader of JPEG files, whatever it then does with the answer.
 *
 * A reader keeps a jpeg_watch beside its decompressor and feeds it what
 * libjpeg tells: every warning (from the error manager's emit_message), the
 * scans as they start (from the progress monitor), and, once the rows are
 * read, what the scans brought. The verdict comes after
 * jpeg_finish_decompress, which reads on to the end-of-image marker, or at
 * once when the reader stops early.
 *
 * The rule. With its end-of-image marker, a file is cut when a scan's data
 * end before its blocks do, when a sequential file never carries one of its
 * components, when a progressive file never sends a component's DC, or when
 * one of its scans refines bits of a coefficient that never came (the first
 * pass of that coefficient, or the refinement before): no encoder writes
 * those. A progressive scan script need not send every AC
 * coefficient nor refine every bit, and a file cut exactly between two such
 * scans and closed with the marker cannot be told from one written so: both
 * are whole. Without the marker the file has to show that nothing is missing:
 * every block decoded, every component scanned, every coefficient of a
 * progressive file refined to its last bit, no warning of damaged data, and
 * not arithmetic-coded (arithmetic decoding reads past its data as zeros
 * without a sign). Corrupt codes in a file that has all its data are corrupt,
 * not cut. */
#ifndef JPEG_VERDICT_H
#define JPEG_VERDICT_H

#include <stdio.h>

#include <jpeglib.h>

#include "jpeg/JpegMarkers.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef enum jpeg_verdict {
    JPEG_WHOLE = 0,   /* every block of the picture came from the data */
    JPEG_CUT,         /* part of the data is missing */
    JPEG_CORRUPT      /* the data are all there, but hold codes that make no sense */
} jpeg_verdict;

typedef struct jpeg_watch {
    unsigned scanned;     /* bit c: some scan carried component c */
    int end_supplied;     /* the data ran out before the end-of-image marker: libjpeg made one up */
    int ended_in_scan;    /* a scan's data ended before its blocks */
    int corrupt;          /* a warning of codes that make no sense */
    int arithmetic;
    int rows_missing;     /* the reader stopped before the last row */
    int unscanned;        /* a sequential file: some component never came in a scan */
    int dc_missing;       /* a progressive file: some component's DC never came */
    int unrefined;        /* a progressive file: some coefficient never came or lacks bits */
    int pass_missing;     /* a progressive file: a scan refined bits of a coefficient that never came */
    int read;             /* jpeg_watch_rows_read was called */
    int last_scan;        /* the scan number jpeg_watch_scan last noted */
    /* A progressive file, per component and coefficient: 0 while no scan has
     * sent it, else 1 + the lowest bit sent so far. libjpeg's own record
     * (coef_bits) takes each scan's word for it, so a refinement without its
     * first pass looks, afterwards, like one with it. */
    unsigned char sent_to[MAX_COMPONENTS][DCTSIZE2];
} jpeg_watch;

/* Before any scan is decoded, from the header and the walk to the end of the
 * data: an arithmetic-coded file without its end marker is cut whatever its
 * scans hold, so nothing of it need be decoded to judge it. */
int jpeg_cut_before_decoding(int arithmetic, const jpeg_end* end);

/* A watch for a new file. */
void jpeg_watch_start(jpeg_watch* watch);

/* Every warning libjpeg emits (emit_message with a level below 0). */
void jpeg_watch_warning(jpeg_watch* watch, int msg_code);

/* From the progress monitor: notes the components of the scan being read and,
 * once a scan, which bits of which coefficients it brings. */
void jpeg_watch_scan(jpeg_watch* watch, j_decompress_ptr cinfo);

/* Once the reader has read the rows it will read, before
 * jpeg_finish_decompress lets go of what the scans refined. A file of several
 * scans is read whole by jpeg_start_decompress already. */
void jpeg_watch_rows_read(jpeg_watch* watch, j_decompress_ptr cinfo);

/* True once the data have run out inside a scan: the rows still to come are
 * grey or blurred, and reading them shows nothing more. */
int jpeg_watch_data_ran_out(const jpeg_watch* watch);

/* The verdict, after jpeg_finish_decompress, or after the reader stopped. */
jpeg_verdict jpeg_watch_verdict(const jpeg_watch* watch);

#ifdef __cplusplus
}
#endif

#endif
