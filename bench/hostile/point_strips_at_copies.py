#!/usr/bin/env python3
"""Points every strip of a little-endian TIFF whose packed bytes repeat an
earlier strip's at that strip's data, as writers that store identical strips
once do. Arguments: the TIFF file, the file to write."""
import struct
import sys

data = bytearray(open(sys.argv[1], 'rb').read())
if data[:2] != b'II':
    sys.exit('point_strips_at_copies: only little-endian files')
ifd = struct.unpack_from('<I', data, 4)[0]
arrays = {}
for k in range(struct.unpack_from('<H', data, ifd)[0]):
    at = ifd + 2 + 12 * k
    tag, kind, count, value = struct.unpack_from('<HHII', data, at)
    if tag in (273, 279):
        width = 2 if kind == 3 else 4
        where = at + 8 if width * count <= 4 else value
        arrays[tag] = (where, width, [struct.unpack_from('<H' if width == 2 else '<I', data, where + i * width)[0]
                                      for i in range(count)])
offsets_at, width, offsets = arrays[273]
counts = arrays[279][2]
first = {}
for strip, (offset, count) in enumerate(zip(offsets, counts)):
    copy = first.setdefault(bytes(data[offset:offset + count]), offset)
    struct.pack_into('<H' if width == 2 else '<I', data, offsets_at + strip * width, copy)
open(sys.argv[2], 'wb').write(data)
