#!/usr/bin/python3
"""Draws the street map of Brimsdorf (karte.png, 568 x 354, RGB).

The three places the sample image map links to sit inside these polygons:
  castle          173,291 212,252 243,264 282,256 318,282 250,351 234,353
  Schulhaus Rueti 360,79 483,168 567,83 472,0 411,0 383,37        (top right)
  Schulhaus Oberdorf 2,60 46,98 98,55 47,14                        (top left)

Geometry is drawn four times oversized and scaled down for smooth edges;
labels are drawn afterwards at the final size so that they stay crisp.

usage: karte.py OUT.png
"""
import math
import random
import sys

from PIL import Image, ImageDraw, ImageFont

W, H = 568, 354
S = 4  # supersampling factor
FONT_DIR = "/usr/share/fonts/truetype/dejavu/"

CASTLE_POLY = [(173, 291), (212, 252), (243, 264), (282, 256), (318, 282), (250, 351), (234, 353)]
RUETI_POLY = [(360, 79), (483, 168), (567, 83), (472, 0), (411, 0), (383, 37)]
OBERDORF_POLY = [(2, 60), (46, 98), (98, 55), (47, 14)]

C_GROUND = (244, 240, 230)
C_MEADOW = (225, 234, 204)
C_FOREST = (190, 214, 160)
C_FOREST_EDGE = (160, 192, 128)
C_WATER = (120, 176, 222)
C_WATER_AREA = (170, 206, 236)
C_ROAD = (255, 255, 255)
C_ROAD_CASE = (178, 168, 152)
C_MAIN = (252, 226, 150)
C_MAIN_CASE = (196, 160, 84)
C_HOUSE = (217, 206, 193)
C_HOUSE_LINE = (168, 152, 136)
C_PUBLIC = (214, 150, 126)
C_PUBLIC_LINE = (150, 90, 70)
C_FIELD = (160, 204, 128)
C_TRACK = (214, 140, 108)
C_TEXT = (60, 56, 52)


def sc(points):
    return [(x * S, y * S) for x, y in points]


def catmull(points, steps=12):
    """Smooth polyline through the given points."""
    pts = [points[0]] + list(points) + [points[-1]]
    out = []
    for i in range(1, len(pts) - 2):
        p0, p1, p2, p3 = pts[i - 1], pts[i], pts[i + 1], pts[i + 2]
        for s in range(steps):
            t = s / steps
            t2, t3 = t * t, t * t * t
            out.append(tuple(
                0.5 * (2 * p1[k] + (-p0[k] + p2[k]) * t + (2 * p0[k] - 5 * p1[k] + 4 * p2[k] - p3[k]) * t2
                       + (-p0[k] + 3 * p1[k] - 3 * p2[k] + p3[k]) * t3) for k in range(2)))
    out.append(points[-1])
    return out


def stroke(draw, line, width, fill):
    """Polyline with round joins and caps (final-size coordinates)."""
    p = sc(line)
    w = width * S
    draw.line(p, fill=fill, width=int(w), joint="curve")
    r = w / 2
    for x, y in (p[0], p[-1]):
        draw.ellipse((x - r, y - r, x + r, y + r), fill=fill)


def rect(cx, cy, w, h, ang):
    c, s = math.cos(ang), math.sin(ang)
    out = []
    for dx, dy in ((-w / 2, -h / 2), (w / 2, -h / 2), (w / 2, h / 2), (-w / 2, h / 2)):
        out.append((cx + dx * c - dy * s, cy + dx * s + dy * c))
    return out


def building(draw, poly, fill=C_HOUSE, line=C_HOUSE_LINE):
    draw.polygon(sc(poly), fill=fill, outline=line, width=S)


# --- streets: (name, control points, width, main road?) -------------------
STREETS = [
    ("Dorfstrasse", [(-8, 206), (70, 196), (150, 184), (230, 176), (320, 172), (400, 180), (480, 196), (576, 214)], 7, True),
    ("Schlossweg", [(238, 177), (236, 205), (250, 236), (246, 272)], 4.5, False),
    ("Rütiweg", [(372, 174), (380, 140), (392, 110), (408, 84), (432, 62)], 4.5, False),
    ("Rütiweg2", [(408, 84), (404, 40), (418, -8)], 3.5, False),
    ("Oberdorfstrasse", [(150, 184), (128, 150), (104, 118), (80, 88), (68, 64)], 4.5, False),
    ("Oberdorf2", [(104, 118), (130, 80), (140, 30), (150, -8)], 3.5, False),
    ("Kirchgasse", [(282, 173), (288, 146), (316, 130), (346, 138), (358, 174)], 3.5, False),
    ("Mühleweg", [(96, 193), (86, 240), (70, 290), (60, 362)], 4, False),
    ("Bündtenweg", [(86, 240), (130, 252), (168, 244)], 3.5, False),
    ("Schulweg", [(440, 190), (452, 240), (474, 290), (486, 362)], 4, False),
    ("Weiherweg", [(468, 282), (420, 296), (370, 300), (336, 290)], 3.5, False),
    ("Sonnenweg", [(330, 172), (338, 196), (372, 212), (420, 212), (446, 210)], 3.5, False),
    ("Lindenweg", [(118, 189), (124, 160), (150, 140), (172, 136)], 3.5, False),
    ("Feldweg", [(0, 120), (40, 128), (78, 90)], 3, False),
    ("Hofweg", [(520, 204), (536, 160), (568, 140)], 3.5, False),
    ("Gartenweg", [(192, 180), (196, 140), (214, 110)], 3.5, False),
]

