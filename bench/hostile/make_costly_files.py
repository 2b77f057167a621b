#!/usr/bin/env python3
"""Writes small picture files whose headers make a reader do far more work than
their bytes can describe, and honest run-length bitmaps that pass pixels over.
Arguments: the folder for the costly files, the folder for the honest ones.

  rla-rows-at-header.rla   64 KB, 16000 x 16000, every row offset at the header
  bmp-rle-ends-at-once.bmp 120 bytes, RLE8 16384 x 16384, end of bitmap at once
  bmp-rle-cut-off.bmp      118 bytes, RLE8 16384 x 16384, no codes at all
  bmp-rle8-delta-sprite.bmp 870 bytes, RLE8 15000 x 15000, two pixels every 120 rows, deltas between
  bmp-rle4-delta-sprite.bmp 870 bytes, the same in RLE4
  bmp-rle-end-of-lines.bmp 65 KB, RLE8 16384 x 16384, one pixel and an end of line a row
  tiff-overlapping-strips-600k.tif  4.9 MB, grey 1 x 600000, PackBits, a strip a row, each
                           starting at its own place in one 65 KB run of no-op codes
                           and ending at one literal
  tiff-overlapping-strips-1m.tif    8 MB, the same with 1000000 strips
  bmp-rle-long-runs.bmp    33.5 MB, RLE8 1 x 1, runs of 255 pixels all the way
  jpeg-arithmetic-progressive-open.jpg  198 bytes, cjpeg -arithmetic -progressive of a flat
                           16 x 16 grey picture declaring 22000 x 22000, its end marker gone
  jpeg-arithmetic-comment-open.jpg      128 bytes, cjpeg -arithmetic of the same declaring
                           65500 x 65500, a comment after its data in place of its end marker
  jpeg-arithmetic-progressive-65500-open.jpg    198 bytes, the progressive one declaring 65500 x 65500
  jpeg-arithmetic-progressive-65500-closed.jpg  200 bytes, the same with its end marker
honest:
  tiff-shared-strip.tif    131 KB, RGB 16384 x 16384 flat, 16384 strips on one deflate row
  sgi-shared-run.sgi       394 KB, RGB 16384 x 16384 flat, every row on one run-length row
  sgi-a4-shared-rows.sgi   85 KB, RGB 2480 x 3508 white page with dark bands, identical rows
                           (of every channel) on one copy of their run-length data
  bmp-rle-delta-skips.bmp  RLE8 4000 x 4000: a run at the bottom, deltas up to the top row, a run there
  bmp-rle-ends-early.bmp   RLE8 1000 x 1000: one row of runs, then end of bitmap
  tiff-own-strips-600k.tif, tiff-own-strips-1m.tif: the twins of the overlapping
                           files, every strip its own two bytes
  tiff-noise-shared-strip.tif  grey 4000 x 1000, deflate, every one-row strip on one
                           copy of a row of noise
  bmp-rle8-half-sprite.bmp 144 KB, RLE8 6000 x 6000, 2805 pixels a row and an end of line
  jpeg-progressive-comment-holds-end.jpg  cjpeg -progressive of a 640 x 480 picture, its end
                           marker gone and a comment holding the bytes FF D9 in its place
"""
import os
import random
import struct
import subprocess
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


def bmp_rle(size, codes, bits=8):
    colors = 16
    palette = b''.join(struct.pack('<4B', i * 16, i * 16, i * 16, 0) for i in range(colors))
    bits_at = 14 + 40 + len(palette)
    compression = 1 if bits == 8 else 2
    info = struct.pack('<IiiHHIIiiII', 40, size, size, 1, bits, compression, len(codes), 2835, 2835, colors, 0)
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


