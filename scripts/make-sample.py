#!/usr/bin/env python3
"""Writes samples/sample.tif: a small synthetic GeoTIFF (UTM zone 18 north,
30 m pixels) with a shaded-relief-like picture, stored uncompressed RGB.
Run from the repository root; the output is deterministic."""
import math
import struct

WIDTH, HEIGHT = 200, 150
BASE_X, BASE_Y, SCALE = 500000.0, 4649776.0, 30.0


def pixel(x, y):
    h = (math.sin(x / 17.0) * math.cos(y / 13.0) + 0.5 * math.sin((x + 2 * y) / 29.0)) * 0.5 + 0.5
    shade = 0.6 + 0.4 * math.cos((x - y) / 23.0)
    r = int(255 * min(1.0, (0.35 + 0.65 * h) * shade))
    g = int(255 * min(1.0, (0.55 + 0.45 * (1 - abs(h - 0.5))) * shade))
    b = int(255 * min(1.0, (0.25 + 0.5 * (1 - h)) * shade))
    return bytes((r, g, b))


def main():
    rows = b"".join(pixel(x, y) for y in range(HEIGHT) for x in range(WIDTH))
    citation = b"WGS 84 / UTM zone 18N|\0"
    scale = struct.pack("<3d", SCALE, SCALE, 0.0)
    tiepoint = struct.pack("<6d", 0, 0, 0, BASE_X, BASE_Y, 0)
    keys = struct.pack("<20H", 1, 1, 0, 4, 1024, 0, 1, 1, 1025, 0, 1, 1, 3072, 0, 1, 32618,
                       3073, 34737, len(citation) - 1, 0)
    bps = struct.pack("<3H", 8, 8, 8)

    data = bytearray(b"II*\0\0\0\0\0")
    offsets = {}
    for name, blob in (("rows", rows), ("bps", bps), ("scale", scale), ("tie", tiepoint),
                       ("keys", keys), ("ascii", citation), ("sw", b"quorvane sample\0")):
        if len(data) % 2:
            data += b"\0"
        offsets[name] = len(data)
        data += blob

    entries = [
        (256, 3, 1, WIDTH), (257, 3, 1, HEIGHT), (258, 3, 3, offsets["bps"]), (259, 3, 1, 1),
        (262, 3, 1, 2), (273, 4, 1, offsets["rows"]), (277, 3, 1, 3), (278, 3, 1, HEIGHT),
        (279, 4, 1, len(rows)), (284, 3, 1, 1), (305, 2, 16, offsets["sw"]),
        (33550, 12, 3, offsets["scale"]), (33922, 12, 6, offsets["tie"]),
        (34735, 3, len(keys) // 2, offsets["keys"]), (34737, 2, len(citation), offsets["ascii"]),
    ]
    if len(data) % 2:
        data += b"\0"
    ifd = len(data)
    data[4:8] = struct.pack("<I", ifd)
    data += struct.pack("<H", len(entries))
    for tag, typ, count, value in entries:
        if typ == 3 and count == 1:
            data += struct.pack("<HHIHH", tag, typ, count, value, 0)
        else:
            data += struct.pack("<HHII", tag, typ, count, value)
    data += struct.pack("<I", 0)
    with open("samples/sample.tif", "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
