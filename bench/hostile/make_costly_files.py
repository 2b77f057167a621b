#!/usr/bin/env python3
"""Writes small picture files whose headers make a reader do far more work than
their bytes can describe, and honest run-length bitmaps that pass pixels over.
Arguments: the folder for the costly files, the folder for the honest ones.

  rla-rows-at-header.rla   64 KB, 16000 x 16000, every row offset at the header
  bmp-rle-ends-at-once.bmp 120 bytes, RLE8 16384 x 16384, end of bitmap at once
  bmp-rle-cut-off.bmp      118 bytes, RLE8 16384 x 16384, no codes at all
  tiff-shared-strip.tif    180 KB, RGB 16384 x 16384, 16384 strips on one deflate row
  sgi-shared-run.sgi       394 KB, RGB 16384 x 16384, every row on one run-length row
honest:
  bmp-rle-delta-skips.bmp  RLE8 4000 x 4000: a run at the bottom, deltas up to the top row, a run there
  bmp-rle-ends-early.bmp   RLE8 1000 x 1000: one row of runs, then end of bitmap
"""
import os
import struct
import sys
import zlib

folder, honest = sys.argv[1], sys.argv[2]


def write(name, data, into=None):
    with open(os.path.join(into or folder, name), 'wb') as f:
        f.write(data)


def rla():
    size = 16000
    h = bytearray(740)
    window = struct.pack('>4h', 0, size - 1, 0, size - 1)
    h[0:8] = window
    h[8:16] = window
    h[16:28] = struct.pack('>6H', 1, 0, 3, 0, 0, 0xFFFE)
    h[28:31] = b'1.0'
    h[580:583] = b'rgb'
    h[658:660] = struct.pack('>H', 8)
    return bytes(h) + struct.pack('>I', 0) * size


def bmp_rle(size, codes):
    colors = 16
    palette = b''.join(struct.pack('<4B', i * 16, i * 16, i * 16, 0) for i in range(colors))
    bits_at = 14 + 40 + len(palette)
    info = struct.pack('<IiiHHIIiiII', 40, size, size, 1, 8, 1, len(codes), 2835, 2835, colors, 0)
    return b'BM' + struct.pack('<IHHI', bits_at + len(codes), 0, 0, bits_at) + info + palette + codes


def tiff_shared_strip():
    size = 16384
    row = zlib.compress(bytes(size * 3), 9)
    strips = size
    data_at = 8
    ifd_at = data_at + len(row)
    entries = [
        (256, 4, 1, size), (257, 4, 1, size), (258, 3, 3, None), (259, 3, 1, 8), (262, 3, 1, 2),
        (273, 4, strips, None), (277, 3, 1, 3), (278, 4, 1, 1), (279, 4, strips, None),
    ]
    extra_at = ifd_at + 2 + 12 * len(entries) + 4
    extra = b''
    directory = struct.pack('<H', len(entries))
    for tag, kind, count, value in entries:
        if value is not None:
            field = struct.pack('<H', value) + b'\0\0' if kind == 3 else struct.pack('<I', value)
        else:
            field = struct.pack('<I', extra_at + len(extra))
            if tag == 258:
                extra += struct.pack('<3H', 8, 8, 8)
            elif tag == 273:
                extra += struct.pack('<I', data_at) * strips
            else:
                extra += struct.pack('<I', len(row)) * strips
        directory += struct.pack('<HHI', tag, kind, count) + field
    return b'II' + struct.pack('<HI', 42, ifd_at) + row + directory + struct.pack('<I', 0) + extra


def sgi_shared_run():
    width = height = 16384
    channels = 3
    header = struct.pack('>HBBHHHH', 474, 1, 1, 3, width, height, channels)
    header += bytes(512 - len(header))
    rows = height * channels
    row_at = 512 + 8 * rows
    packets = b''
    left = width
    while left:
        n = min(left, 127)
        packets += bytes([n, 0x40])
        left -= n
    packets += b'\0'
    return header + struct.pack('>I', row_at) * rows + struct.pack('>I', len(packets)) * rows + packets


write('rla-rows-at-header.rla', rla())
write('bmp-rle-ends-at-once.bmp', bmp_rle(16384, b'\0\1'))
write('bmp-rle-cut-off.bmp', bmp_rle(16384, b''))
write('tiff-shared-strip.tif', tiff_shared_strip())
write('sgi-shared-run.sgi', sgi_shared_run())


def runs(width, index):
    out = b''
    while width:
        n = min(width, 255)
        out += bytes([n, index])
        width -= n
    return out


skips = runs(4000, 3) + b'\0\0'
for _ in range(3998 // 255):
    skips += b'\0\2\0' + bytes([255])
skips += b'\0\2\0' + bytes([3998 % 255]) + runs(4000, 5) + b'\0\1'
write('bmp-rle-delta-skips.bmp', bmp_rle(4000, skips), honest)
write('bmp-rle-ends-early.bmp', bmp_rle(1000, runs(1000, 7) + b'\0\1'), honest)
