#!/usr/bin/env python3
"""Writes the hostile inputs of hostile_inputs_test.cpp: files of a few
hundred bytes whose headers claim far more than they hold."""
import os, struct, sys, zlib

def tiff(entries, data):
    """Little-endian TIFF: header, data, one directory of (tag, type, count, value)."""
    out = b'II' + struct.pack('<HI', 42, 8 + len(data)) + data
    out += struct.pack('<H', len(entries))
    for tag, kind, count, value in entries:
        field = struct.pack('<HH', value, 0) if kind == 3 else struct.pack('<I', value)
        out += struct.pack('<HHI', tag, kind, count) + field
    return out + b'\0\0\0\0'

def strips(width, height, bits, compression, samples, data, extra=()):
    return tiff([(256, 4, 1, width), (257, 4, 1, height), (258, 3, 1, bits),
                 (259, 3, 1, compression), (262, 3, 1, 1), (273, 4, 1, 8),
                 (277, 3, 1, samples), (278, 3, 1, height), (279, 4, 1, len(data))]
                + list(extra), data)

def gif_lzw(pixels, min_size=2):
    clear, size, table, code_list, current = 1 << min_size, min_size + 1, {}, [], b''
    table = {bytes([i]): i for i in range(clear)}
    next_code = clear + 2
    code_list.append((clear, size))
    for p in pixels:
        grown = current + bytes([p])
        if grown in table:
            current = grown
            continue
        code_list.append((table[current], size))
        table[grown] = next_code
        next_code += 1
        if next_code > (1 << size) and size < 12:
            size += 1
        current = bytes([p])
    code_list.append((table[current], size))
    bits, shift = 0, 0
    for code, width in code_list:
        bits |= code << shift
        shift += width
    packed = bits.to_bytes((shift + 7) // 8, 'little')
    return b''.join(bytes([len(packed[i:i + 255])]) + packed[i:i + 255]
                    for i in range(0, len(packed), 255))

files = {
    # 65535 samples a pixel in one Deflate strip that holds nothing.
    'samples65535.tif': strips(65535, 900, 8, 8, 65535, zlib.compress(b'\0' * 16)),
    # 43301 x 1 doubles, 8081 samples a pixel, 16 bytes of data.
    'samples8081_f64.tif': strips(43301, 1, 64, 1, 8081, b'\0' * 16, [(339, 3, 1, 3)]),
    # 30000 x 30000 8-bit grey with 8 bytes of data: a blank 900 MB picture.
    'blank30000.tif': strips(30000, 30000, 8, 1, 1, b'\0' * 8),
    # 8000 x 8000 8-bit grey with 8 bytes of data: a blank 64 MB picture.
    'blank8000.tif': strips(8000, 8000, 8, 1, 1, b'\0' * 8),
    # 1100000 x 1: wider than libpng lets through by default.
    'wide1100000.tif': strips(1100000, 1, 8, 1, 1, b'\0' * 8),
    # A 1 x 1 picture with a second ImageWidth of field type 2304.
    'unknown_field_type.tif': tiff([(256, 3, 1, 1), (256, 2304, 1, 10), (257, 3, 1, 1),
                                    (258, 3, 1, 8), (259, 3, 1, 1), (262, 3, 1, 1),
                                    (273, 4, 1, 8), (277, 3, 1, 1), (278, 3, 1, 1),
                                    (279, 4, 1, 1)], b'\x80\0\0\0'),
    # 6727 x 65351 whose data ends after two rows: a blank 440 MB picture.
    'tall.gif': b'GIF89a' + struct.pack('<HHBBB', 6727, 65351, 0x80, 0, 0) + b'\0\0\0\xff\xff\xff'
                + b',' + struct.pack('<HHHHB', 0, 0, 6727, 65351, 0) + b'\x02'
                + gif_lzw([0] * (6727 * 2)),
}
folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
for name, data in files.items():
    with open(os.path.join(folder, name), 'wb') as out:
        out.write(data)