STREAM = [(236, -6), (226, 40), (216, 96), (206, 140), (198, 178), (176, 220), (158, 262), (140, 300), (118, 360)]
POND = (392, 326, 28, 15)
FORESTS = [
    [(150, -2), (312, -2), (300, 30), (270, 52), (232, 60), (196, 54), (168, 40), (160, 20)],
    [(494, 262), (530, 248), (570, 252), (570, 356), (500, 356), (490, 320), (500, 290)],
    [(-2, 286), (30, 276), (54, 300), (48, 356), (-2, 356)],
]


def main(out):
    rnd = random.Random(1848)
    img = Image.new("RGB", (W * S, H * S), C_GROUND)
    d = ImageDraw.Draw(img)

    # meadows, castle park, forests and the pond
    d.polygon(sc(catmull([(246, 226), (300, 240), (330, 280), (310, 340), (250, 358), (180, 340), (172, 280), (200, 240), (246, 226)], 8)), fill=C_MEADOW)
    for k in range(4):
        pts = [(248 + (56 - 11 * k) * math.cos(a) * (1 + 0.06 * math.sin(3 * a + k)),
                300 + (44 - 9 * k) * math.sin(a) * (1 + 0.06 * math.cos(2 * a + k)))
               for a in [i * math.pi / 30 for i in range(61)]]
        d.line(sc(pts), fill=(206, 190, 160), width=S)
    d.polygon(sc([(300, 60), (360, 40), (380, 100), (350, 128), (300, 112)]), fill=C_MEADOW)
    for poly in FORESTS:
        pts = catmull(poly + [poly[0]], 8)
        d.polygon(sc(pts), fill=C_FOREST, outline=C_FOREST_EDGE, width=S)
    # scattered trees in the forests
    for poly in FORESTS:
        xs = [p[0] for p in poly]
        ys = [p[1] for p in poly]
        mask = Image.new("L", (W, H), 0)
        ImageDraw.Draw(mask).polygon(poly, fill=255)
        for _ in range(220):
            x = rnd.uniform(min(xs), max(xs))
            y = rnd.uniform(min(ys), max(ys))
            if 0 <= x < W and 0 <= y < H and mask.getpixel((int(x), int(y))) and mask.getpixel(
                    (min(W - 1, int(x) + 3), min(H - 1, int(y) + 3))):
                r = rnd.uniform(1.6, 2.6) * S
                d.ellipse((x * S - r, y * S - r, x * S + r, y * S + r), fill=C_FOREST_EDGE)
    px, py, rx, ry = POND
    d.ellipse(((px - rx) * S, (py - ry) * S, (px + rx) * S, (py + ry) * S), fill=C_WATER_AREA, outline=C_WATER, width=S)

    # stream
    stream = catmull(STREAM)
    stroke(d, stream, 3.2, C_WATER)

    # collision mask for house placement (final-size pixels)
    block = Image.new("L", (W, H), 0)
    bd = ImageDraw.Draw(block)
    for poly in (CASTLE_POLY, RUETI_POLY, OBERDORF_POLY):
        bd.polygon(poly, fill=255)
    for poly in FORESTS:
        bd.polygon(poly, fill=255)
    bd.ellipse((px - rx - 4, py - ry - 4, px + rx + 4, py + ry + 4), fill=255)
    bd.line(stream, fill=255, width=8)
    bd.polygon([(300, 60), (360, 40), (380, 100), (350, 128), (300, 112)], fill=255)  # open field
    bd.rectangle((270, 110, 320, 150), fill=255)  # church square
    bd.rectangle((372, 232, 478, 262), fill=255)  # village name
    bd.rectangle((0, 0, 80, 14), fill=255)

    curves = {}
    for name, pts, width, main_road in STREETS:
        curves[name] = catmull(pts)
        bd.line(curves[name], fill=255, width=int(width + 4))

    # houses along the streets
    for name, pts, width, main_road in STREETS:
        line = curves[name]
        acc = 0.0
        for i in range(1, len(line)):
            (x0, y0), (x1, y1) = line[i - 1], line[i]
            seg = math.hypot(x1 - x0, y1 - y0)
            acc += seg
            if acc < 11 or seg == 0:
                continue
            acc = 0.0
            ang = math.atan2(y1 - y0, x1 - x0)
            nx, ny = -math.sin(ang), math.cos(ang)
            for side in (-1, 1):
                if rnd.random() < 0.12:
                    continue
                hw, hh = rnd.uniform(8, 12), rnd.uniform(7, 10)
                off = width / 2 + 3 + hh / 2 + rnd.uniform(0, 2)
                cx, cy = x1 + side * nx * off, y1 + side * ny * off
                poly = rect(cx, cy, hw, hh, ang + rnd.uniform(-0.08, 0.08))
                test = Image.new("L", (W, H), 0)
                ImageDraw.Draw(test).polygon(rect(cx, cy, hw + 3, hh + 3, ang), fill=255)
                if any(not (0 <= x < W and 0 <= y < H) for x, y in poly):
                    continue
                bbox = test.getbbox()
                if bbox is None:
                    continue
                overlap = False
                crop_t = test.crop(bbox)
                crop_b = block.crop(bbox)
                for a, b in zip(crop_t.getdata(), crop_b.getdata()):
                    if a and b:
                        overlap = True
                        break
                if overlap:
                    continue
                building(d, poly)
                ImageDraw.Draw(block).polygon(rect(cx, cy, hw + 1, hh + 1, ang), fill=255)

    # streets: casings first, then fillings, main road last
    for name, pts, width, main_road in STREETS:
        if not main_road:
            stroke(d, curves[name], width + 1.6, C_ROAD_CASE)
    for name, pts, width, main_road in STREETS:
        if not main_road:
            stroke(d, curves[name], width, C_ROAD)
    for name, pts, width, main_road in STREETS:
        if main_road:
            stroke(d, curves[name], width + 1.8, C_MAIN_CASE)
            stroke(d, curves[name], width, C_MAIN)
    # bridges where the stream passes under the roads
    for bx, by, ang in ((198, 178, 1.4), (166, 242, 0.3)):
        c, s = math.cos(ang), math.sin(ang)
        for side in (-1, 1):
            x0, y0 = bx + side * 5.5 * c - 5 * s, by + side * 5.5 * s + 5 * c
            x1, y1 = bx + side * 5.5 * c + 5 * s, by + side * 5.5 * s - 5 * c
            d.line(sc([(x0, y0), (x1, y1)]), fill=(90, 90, 90), width=S)

    # church on the square
    building(d, [(286, 122), (312, 122), (312, 132), (286, 132)], C_PUBLIC, C_PUBLIC_LINE)
    building(d, [(280, 120), (288, 120), (288, 134), (280, 134)], C_PUBLIC, C_PUBLIC_LINE)
    d.line(sc([(298, 114), (298, 122)]), fill=C_PUBLIC_LINE, width=S)

    # Schulhaus Rueti: L-shaped main building, gym, sports ground
    d.polygon(sc([(420, 100), (505, 95), (520, 136), (436, 142)]), fill=C_MEADOW)
    field = [(432, 104), (500, 99), (512, 131), (442, 137)]
    d.polygon(sc(field), fill=C_TRACK)
    inner = [(438, 108), (497, 104), (506, 128), (447, 133)]
    d.polygon(sc(inner), fill=C_FIELD, outline=(255, 255, 255), width=S)
    mid_top = ((inner[0][0] + inner[1][0]) / 2, (inner[0][1] + inner[1][1]) / 2)
    mid_bot = ((inner[2][0] + inner[3][0]) / 2, (inner[2][1] + inner[3][1]) / 2)
    d.line(sc([mid_top, mid_bot]), fill=(255, 255, 255), width=S)
    building(d, [(440, 44), (500, 40), (501, 54), (441, 58)], C_PUBLIC, C_PUBLIC_LINE)
    building(d, [(486, 22), (500, 21), (501, 54), (487, 55)], C_PUBLIC, C_PUBLIC_LINE)
    building(d, [(414, 62), (440, 60), (442, 80), (416, 82)], C_PUBLIC, C_PUBLIC_LINE)
    d.polygon(sc([(444, 60), (484, 58), (486, 76), (446, 80)]), fill=(226, 222, 214), outline=C_ROAD_CASE, width=S)

    # Schulhaus Oberdorf: main building with a wing and the yard
    d.polygon(sc([(30, 52), (70, 52), (70, 60), (30, 60)]), fill=(226, 222, 214), outline=C_ROAD_CASE, width=S)
    building(d, [(30, 36), (62, 36), (62, 50), (30, 50)], C_PUBLIC, C_PUBLIC_LINE)
    building(d, [(54, 30), (64, 30), (64, 50), (54, 50)], C_PUBLIC, C_PUBLIC_LINE)

    # castle: walls with four round towers, keep and great hall
    wall = [(222, 280), (272, 276), (278, 316), (226, 322)]
    d.polygon(sc(wall), fill=(230, 220, 205), outline=C_PUBLIC_LINE, width=2 * S)
    building(d, [(228, 284), (266, 281), (268, 294), (230, 297)], C_PUBLIC, C_PUBLIC_LINE)
    building(d, [(248, 300), (266, 298), (268, 314), (250, 316)], C_PUBLIC, C_PUBLIC_LINE)
    for tx, ty in wall:
        r = 5 * S
        d.ellipse((tx * S - r, ty * S - r, tx * S + r, ty * S + r), fill=C_PUBLIC, outline=C_PUBLIC_LINE, width=S)
    d.rectangle(sc([(240, 271), (252, 278)]), fill=(230, 220, 205))  # gate

    small = img.resize((W, H), Image.BOX)
    draw_labels(small, curves)
    small.save(out, optimize=True)


