#include "jpeg/JpegVerdict.h"

#include <string.h>

#include <jerror.h>

int jpeg_cut_before_decoding(int arithmetic, const jpeg_end* end)
{
    return arithmetic && !end->closed;
}

void jpeg_watch_start(jpeg_watch* watch)
{
    memset(watch, 0, sizeof *watch);
}

void jpeg_watch_warning(jpeg_watch* watch, int msg_code)
{
    switch (msg_code) {
    case JWRN_JPEG_EOF:
        watch->end_supplied = 1;
        break;
    case JWRN_HIT_MARKER:  /* the entropy decoder needed bits past a marker */
        watch->ended_in_scan = 1;
        break;
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:         /* a restart marker missing or out of turn */
    case JWRN_BOGUS_PROGRESSION:   /* a refinement of bits that never came, or came twice */
        watch->corrupt = 1;
        break;
    default:  /* bytes skipped between markers, odd JFIF or Adobe fields: the picture is untouched */
        break;
    }
}

/* A progressive scan sends the bits from Ah - 1 down to Al of coefficients
 * Ss to Se: all of them from the top when Ah is 0 (the first pass), else the
 * one bit below what the scans before sent. A refinement whose bits above
 * never came lacks data no encoder leaves out; a bit sent twice is libjpeg's
 * warning of a bogus progression, which tells corrupt codes. */
static void note_bits_sent(jpeg_watch* watch, j_decompress_ptr cinfo)
{
    int i, k;
    if (cinfo->Ss < 0 || cinfo->Se >= DCTSIZE2 || cinfo->Ss > cinfo->Se)
        return;
    for (i = 0; i < cinfo->comps_in_scan && i < MAX_COMPS_IN_SCAN; ++i) {
        const jpeg_component_info* comp = cinfo->cur_comp_info[i];
        if (!comp || comp->component_index < 0 || comp->component_index >= MAX_COMPONENTS)
            continue;
        for (k = cinfo->Ss; k <= cinfo->Se; ++k) {
            unsigned char* sent = &watch->sent_to[comp->component_index][k];
            if (cinfo->Ah != 0 && (*sent == 0 || *sent - 1 > cinfo->Ah))
                watch->pass_missing = 1;
            *sent = (unsigned char)(cinfo->Al + 1);
        }
    }
}

void jpeg_watch_scan(jpeg_watch* watch, j_decompress_ptr cinfo)
{
    int i;
    watch->arithmetic = cinfo->arith_code != 0;
    for (i = 0; i < cinfo->comps_in_scan && i < MAX_COMPS_IN_SCAN; ++i)
        if (cinfo->cur_comp_info[i] && cinfo->cur_comp_info[i]->component_index < 32)
            watch->scanned |= 1u << cinfo->cur_comp_info[i]->component_index;
    /* The monitor is called many times a scan; its bits are counted once. */
    if (cinfo->progressive_mode && cinfo->input_scan_number != watch->last_scan)
        note_bits_sent(watch, cinfo);
    watch->last_scan = cinfo->input_scan_number;
}

/* What a progressive file's scans sent: libjpeg keeps, for each coefficient
 * of each component, -1 while it has never come, else the bits it still
 * lacks. */
static void note_refinement(jpeg_watch* watch, j_decompress_ptr cinfo)
{
    int c, k;
    if (!cinfo->coef_bits) {
        watch->dc_missing = 1;
        watch->unrefined = 1;
        return;
    }
    for (c = 0; c < cinfo->num_components; ++c) {
        if (cinfo->coef_bits[c][0] < 0)
            watch->dc_missing = 1;
        for (k = 0; k < DCTSIZE2; ++k)
            if (cinfo->coef_bits[c][k] != 0)
                watch->unrefined = 1;
    }
}

void jpeg_watch_rows_read(jpeg_watch* watch, j_decompress_ptr cinfo)
{
    watch->read = 1;
    watch->arithmetic = cinfo->arith_code != 0;
    watch->rows_missing = cinfo->output_scanline < cinfo->output_height;
    if (cinfo->progressive_mode) {
        note_refinement(watch, cinfo);
    } else {
        const unsigned all = (1u << cinfo->num_components) - 1;
        watch->unscanned = (watch->scanned & all) != all;
    }
}

int jpeg_watch_data_ran_out(const jpeg_watch* watch)
{
    return watch->ended_in_scan || (watch->arithmetic && watch->end_supplied);
}

jpeg_verdict jpeg_watch_verdict(const jpeg_watch* watch)
{
    if (!watch->read || watch->rows_missing || jpeg_watch_data_ran_out(watch))
        return JPEG_CUT;
    /* What no encoder leaves out, marker or not. */
    if (watch->unscanned || watch->dc_missing || watch->pass_missing)
        return JPEG_CUT;
    /* Without its end marker a file may have lost anything after its last
     * scan; only one that lacks nothing it could hold is whole. */
    if (watch->end_supplied && (watch->arithmetic || watch->unrefined || watch->corrupt))
        return JPEG_CUT;
    return watch->corrupt ? JPEG_CORRUPT : JPEG_WHOLE;
}
