#!/usr/bin/env python3
"""Draws the program icon: a browser window showing a web page (menu bar,
"WWW", a picture and text lines), 32 x 32 pixels in the 16 standard colours,
and writes it as trellan.ico beside this script.

    python3 resources/make_icon.py [--preview preview.png]

The .ico is committed, so building needs no Python; run this again only
after changing the drawing. --preview also writes an 8x enlarged PNG
(ImageMagick's convert) to look at."""
import os
import struct
import subprocess
import sys

SIZE = 32
PALETTE = [  # the 16 colours of the standard palette, as RGB
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, DARK_GREEN, NAVY, TEAL, SILVER, GRAY = 0, 2, 4, 6, 7, 8
RED, LIME, YELLOW, BLUE, CYAN, WHITE = 9, 10, 11, 12, 14, 15
CLEAR = None  # transparent

W_GLYPH = [  # 7 x 6
    "X.....X",
    "X.....X",
    "X..X..X",
    "X..X..X",
    "X.X.X.X",
    ".X...X.",
]


def draw():
    px = [[CLEAR] * SIZE for _ in range(SIZE)]

    def rect(x0, y0, x1, y1, colour):  # inclusive corners
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                px[y][x] = colour

    # Shadow, then the window: black frame, navy title bar, silver address row.
    rect(2, 4, 31, 30, GRAY)
    rect(0, 2, 29, 28, BLACK)
    rect(1, 3, 28, 6, NAVY)
    for x, colour in ((3, RED), (6, YELLOW), (9, LIME)):
        rect(x, 4, x + 1, 5, colour)
    rect(1, 7, 28, 10, SILVER)
    rect(3, 8, 26, 9, WHITE)
    rect(4, 8, 4, 9, GRAY)  # the caret in the address field
    # The page: white, with the menu bar of the site on top.
    rect(1, 11, 28, 27, WHITE)
    rect(2, 12, 27, 13, NAVY)
    for x in (4, 10, 16, 22):
        rect(x, 12, x + 3, 13, CYAN if x == 4 else BLUE)
    # "WWW" in blue.
    for i in range(3):
        for dy, row in enumerate(W_GLYPH):
            for dx, cell in enumerate(row):
                if cell == "X":
                    px[15 + dy][3 + i * 8 + dx] = BLUE
    # A picture (sky, hill) and text lines below.
    rect(3, 22, 10, 26, CYAN)
    rect(3, 25, 10, 26, DARK_GREEN)
    rect(5, 24, 8, 24, DARK_GREEN)
    for y, length in ((22, 14), (24, 12), (26, 14)):
        rect(13, y, 12 + length, y, GRAY)
    return px


def ico_bytes(px):
    header = struct.pack("<HHH", 0, 1, 1)
    xor_rows, and_rows = [], []
    for row in reversed(px):  # bitmaps are stored bottom-up
        nibbles = [0 if c is CLEAR else c for c in row]
        xor_rows.append(bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, SIZE, 2)))
        mask = 0
        for c in row:
            mask = (mask << 1) | (1 if c is CLEAR else 0)
        and_rows.append(struct.pack(">I", mask))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor, and_ = b"".join(xor_rows), b"".join(and_rows)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(xor) + len(and_),
                       0, 0, 16, 0)
    image = info + palette + xor + and_
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return header + entry + image


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = os.path.join(here, "trellan.ico")
    with open(target, "wb") as out:
        out.write(ico_bytes(draw()))
    if len(sys.argv) == 3 and sys.argv[1] == "--preview":
        subprocess.run(["convert", target, "-scale", "800%", sys.argv[2]], check=True)


if __name__ == "__main__":
    main()