def font(name, size):
    return ImageFont.truetype(FONT_DIR + name, size)


def halo_text(img, xy, text, fnt, fill=C_TEXT, anchor="mm", halo=2):
    ImageDraw.Draw(img).text(xy, text, font=fnt, fill=fill, anchor=anchor,
                             stroke_width=halo, stroke_fill=(255, 255, 255))


def along(img, line, frac, text, fnt, fill=(80, 74, 68)):
    """Street name centred at a fraction of the street's length, turned to its direction."""
    lengths = [0.0]
    for i in range(1, len(line)):
        lengths.append(lengths[-1] + math.dist(line[i - 1], line[i]))
    target = lengths[-1] * frac
    i = next(k for k in range(1, len(line)) if lengths[k] >= target)
    (x0, y0), (x1, y1) = line[max(0, i - 3)], line[min(len(line) - 1, i + 3)]
    ang = math.degrees(math.atan2(y1 - y0, x1 - x0))
    if ang > 90:
        ang -= 180
    if ang < -90:
        ang += 180
    t = (target - lengths[i - 1]) / max(1e-9, lengths[i] - lengths[i - 1])
    cx = line[i - 1][0] + t * (line[i][0] - line[i - 1][0])
    cy = line[i - 1][1] + t * (line[i][1] - line[i - 1][1])
    box = fnt.getbbox(text)
    tw = box[2] - box[0] + 8
    layer = Image.new("RGBA", (tw * 2, tw * 2), (0, 0, 0, 0))
    ImageDraw.Draw(layer).text((tw, tw), text, font=fnt, fill=fill + (255,), anchor="mm",
                               stroke_width=1, stroke_fill=(255, 255, 255, 200))
    layer = layer.rotate(-ang, resample=Image.BICUBIC)
    img.paste(layer, (int(round(cx - tw)), int(round(cy - tw))), layer)


