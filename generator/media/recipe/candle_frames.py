#!/usr/bin/python3
"""Frames of the looping candle video: 141 PNG frames of 320 x 180.

Every moving part (flame height, width and sway, brightness, the glow on wax
and wall) is a sum of sines with a whole number of periods over the 141
frames, so the last frame runs straight into the first.

usage: candle_frames.py OUTDIR
"""
import math
import os
import sys

import numpy as np
from PIL import Image

W, H = 320, 180
SS = 2                # supersampling
FRAMES = 141

rng = np.random.default_rng(1377)


def periodic(n_terms, base_cycles, amp, decay=0.7):
    """A smooth loop signal: sum of sines with integer cycles per loop."""
    cycles = base_cycles + np.arange(n_terms) * 2 + rng.integers(0, 2, n_terms)
    phases = rng.random(n_terms) * 2 * math.pi
    amps = amp * decay ** np.arange(n_terms)

    def f(t):  # t in [0, 1)
        return sum(a * math.sin(2 * math.pi * c * t + p) for a, c, p in zip(amps, cycles, phases))
    return f


HEIGHT = periodic(5, 3, 0.06)
FLUTTER = periodic(4, 11, 0.025)
WIDTH = periodic(4, 4, 0.05)
SWAY = periodic(5, 2, 0.9)
SWAY_FAST = periodic(4, 9, 0.35)
GLOW = periodic(5, 5, 0.05)


def smoothstep(e0, e1, x):
    t = np.clip((x - e0) / (e1 - e0), 0.0, 1.0)
    return t * t * (3 - 2 * t)


