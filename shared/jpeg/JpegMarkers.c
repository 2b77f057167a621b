#include "jpeg/JpegMarkers.h"

#include <string.h>

static int is_restart(unsigned char code)
{
    return code >= 0xD0 && code <= 0xD7;
}

/* Markers without a length field: restarts, TEM, and a start or end of image
 * (one out of place is the decoder's to refuse in its turn). */
static int stands_alone(unsigned char code)
{
    return is_restart(code) || code == 0x01 || code == 0xD8 || code == JPEG_MARKER_EOI;
}

/* The offset of the next marker's code byte at or after `at`, past the fill
 * bytes before it; `size` when the data end first. */
static size_t next_code(const unsigned char* data, size_t size, size_t at, int in_scan)
{
    while (at < size) {
        const unsigned char* ff = memchr(data + at, 0xFF, size - at);
        size_t code;
        if (!ff)
            return size;
        code = (size_t)(ff - data) + 1;
        while (code < size && data[code] == 0xFF)
            ++code;
        if (code >= size)
            return size;
        if (data[code] != 0x00 && !(in_scan && is_restart(data[code])))
            return code;
        at = code + 1;
    }
    return size;
}

int jpeg_next_marker(const unsigned char* data, size_t size, size_t from, int in_scan, jpeg_marker* marker)
{
    const size_t code = next_code(data, size, from, in_scan);
    size_t length;
    if (code >= size)
        return 0;
    marker->code = data[code];
    marker->at = code - 1;
    if (stands_alone(marker->code)) {
        marker->end = code + 1;
        marker->whole = 1;
        return 1;
    }
    if (size - code < 3) {
        marker->end = size;
        marker->whole = 0;
        return 1;
    }
    /* A length below its own two bytes skips nothing more, as in libjpeg. */
    length = (size_t)data[code + 1] << 8 | data[code + 2];
    if (length < 2)
        length = 2;
    marker->whole = size - code - 1 >= length;
    marker->end = marker->whole ? code + 1 + length : size;
    return 1;
}

jpeg_end jpeg_find_end(const unsigned char* data, size_t size, size_t scan_start)
{
    jpeg_end end;
    jpeg_marker marker;
    int in_scan = 1;
    size_t at = scan_start < size ? scan_start : size;
    end.closed = 0;
    end.data_end = size;
    while (jpeg_next_marker(data, size, at, in_scan, &marker)) {
        if (marker.code == JPEG_MARKER_EOI) {
            end.closed = 1;
            end.data_end = marker.end;
            return end;
        }
        /* A segment the file ends inside is not the picture's: what a decoder
         * reads of it is made up. */
        if (!marker.whole) {
            end.data_end = marker.at;
            return end;
        }
        at = marker.end;
        in_scan = marker.code == JPEG_MARKER_SOS;
    }
    return end;
}
