#!/usr/bin/env python3
"""Writes the small seed files the fuzz targets start from: one header of each picture kind
the header reader knows (and a photo start with an Exif thumbnail), a few frame layouts for
the compositor, and one well-formed case of each record, list and stored value the other
targets read. Usage: make_corpus.py OUTPUT_DIR"""
import os
import struct
import sys

out = sys.argv[1]

def folder(name):
    path = os.path.join(out, name)
    os.makedirs(path, exist_ok=True)
    return path


info = folder("image_info")
gif = folder("gif_compositor")


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


# --- identifier lists, WM_COPYDATA records, stored settings ---------------------------------
def item(cb, fill):
    return struct.pack("<H", cb) + bytes([fill]) * (cb - 2)


def idlist(*counts):
    return b"".join(item(cb, i + 1) for i, cb in enumerate(counts)) + b"\0\0"


copy = folder("copydata")
# The first byte: receiver (0 controller, 1 panel, 2 dialog) + 4 * the kind's place in the
# target's table (attach, program, folder, poschanging, show, destroy, close, ncactivate,
# settext, 0, a raw 32-bit kind, whose bytes follow); then a filler item (1) or text (2) of
# the 16-bit size that follows, to start the payload with.
put(copy, "attach", bytes([0 + 4 * 0, 0]) + b"notepad.exe\0")
put(copy, "program", bytes([0 + 4 * 1, 0]) + b"C:\\Windows\\notepad.exe\0")
put(copy, "openitem", bytes([2 + 4 * 0, 0]) + b"report.txt\0")
put(copy, "folder", bytes([1 + 4 * 2, 0]) + idlist(20, 14, 30))
put(copy, "poschanging", bytes([1 + 4 * 3, 0]) + struct.pack("<IIiiiiI", 0x10010, 0, 10, 20, 640, 480, 0x14))
put(copy, "show", bytes([1 + 4 * 4, 0]) + struct.pack("<IIII", 0x18, 1, 0, 0))
put(copy, "settext", bytes([1 + 4 * 8, 0]) + b"name.txt\0")
put(copy, "long_folder", bytes([1 + 4 * 2, 1]) + struct.pack("<H", 300) + idlist(20))
put(copy, "long_text", bytes([1 + 4 * 8, 2]) + struct.pack("<H", 300) + b"name.txt\0")
put(copy, "raw_kind", bytes([1 + 4 * 10]) + struct.pack("<I", 0x4A) + b"\0" + b"x\0")

ids = folder("idlist")
# Split point, output capacity (16 bits and one more in the flags), flags (filler items before
# A and B, impossible sizes for the join), the filler sizes, a word for the impossible sizes,
# then lists A and B.
a, b = idlist(20, 3, 300), idlist(14)
put(ids, "two", struct.pack("<HHBI", len(a), 400, 0, 0) + a + b)
put(ids, "empty_first", struct.pack("<HHBI", 2, 16, 0, 0) + b"\0\0" + b)
put(ids, "fillers", struct.pack("<HHBHHI", len(a), 900, 2 | 4 | 8, 300, 40, 0x12345) + a + b)
# Read whole, the same bytes are a drop's array: one object below the desktop.
put(ids, "shell_array", struct.pack("<III", 1, 12, 14) + b"\0\0" + idlist(10))

regs = folder("registry_path")


def text(t):
    return bytes([len(t)]) + t


# Base-key flag, then operations: 0 write text, 1 write number, 2 write bytes, 3 read bytes,
# 4 read text, 5 read number, 6 store any type, 7 set the base key.
put(regs, "round_trips", b"\x01" + b"\x00" + text(b"Options?HotFontName") + text(b"Arial") +
    b"\x01" + text(b"HotFolders?FoldersCount") + struct.pack("<i", 3) +
    b"\x02" + text(b"HotFolders?Folder0") + b"\x04\x00" + b"\x02\x00\x00\x00" +
    b"\x03" + text(b"HotFolders?Folder0") + struct.pack("<H", 60) + b"\x00" +
    b"\x04" + text(b"?AutoRun") + b"\x05" + text(b"?AutoRun"))
put(regs, "odd_paths", b"\x00" + b"\x07" + text(b"Software\\Brisvane") + b"\x00" + text(b"NoMark") + text(b"x") +
    b"\x06" + text(b"\\Lead?Short") + b"\x02" + b"\x02" + b"\x01\x02" +
    b"\x05" + text(b"\\Lead?Short") + b"\x00" + bytes([0x80 | 64]) + b"A?" + b"n" * 1022 + text(b"v"))

ign = folder("ignore_list")
area = b"NOTEPAD.EXE".ljust(80, b"\0") + b"X" * 80 + b"SETUP.EXE".ljust(80, b"\0")
# Mode 3: raw area bytes, a query, then names to write and another query.
names = [b"calc.exe", b"", b"x" * 80, b"a\0b", b"Write.EXE"]
put(ign, "raw_then_names", b"\x03" + struct.pack("<H", len(area)) + area + text(b"SETUP.EXE") +
    bytes([len(names)]) + b"".join(text(n) for n in names) + text(b"CALC.EXE"))

hot = folder("hot_list")


def entry(head, data):
    return bytes([head]) + struct.pack("<H", len(data)) + data


# Capacity pick, count (type byte 0: a DWORD), then entries: head >> 6 steps the number,
# bit 0 marks the shortcut name, bit 1 a filler item of the 16-bit size that follows, bit 5
# a stored type from bits 2-4.
put(hot, "two_folders", b"\x00" + b"\x00" + struct.pack("<i", 2) + entry(0x00, idlist(20)) +
    entry(0x01, b"Docs.lnk\0") + entry(0x40, idlist(14, 6)) + entry(0x41, b""))
put(hot, "filler", b"\x03" + struct.pack("<h", 5000) + b"\x00" + struct.pack("<i", 1) + b"\x02" +
    struct.pack("<H", 4000) + struct.pack("<H", 2) + b"\0\0")
put(hot, "gap", b"\x01" + b"\x00" + struct.pack("<i", 9) + entry(0x00, idlist(6)) + entry(0x80, idlist(6)))

cat = folder("catalogue")


def dword(v):
    return b"\x00" + struct.pack("<I", v)


def string(t):
    return b"\x01" + bytes([len(t)]) + t


# The five looks, a raw number, an app name and its fourteen values, the ignore count and its
# entries, centring and ini text.
put(cat, "looks", dword(0x00CDC3B4) + dword(0x80000008) + dword(11) + string(b"Tahoma\0") + dword(5) +
    struct.pack("<i", 13) + text(b"NOTEPAD.EXE") + dword(1) + dword(100) + dword(50) + dword(635) + dword(395) +
    dword(150) + dword(100) + string(b"C:\\Temp") + dword(1) + dword(2) + string(b"") + dword(1) + dword(0) +
    dword(1) + bytes([3, 3]) + string(b"notepad.exe") + string(b"") + dword(7) +
    struct.pack("<ii", 1024, 635) + text(b" +5 "))