def tiff_grey(width, height, compression, data, offsets, counts):
    """An 8-bit grey TIFF, a strip a row, whose strips read at the offsets within data."""
    strips = height
    data_at = 8
    ifd_at = data_at + len(data)
    entries = [
        (256, 4, 1, width), (257, 4, 1, height), (258, 3, 1, 8), (259, 3, 1, compression), (262, 3, 1, 1),
        (273, 4, strips, None), (277, 3, 1, 1), (278, 4, 1, 1), (279, 4, strips, None),
    ]
    extra_at = ifd_at + 2 + 12 * len(entries) + 4
    tables = struct.pack('<%dI' % strips, *(data_at + o for o in offsets))
    directory = struct.pack('<H', len(entries))
    for tag, kind, count, value in entries:
        if value is None:
            field = struct.pack('<I', extra_at + (len(tables) if tag == 279 else 0))
        else:
            field = struct.pack('<H', value) + b'\0\0' if kind == 3 else struct.pack('<I', value)
        directory += struct.pack('<HHI', tag, kind, count) + field
    tables += struct.pack('<%dI' % strips, *counts)
    return b'II' + struct.pack('<HI', 42, ifd_at) + data + directory + struct.pack('<I', 0) + tables


def tiff_noise_shared_strip(width, height):
    noise = random.Random(5)
    row = zlib.compress(bytes(noise.getrandbits(8) for _ in range(width)), 9)
    return tiff_grey(width, height, 8, row, [0] * height, [len(row)] * height)


def tiff_overlapping_strips(strips):
    run = 65000
    data = b'\x80' * run + b'\x00\x7f'
    starts = [k % run for k in range(strips)]
    return tiff_grey(1, strips, 32773, data, starts, [len(data) - s for s in starts])


def tiff_own_strips(strips):
    data = b''.join(bytes([0, k % 256]) for k in range(strips))
    return tiff_grey(1, strips, 32773, data, [2 * k for k in range(strips)], [2] * strips)


def sgi_runs(row):
    """Run-length packets of one 8-bit row: runs of equal samples, literals between."""
    out = b''
    at = 0
    while at < len(row):
        run = 1
        while at + run < len(row) and run < 127 and row[at + run] == row[at]:
            run += 1
        if run >= 3:
            out += bytes([run, row[at]])
            at += run
            continue
        end = at
        while end < len(row) and end - at < 127 and not row[end:end + 3] == bytes([row[end]]) * 3:
            end += 1
        end = max(end, at + 1)
        out += bytes([0x80 | (end - at)]) + row[at:end]
        at = end
    return out + b'\0'


def sgi_sharing_rows(width, height, planes):
    """An 8-bit run-length SGI whose identical rows, of any channel, share one
    copy of their packed data, as "aggressive" run-length writers store them.
    planes[z][r] is row r (bottom first) of channel z."""
    channels = len(planes)
    header = struct.pack('>HBBHHHHII', 474, 1, 1, 3, width, height, channels, 0, 255)
    header += bytes(512 - len(header))
    data_at = 512 + 8 * height * channels
    data, copies, starts, lengths, packings = b'', {}, [], [], {}
    for z in range(channels):
        for r in range(height):
            row = planes[z][r]
            if row not in packings:
                packings[row] = sgi_runs(row)
            packed = packings[row]
            if packed not in copies:
                copies[packed] = data_at + len(data)
                data += packed
            starts.append(copies[packed])
            lengths.append(len(packed))
    table = struct.pack('>%dI' % len(starts), *starts) + struct.pack('>%dI' % len(lengths), *lengths)
    return header + table + data


def sgi_shared_run():
    size = 16384
    row = bytes([0x40]) * size
    return sgi_sharing_rows(size, size, [[row] * size] * 3)


def sgi_a4_page():
    """A white A4 page at 300 dpi with a few dark bands across it."""
    width, height = 2480, 3508
    white = bytes([255]) * width
    band = bytes([255]) * 200 + bytes([40]) * (width - 400) + bytes([255]) * 200
    rows = [band if r % 700 < 60 else white for r in range(height)]
    return sgi_sharing_rows(width, height, [rows] * 3)


write('rla-rows-at-header.rla', rla())
write('bmp-rle-ends-at-once.bmp', bmp_rle(16384, b'\0\1'))
write('bmp-rle-cut-off.bmp', bmp_rle(16384, b''))
write('tiff-shared-strip.tif', tiff_shared_strip(), honest)
write('sgi-shared-run.sgi', sgi_shared_run(), honest)
write('sgi-a4-shared-rows.sgi', sgi_a4_page(), honest)
write('tiff-overlapping-strips-600k.tif', tiff_overlapping_strips(600000))
write('tiff-overlapping-strips-1m.tif', tiff_overlapping_strips(1000000))


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


