#!/usr/bin/env python3
"""Writes the small seed files the fuzz targets start from: one header of each picture kind
the header reader knows (and a photo start with an Exif thumbnail), and a few frame layouts
for the compositor. Usage: make_corpus.py OUTPUT_DIR"""
import os
import struct
import sys

out = sys.argv[1]
info = os.path.join(out, "image_info")
gif = os.path.join(out, "gif_compositor")
os.makedirs(info, exist_ok=True)
os.makedirs(gif, exist_ok=True)


def put(folder, name, data):
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


png = b"\x89PNG\r\n\x1a\n" + struct.pack(">I4sIIBBBBB", 13, b"IHDR", 640, 480, 8, 2, 0, 0, 0)
put(info, "png", png)
put(info, "gif", b"GIF89a" + struct.pack("<HHBBB", 320, 200, 0xF7, 0, 0))
put(info, "bmp", b"BM" + struct.pack("<IHHIIiiHHIIiiII", 54, 0, 0, 54, 40, 640, -480, 1, 24, 0, 0, 0, 0, 0, 0))
put(info, "bmp_core", b"BM" + struct.pack("<IHHIIHHHH", 26, 0, 0, 26, 12, 32, 16, 1, 4))
put(info, "pcx", bytes([10, 5, 1, 8]) + struct.pack("<HHHH", 0, 0, 99, 49) + bytes(53) + bytes([3]) + bytes(62))
for order, tag in ((b"II*\x00", "<"), (b"MM\x00*", ">")):
    entries = [(256, 3, 1, 300), (257, 3, 1, 200), (258, 3, 3, 8 + 2 + 12 * 3 + 4)]
    ifd = struct.pack(tag + "H", len(entries))
    for t, typ, n, v in entries:
        ifd += struct.pack(tag + "HHIHH" if tag == ">" else tag + "HHIHH", t, typ, n, v, 0)
    ifd += struct.pack(tag + "I", 0) + struct.pack(tag + "HHH", 8, 8, 8)
    put(info, "tiff_" + ("le" if tag == "<" else "be"), order + struct.pack(tag + "I", 8) + ifd)


def sof(marker, w, h, comps):
    return b"\xff" + bytes([marker]) + struct.pack(">HBHHB", 8 + 3 * comps, 8, h, w, comps) + bytes(3 * comps)


thumb = b"\xff\xd8" + sof(0xC0, 160, 120, 3) + b"\xff\xd9"
tiff = b"II*\x00" + struct.pack("<I", 8)
tiff += struct.pack("<H", 0) + struct.pack("<I", 14)            # IFD0: no entries, IFD1 at 14
ifd1 = struct.pack("<H", 2) + struct.pack("<HHII", 0x201, 4, 1, 14 + 2 + 24 + 4)
ifd1 += struct.pack("<HHII", 0x202, 4, 1, len(thumb)) + struct.pack("<I", 0)
exif = b"Exif\x00\x00" + tiff + ifd1 + thumb
app1 = b"\xff\xe1" + struct.pack(">H", len(exif) + 2) + exif
app0 = b"\xff\xe0" + struct.pack(">H", 16) + b"JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00"
put(info, "jpeg_baseline", b"\xff\xd8" + app0 + sof(0xC0, 640, 480, 3))
put(info, "jpeg_progressive", b"\xff\xd8" + app0 + sof(0xC2, 6000, 4000, 1))
put(info, "jpeg_exif", b"\xff\xd8" + app1 + sof(0xC0, 6000, 4000, 3))


def frame(left, top, w, h, disposal, transparent=None, local=None, delay=0, rows=None, indices=b""):
    flags = disposal | (8 if transparent is not None else 0) | (16 if local else 0)
    b = struct.pack("<hhHHB", left, top, w, h, flags)
    if transparent is not None:
        b += bytes([transparent])
    if local:
        b += bytes([len(local) // 3]) + local
    return b + bytes([delay, h if rows is None else rows]) + indices


head = struct.pack("<HHBB", 8, 8, 0, 2) + b"\xff\x00\x00\x00\x00\xff"
put(gif, "keep", head + frame(0, 0, 8, 8, 0, indices=bytes(64)) + frame(2, 2, 4, 4, 1, indices=b"\x01" * 16))
put(gif, "background", head + frame(0, 0, 8, 8, 2, indices=bytes(64)) + frame(-2, -2, 12, 12, 2, 1, indices=b"\x01" * 144))
put(gif, "previous", head + frame(0, 0, 8, 8, 0, indices=bytes(64)) + frame(4, 4, 8, 8, 3, 0, b"\x00\xff\x00", 5, 3, b"\x01" * 64))
put(gif, "huge", struct.pack("<HHBB", 65535, 65535, 0, 0))
