#!/usr/bin/python3
"""Adds sky and aerial haze to the POV-Ray passes and writes the JPEG.

usage: matterhorn_finish.py TERRAIN.ppm DEPTH.ppm OUT.jpg [quality]
  TERRAIN.ppm  16-bit linear colour of the terrain on black
  DEPTH.ppm    16-bit; red: distance from the camera (1.0 = 100 km) times
               coverage, green: coverage (0 where the sky shows)
"""
import math
import sys

import numpy as np
from PIL import Image, ImageFilter

CAM = np.array([0.0, 2.79, -7.0])
LOOK = np.array([-0.12, 3.58, 0.0])
ANGLE = 33.0
SUN = np.array([math.sin(math.radians(-90)) * math.cos(math.radians(33)), math.sin(math.radians(33)),
                math.cos(math.radians(-90)) * math.cos(math.radians(33))])


def read_ppm16(path):
    """16-bit binary PPM as floats in 0..1."""
    data = open(path, "rb").read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    pos += 1
    w, h, maxval = int(fields[1]), int(fields[2]), int(fields[3])
    dt = ">u2" if maxval > 255 else "u1"
    a = np.frombuffer(data, dtype=dt, count=w * h * 3, offset=pos)
    return a.reshape(h, w, 3).astype(np.float32) / maxval


def ray_dirs(w, h):
    f = LOOK - CAM
    f /= np.linalg.norm(f)
    r = np.cross([0.0, 1.0, 0.0], f)
    r /= np.linalg.norm(r)
    u = np.cross(f, r)
    aspect = w / h
    dist = (aspect / 2) / math.tan(math.radians(ANGLE / 2))
    px = (np.arange(w) + 0.5) / w - 0.5
    py = 0.5 - (np.arange(h) + 0.5) / h
    X, Y = np.meshgrid(px * aspect, py)
    d = f[None, None, :] * dist + r[None, None, :] * X[..., None] + u[None, None, :] * Y[..., None]
    return d / np.linalg.norm(d, axis=2, keepdims=True)


def sky(d):
    el = np.clip(d[..., 1], 0.0, 1.0)
    t = np.sqrt(np.clip(el / 0.45, 0, 1))
    horizon = np.array([0.50, 0.62, 0.80])
    zenith = np.array([0.045, 0.14, 0.42])
    c = horizon * (1 - t[..., None]) + zenith * t[..., None]
    cos_sun = np.clip((d * SUN).sum(axis=2), -1, 1)
    c = c * (1 + 0.35 * np.clip(cos_sun + 0.2, 0, None)[..., None] ** 2)
    return c


def tonemap(x):
    a, b, c, d, e = 2.51, 0.03, 2.43, 0.59, 0.14
    y = np.clip((x * (a * x + b)) / (x * (c * x + d) + e), 0, 1)
    return np.where(y <= 0.0031308, 12.92 * y, 1.055 * np.power(y, 1 / 2.4) - 0.055)


def main():
    rgb = read_ppm16(sys.argv[1])
    dpass = read_ppm16(sys.argv[2])
    depth = dpass[..., 0] * 100.0
    alpha = dpass[..., 1:2]
    out = sys.argv[3]
    quality = int(sys.argv[4]) if len(sys.argv) > 4 else 88
    h, w = rgb.shape[:2]
    d = ray_dirs(w, h)
    s = sky(d)
    # the terrain pass is premultiplied on black: undo that for the edge pixels
    safe = np.maximum(alpha, 1e-4)
    land = rgb / safe
    dist = depth / safe[..., 0]
    trans = np.exp(-dist / 38.0)[..., None]
    haze = np.array([0.52, 0.62, 0.78]) * 1.05
    land = land * trans + haze * (1 - trans)
    img = land * alpha + s * (1 - alpha)
    # a lens darkens the corners a little
    yy, xx = np.mgrid[0:h, 0:w].astype(np.float32)
    rr = ((xx - w / 2) / (w / 2)) ** 2 + ((yy - h / 2) / (h / 2)) ** 2
    img = img * (1.0 - 0.10 * rr)[..., None]
    img = tonemap(img * 0.62)
    out_img = Image.fromarray((img * 255 + 0.5).astype(np.uint8), "RGB")
    out_img = out_img.filter(ImageFilter.UnsharpMask(radius=1.2, percent=45, threshold=2))
    out_img.save(
        out, quality=quality, optimize=True, progressive=False, subsampling=2)


if __name__ == "__main__":
    main()