def draw_labels(img, curves):
    street = font("DejaVuSansCondensed-Oblique.ttf", 9)
    along(img, curves["Dorfstrasse"], 0.22, "Dorfstrasse", street)
    along(img, curves["Dorfstrasse"], 0.80, "Dorfstrasse", street)
    along(img, curves["Schlossweg"], 0.45, "Schlossweg", street)
    along(img, curves["Rütiweg"], 0.45, "Rütiweg", street)
    along(img, curves["Oberdorfstrasse"], 0.42, "Oberdorfstrasse", street)
    along(img, curves["Mühleweg"], 0.62, "Mühleweg", street)
    along(img, curves["Schulweg"], 0.62, "Schulweg", street)
    along(img, curves["Kirchgasse"], 0.5, "Kirchgasse", street)
    along(img, curves["Weiherweg"], 0.45, "Weiherweg", street)
    along(img, curves["Sonnenweg"], 0.62, "Sonnenweg", street)

    water = font("DejaVuSans-Oblique.ttf", 9)
    along(img, catmull(STREAM), 0.30, "Brimsbach", water, fill=(40, 100, 170))
    halo_text(img, (POND[0], POND[1]), "Weiher", water, fill=(40, 100, 170), halo=1)

    place = font("DejaVuSans-Bold.ttf", 10)
    halo_text(img, (50, 70), "Schulhaus", place)
    halo_text(img, (50, 82), "Oberdorf", place)
    halo_text(img, (448, 12), "Schulhaus Rüti", place)
    halo_text(img, (246, 336), "Schloss", place)
    halo_text(img, (299, 142), "Kirche", font("DejaVuSans.ttf", 8), halo=1)

    title = font("DejaVuSans-Bold.ttf", 20)
    halo_text(img, (425, 246), "Brimsdorf", title, fill=(70, 64, 58), halo=3)


if __name__ == "__main__":
    main(sys.argv[1])
