#!/usr/bin/env python3
"""Stacks a run-length bitmap (RLE8 or RLE4) on itself: the codes of its rows,
each row closed by its end-of-line code as ImageMagick writes them, repeated
`times` over, then the end of the bitmap. ImageMagick's pixel cache cannot hold
a picture of 100 megapixels; a band of it can, and the stacked file has the
codes ImageMagick wrote, row for row. Arguments: the bitmap, times, the file to write."""
import struct
import sys

data = open(sys.argv[1], 'rb').read()
times = int(sys.argv[2])
offset = struct.unpack_from('<I', data, 10)[0]
size, width, height, planes, bits, compression, image = struct.unpack_from('<IiiHHII', data, 14)
if compression not in (1, 2) or height <= 0:
    sys.exit('stack_bitmap_bands: only bottom-up RLE8 or RLE4 bitmaps')
codes = data[offset:offset + image] if image else data[offset:]
if codes[-4:] != b'\0\0\0\1':
    sys.exit('stack_bitmap_bands: the codes must end with an end-of-line and the end of the bitmap')
stacked = codes[:-2] * times + b'\0\1'
header = bytearray(data[:offset])
struct.pack_into('<I', header, 2, offset + len(stacked))
struct.pack_into('<i', header, 22, height * times)
struct.pack_into('<I', header, 34, len(stacked))
open(sys.argv[3], 'wb').write(bytes(header) + stacked)