def frame(i):
    t = i / FRAMES
    w, h = W * SS, H * SS
    ys, xs = np.mgrid[0:h, 0:w].astype(np.float32) / SS
    img = np.zeros((h, w, 3), np.float32)

    cx = 160.0
    top = 104.0           # top rim of the candle
    rad = 23.0            # candle radius
    wick_y = top - 3.0
    bright = 1.0 + GLOW(t) + 0.5 * FLUTTER(t)
    fh = 46.0 * (1.0 + HEIGHT(t) + FLUTTER(t))      # flame height
    fw = 7.2 * (1.0 + WIDTH(t) - 0.4 * HEIGHT(t))   # flame half width
    sway = SWAY(t) + SWAY_FAST(t)
    fx, fy = cx + 0.3 * sway, wick_y - 0.45 * fh     # flame centre

    # background: warm wall lit by the flame, darker far away
    dx, dy = xs - fx, (ys - fy) * 1.15
    d = np.sqrt(dx * dx + dy * dy)
    wall = np.array([0.045, 0.022, 0.010]) + np.array([0.55, 0.26, 0.09])[None, None, :] * (
        bright * np.exp(-d / 70.0))[..., None] * 0.55
    img[:] = wall
    # table top with the light pool at the candle's foot
    table = ys > 158
    tdx, tdy = (xs - cx) / 1.0, (ys - 163.0) * 4.0
    pool = np.exp(-np.sqrt(tdx * tdx + tdy * tdy) / 80.0) * bright
    tab = np.array([0.06, 0.030, 0.014])[None, None, :] + np.array([0.40, 0.19, 0.07])[None, None, :] * pool[..., None] * 0.6
    img = np.where(table[..., None], tab, img)
    edge = np.exp(-((ys - 158.0) / 0.8) ** 2)[..., None] * 0.04
    img = img + edge * np.array([1.0, 0.6, 0.3])

    # candle body: cylinder with soft side shading and light from the top
    u = (xs - cx) / rad
    body = (np.abs(u) < 1.0) & (ys > top) & (ys < 162.0 - 4.0 * (1 - np.sqrt(np.clip(1 - u * u, 0, 1))))
    shade = np.sqrt(np.clip(1 - u * u, 0, 1))
    down = np.clip((ys - top) / 60.0, 0, 1)
    wax = np.array([1.0, 0.60, 0.30])
    light = (0.05 + 0.62 * shade ** 1.3 * (1.0 - 0.75 * down)) * bright
    # light scattered in the wax just below the rim
    glow = np.exp(-(ys - top) / 12.0) * 0.6 * bright * (0.5 + 0.5 * shade)
    col = wax[None, None, :] * light[..., None] + np.array([1.0, 0.55, 0.18])[None, None, :] * glow[..., None]
    img = np.where(body[..., None], col, img)
    # top face of the candle: an ellipse with a shallow pool of molten wax
    ex, ey = (xs - cx) / rad, (ys - top) / 5.0
    rim = ex * ex + ey * ey
    topf = rim < 1.0
    pool_c = np.array([1.0, 0.72, 0.36]) * (0.75 + 0.25 * (1 - rim))[..., None] * bright
    img = np.where(topf[..., None], pool_c * 0.95, img)
    ring = np.exp(-((np.sqrt(rim) - 1.0) / 0.05) ** 2) * (ys > top - 5)
    img = img + (ring * 0.35 * bright)[..., None] * np.array([1.0, 0.8, 0.5])

    # wick: a short dark curve, glowing at the tip
    wy = np.clip((wick_y + 1.5 - ys) / 9.0, 0, 1)
    wick_x = cx + 0.25 * sway * wy + 1.2 * wy * wy
    wick = (np.abs(xs - wick_x) < 0.9) & (ys < wick_y + 1.5) & (ys > wick_y - 7.5)
    img = np.where(wick[..., None], np.array([0.05, 0.03, 0.02]) + np.array([1.2, 0.35, 0.05]) * wy[..., None] ** 3, img)

    # flame: a teardrop bent by the sway, blue at the foot, white-yellow core, orange rim
    v = (wick_y + 2.0 - ys) / fh                  # 0 at the foot, 1 at the tip
    bend = sway * v * v * 1.6
    qx = (xs - cx - bend) / fw
    prof = np.where(v < 0.25, np.sqrt(np.clip(v / 0.25, 0, 1)) * (1.0 - 0.1 * (0.25 - v) / 0.25),
                    np.clip(1.0 - np.clip((v - 0.25) / 0.75, 0, 1) ** 1.6, 0, 1) ** 0.9)
    prof = np.maximum(prof, 1e-3)
    r = np.abs(qx) / prof
    inside = (v > 0) & (v < 1.0)
    body_f = smoothstep(1.0, 0.55, r) * inside
    core = smoothstep(0.75, 0.05, r) * smoothstep(0.10, 0.30, v) * smoothstep(0.95, 0.55, v) * inside
    blue = smoothstep(1.0, 0.3, r) * smoothstep(0.30, 0.02, v) * (v > -0.03)
    flame = (np.array([1.0, 0.45, 0.08])[None, None, :] * body_f[..., None] * 1.3
             + np.array([1.0, 0.92, 0.70])[None, None, :] * core[..., None] * 1.6
             + np.array([0.15, 0.25, 0.9])[None, None, :] * blue[..., None] * 0.55)
    img = img + flame * bright
    # halo around the flame
    hx, hy = xs - (cx + 0.5 * sway), (ys - fy) * 0.75
    hd = np.sqrt(hx * hx + hy * hy)
    img = img + np.array([1.0, 0.6, 0.25])[None, None, :] * ((np.exp(-hd / 12.0) * 0.30 + np.exp(-hd / 40.0) * 0.10) * bright)[..., None]

    # tone curve and downsampling
    img = 1.0 - np.exp(-img * 1.25)
    img = np.clip(img, 0, 1) ** (1 / 1.15)
    small = img.reshape(H, SS, W, SS, 3).mean(axis=(1, 3))
    return Image.fromarray((small * 255 + 0.5).astype(np.uint8), "RGB")


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for i in range(FRAMES):
        frame(i).save(os.path.join(out, "f%03d.png" % i))


if __name__ == "__main__":
    main()