def delta_sprite(bits):
    """Two pixels, then a delta 120 rows up: 125 times over 15000 rows."""
    codes = b''
    for _ in range(125):
        codes += bytes([2, 0x77 if bits == 4 else 7]) + b'\0\2' + bytes([0, 120])
    return bmp_rle(15000, codes + b'\0\1', bits)


write('bmp-rle8-delta-sprite.bmp', delta_sprite(8))
write('bmp-rle4-delta-sprite.bmp', delta_sprite(4))
write('bmp-rle-end-of-lines.bmp', bmp_rle(16384, (b'\1\7\0\0') * 16384 + b'\0\1'))
write('tiff-own-strips-600k.tif', tiff_own_strips(600000), honest)
write('tiff-own-strips-1m.tif', tiff_own_strips(1000000), honest)
write('tiff-noise-shared-strip.tif', tiff_noise_shared_strip(4000, 1000), honest)
write('bmp-rle8-half-sprite.bmp', bmp_rle(6000, (runs(2805, 9) + b'\0\0') * 6000 + b'\0\1'), honest)
write('bmp-rle-long-runs.bmp', bmp_rle(1, b'\xff\3' * (33500000 // 2) + b'\0\1'))


def jpeg_segments(jpeg):
    """(marker, offset) of each segment before the first scan's data."""
    at = 2
    while at + 4 <= len(jpeg) and jpeg[at] == 0xFF:
        marker = jpeg[at + 1]
        yield marker, at
        if marker == 0xDA:
            return
        at += 2 + struct.unpack('>H', jpeg[at + 2:at + 4])[0]


def jpeg_segment(marker, payload):
    return bytes([0xFF, marker]) + struct.pack('>H', len(payload) + 2) + payload


def cjpeg_flat_grey(*options):
    """What cjpeg writes for a flat 16 x 16 grey picture."""
    return cjpeg(b'P5\n16 16\n255\n' + bytes([128]) * 256, '-grayscale', *options)


def cjpeg(picture, *options):
    return subprocess.run(['cjpeg', *options], input=picture, stdout=subprocess.PIPE, check=True).stdout


def gradient(width, height):
    """A colour picture of gradients, as a PPM file."""
    return b'P6\n%d %d\n255\n' % (width, height) + bytes(
        v for y in range(height) for x in range(width) for v in (x * 255 // width, y * 255 // height, (x + y) % 256))


def jpeg_declaring(jpeg, width, height):
    """The file with its frame header's size rewritten."""
    out = bytearray(jpeg)
    for marker, at in jpeg_segments(jpeg):
        if 0xC0 <= marker <= 0xCF and marker not in (0xC4, 0xC8, 0xCC):
            out[at + 5:at + 9] = struct.pack('>HH', height, width)
    return bytes(out)


# Arithmetic decoding reads on past the end of its data without a sign: a file
# without its end marker cannot show it is whole, whatever it declares.
progressive = jpeg_declaring(cjpeg_flat_grey('-arithmetic', '-progressive'), 22000, 22000)
write('jpeg-arithmetic-progressive-open.jpg', progressive[:-2])
sequential = jpeg_declaring(cjpeg_flat_grey('-arithmetic'), 65500, 65500)
write('jpeg-arithmetic-comment-open.jpg', sequential[:-2] + jpeg_segment(0xFE, b'end'))
# Within the decoding modes' picture limit, which hold the others.
write('jpeg-arithmetic-progressive-16000-open.jpg',
      jpeg_declaring(cjpeg_flat_grey('-arithmetic', '-progressive'), 16000, 16000)[:-2])
# The format's largest: without its end marker cut, with it a valid picture
# whose scans would keep 8 GB of coefficients.
largest = jpeg_declaring(cjpeg_flat_grey('-arithmetic', '-progressive'), 65500, 65500)
write('jpeg-arithmetic-progressive-65500-open.jpg', largest[:-2])
write('jpeg-arithmetic-progressive-65500-closed.jpg', largest)

# Whole: a comment after its scans holds the bytes of an end marker, but the
# marker itself is gone.
whole = cjpeg(gradient(640, 480), '-progressive')
write('jpeg-progressive-comment-holds-end.jpg', whole[:-2] + jpeg_segment(0xFE, b'written \xff\xd9'), honest)
