#!/usr/bin/env python3
"""Makes the about box's background tile, src/controller/AboutTile.jpg: a 128 x 128 baseline
JPEG of soft blue-grey waves that repeat seamlessly (every term is periodic over 128 pixels).
Run it again only to change the picture; the build uses the committed file.
Needs ImageMagick's convert (installed by scripts/setup.sh)."""
import math
import os
import subprocess
import sys

SIZE = 128
here = os.path.dirname(os.path.abspath(__file__))
out = os.path.join(here, "..", "src", "controller", "AboutTile.jpg")

rows = []
for y in range(SIZE):
    for x in range(SIZE):
        a = 2 * math.pi * x / SIZE
        b = 2 * math.pi * y / SIZE
        wave = (math.sin(a * 2 + math.sin(b) * 1.5) + math.sin(b * 3 + math.cos(a) * 1.2)
                + 0.5 * math.sin((a + b) * 4)) / 2.5
        light = 0.5 + 0.5 * wave  # 0..1
        r = int(196 + 40 * light)
        g = int(208 + 34 * light)
        bl = int(222 + 30 * light)
        rows.append(bytes((min(r, 255), min(g, 255), min(bl, 255))))
ppm = b"P6\n%d %d\n255\n" % (SIZE, SIZE) + b"".join(rows)
subprocess.run(["convert", "ppm:-", "-strip", "-interlace", "none", "-quality", "90", "jpeg:" + out],
               input=ppm, check=True)
print(out, os.path.getsize(out), "bytes", file=sys.stderr)
