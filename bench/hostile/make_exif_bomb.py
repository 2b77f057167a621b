#!/usr/bin/env python3
"""Writes a JPEG whose EXIF block claims thousands of huge values: entries whose
data lie far outside the block (in the picture data behind it), entries whose
values fill the block, and a directory placed behind the block.
Arguments: a plain JPEG to carry it, the output path."""
import struct
import sys

plain = open(sys.argv[1], 'rb').read()
assert plain[:2] == b'\xff\xd8'
entries = []
count = 4000
# Block layout: "Exif\0\0", TIFF header (8), IFD0 at 8: count, entries, next.
ifd_size = 2 + 12 * count + 4
data_at = 8 + ifd_size
fill = b'\x7f' * 8000
for i in range(count):
    if i % 2:
        # 600000 bytes starting inside the block, running through the picture data
        entries.append(struct.pack('<HHII', 0x9000 + i % 4096, 1, 600000, 16))
    else:
        entries.append(struct.pack('<HHII', 0x9000 + i % 4096, 3, 8000, data_at))
next_dir = 60000  # behind the block, inside the file
tiff = b'II' + struct.pack('<HI', 42, 8) + struct.pack('<H', count) + b''.join(entries) + \
    struct.pack('<I', next_dir) + fill
body = b'Exif\0\0' + tiff
assert len(body) + 2 < 65536
app1 = b'\xff\xe1' + struct.pack('>H', len(body) + 2) + body
out = plain[:2] + app1 + plain[2:]
open(sys.argv[2], 'wb').write(out)
