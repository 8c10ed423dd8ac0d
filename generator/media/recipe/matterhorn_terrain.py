#!/usr/bin/python3
"""Terrain for the Matterhorn picture: height fields and colour maps for POV-Ray.

The world is laid out in the camera's frame (kilometres): x to the right, z away
from the camera, y up; the summit stands at x = z = 0 and the camera looks at it
from the east-north-east (azimuth 60 degrees from the summit), so the sunlit
east face is on the left, the shaded north face on the right and the Hoernli
ridge comes down towards the viewer between them.

Two fields are written: a fine one for the peak, the valley and the foreground,
and a coarse one for the far mountains around it.

usage: matterhorn_terrain.py OUTDIR [scale]   (scale < 1 for quick previews)
"""
import math
import os
import sys

import numpy as np
from PIL import Image

VIEW_AZIMUTH = 240.0  # geographic azimuth of the camera's view direction (+z)
Y0, Y1 = 1.0, 4.7     # height range stored in the 16-bit height fields (km)

INNER = dict(x0=-3.6, x1=3.6, z0=-7.4, z1=3.0, nx=2880, nz=4160)
OUTER = dict(x0=-22.0, x1=22.0, z0=-8.0, z1=36.0, nx=2048, nz=2048)


# ---------------------------------------------------------------- noise ----
class Noise:
    """Value noise on a wrapped lattice, quintic interpolation."""

    def __init__(self, seed, size=512):
        self.size = size
        self.grid = np.random.default_rng(seed).random((size, size)).astype(np.float32) * 2 - 1

    def __call__(self, x, y):
        n = self.size
        xf = np.floor(x)
        yf = np.floor(y)
        tx = (x - xf).astype(np.float32)
        ty = (y - yf).astype(np.float32)
        xi = xf.astype(np.int64) % n
        yi = yf.astype(np.int64) % n
        xj = (xi + 1) % n
        yj = (yi + 1) % n
        g = self.grid
        sx = tx * tx * tx * (tx * (tx * 6 - 15) + 10)
        sy = ty * ty * ty * (ty * (ty * 6 - 15) + 10)
        a = g[yi, xi] + (g[yi, xj] - g[yi, xi]) * sx
        b = g[yj, xi] + (g[yj, xj] - g[yj, xi]) * sx
        return a + (b - a) * sy


def fbm(noise, x, y, octaves, lacunarity=2.03, gain=0.5, ridged=False):
    total = np.zeros_like(x, dtype=np.float32)
    amp, norm = 1.0, 0.0
    c, s = math.cos(0.7), math.sin(0.7)
    for o in range(octaves):
        v = noise(x + 17.3 * o, y - 9.1 * o)
        if ridged:
            v = 1.0 - 2.0 * np.abs(v)
        total += amp * v
        norm += amp
        amp *= gain
        x, y = (x * c - y * s) * lacunarity, (x * s + y * c) * lacunarity
    return total / norm


def smoothstep(e0, e1, x):
    t = np.clip((x - e0) / (e1 - e0), 0.0, 1.0)
    return t * t * (3 - 2 * t)


def smax(a, b, k):
    h = np.clip(0.5 + 0.5 * (a - b) / k, 0.0, 1.0)
    return b + (a - b) * h + k * h * (1 - h)


# ------------------------------------------------------------ geometry ----
def to_geo(x, z):
    """Camera-frame offsets (right, away) to geographic (east, north)."""
    a = math.radians(VIEW_AZIMUTH)
    return x * math.cos(a) + z * math.sin(a), -x * math.sin(a) + z * math.cos(a)


def geo_dir(az):
    a = math.radians(az)
    return math.sin(a), math.cos(a)


def peak(e, n, nz):
    """The horn: four ridges with their own crest profiles, joined by steep faces."""
    H = 4.478
    # faces: (azimuth of the outward fall line, scale a, exponent p); concave, steepest at the top
    faces = [(2.0, 2.3, 0.70),    # north face
             (90.0, 2.1, 0.68),   # east face, seen in the sun
             (180.0, 2.0, 0.72),  # south face
             (268.0, 2.1, 0.72)]  # west face
    apex = [(0.0, 0.0), (-0.07, -0.02)]
    eps = 0.04
    g = None
    for az, a, p in faces:
        de, dn = geo_dir(az)
        sup = max(de * ax + dn * ay for ax, ay in apex)
        t = e * de + n * dn - sup
        tp = np.maximum(t, 0.0)
        gj = a * ((tp + eps) ** p - eps ** p) + a * p * eps ** (p - 1) * np.minimum(t, 0.0)
        # couloirs and ribs running down the fall line, patchy across the face
        lat = -e * dn + n * de
        rib = fbm(nz, lat * 30.0 + az, tp * 3.0 + az * 0.1, 4, ridged=True)
        patch = 0.5 + 0.5 * fbm(nz, lat * 4.0 + az, tp * 2.0, 3)
        gj = gj + 0.05 * smoothstep(0.03, 0.35, tp) * rib * patch
        g = gj if g is None else np.maximum(g, gj)
    h = H - g

    # ridges: (azimuth, [(distance, crest height)], lateral slope)
    ridges = [
        (47.0, [(0.0, 4.478), (0.10, 4.37), (0.28, 4.20), (0.42, 4.14), (0.75, 3.72), (1.3, 3.27), (2.0, 2.95), (2.8, 2.62), (4.0, 2.30)], 1.35),  # Hoernli
        (297.0, [(0.0, 4.478), (0.12, 4.43), (0.32, 4.10), (0.45, 3.98), (0.60, 3.93), (0.90, 3.55), (1.4, 3.20), (2.2, 2.95), (3.2, 2.60)], 1.4),  # Zmutt
        (128.0, [(0.0, 4.478), (0.08, 4.34), (0.22, 4.16), (0.30, 4.12), (0.55, 3.72), (0.80, 3.35), (1.2, 3.15), (2.0, 3.0)], 1.4),  # Furggen
        (236.0, [(0.0, 4.478), (0.25, 4.22), (0.45, 4.15), (0.80, 3.70), (1.3, 3.35), (2.0, 3.10)], 1.4),  # Lion
    ]
    for az, prof, slope in ridges:
        de, dn = geo_dir(az)
        s = e * de + n * dn
        lat = np.abs(-e * dn + n * de)
        ds = np.array([q[0] for q in prof])
        hs = np.array([q[1] for q in prof])
        crest = np.interp(s, ds, hs).astype(np.float32)
        crest = np.where(s < 0, hs[0] + s * 4.0, crest)
        crest = np.where(s > ds[-1], hs[-1] - (s - ds[-1]) * 0.3, crest)
        # jagged crest: gendarmes and notches
        crest = crest + 0.012 * fbm(nz, s * 16.0 + az, az * 0.3, 4) * smoothstep(0.03, 0.2, s)
        hr = crest - slope * lat * (1.0 + 0.15 * fbm(nz, s * 3.0, lat * 3.0 + az, 3))
        h = np.maximum(h, hr)
    return h


def regional(x, z, e, n, nz, coarse):
    """Valleys, glacier apron and the surrounding mountains."""
    # valley profile along the line of sight
    zp = np.array([-9.0, -7.25, -7.05, -6.8, -6.3, -5.2, -3.6, -2.6, -1.8, -1.0])
    hp = np.array([2.55, 2.70, 2.745, 2.70, 2.40, 2.05, 2.00, 2.30, 2.70, 2.95])
    base = np.interp(z, zp, hp).astype(np.float32)
    lat = np.abs(x)
    side = np.where(x < 0, 0.15, 0.12) * np.maximum(lat - 0.6, 0) ** 1.25
    base = base + side * smoothstep(-7.6, -6.0, z)
    # glacier apron around the foot of the peak
    r = np.sqrt((e + 0.15) ** 2 + (n - 0.05) ** 2)
    apron = 3.10 - 0.20 * r - 0.03 * r * r
    base = smax(base, apron, 0.25)
    big = fbm(nz, x * 0.35 + 40.0, z * 0.35 + 11.0, 5)
    mid = fbm(nz, x * 2.2 + 3.0, z * 2.2 + 5.0, 5, ridged=True)
    base = base + 0.15 * big * smoothstep(-5.0, 2.0, z + 0.2 * lat) + 0.05 * mid
    if not coarse:
        fine = fbm(nz, x * 14.0, z * 14.0, 5, ridged=True)
        base = base + 0.012 * fine
        # the ridge the photographer stands on: rocks and hummocks
        near = np.exp(-((z + 7.05) / 0.35) ** 2)
        base = base + near * (0.010 * fbm(nz, x * 60.0, z * 60.0, 4) + 0.006 * fbm(nz, x * 200.0, z * 200.0, 3, ridged=True))
    # distant ranges: Dent d'Herens side on the right, Italian mountains on the left
    far = np.zeros_like(x)
    for cx, cz, hh, rad in [(3.6, 4.6, 4.10, 3.6), (6.5, 6.5, 3.95, 3.0), (9.5, 5.0, 3.7, 3.2),
                            (12.5, 10.0, 3.9, 4.0), (-4.0, 6.5, 3.45, 2.6), (-8.0, 9.0, 3.6, 3.5),
                            (-12.0, 6.0, 3.3, 4.0), (0.5, 14.0, 3.3, 4.5), (-3.0, 18.0, 3.6, 5.0),
                            (6.0, 20.0, 3.8, 5.0), (-16.0, 16.0, 3.9, 6.0)]:
        d = np.sqrt((x - cx) ** 2 + (z - cz) ** 2) / rad
        m = hh - 1.3 * (hh - 2.0) * d ** 0.8 * (1 + 0.25 * fbm(nz, x * 0.8 + cx, z * 0.8 + cz, 4))
        far = np.maximum(far, m + 0.12 * fbm(nz, x * 3.0 + cz, z * 3.0 + cx, 5, ridged=True))
    far = np.where(z > 0.5, far, far - 0.4 * (0.5 - z) ** 2)
    return np.maximum(base, far)


def terrain(spec, scale, coarse):
    nx = max(64, int(spec["nx"] * scale))
    nzr = max(64, int(spec["nz"] * scale))
    xs = np.linspace(spec["x0"], spec["x1"], nx, dtype=np.float32)
    zs = np.linspace(spec["z1"], spec["z0"], nzr, dtype=np.float32)  # row 0 is the far edge
    x, z = np.meshgrid(xs, zs)
    e, n = to_geo(x, z)
    nz = Noise(4478)
    h = regional(x, z, e, n, nz, coarse)
    p = peak(e, n, nz)
    h = smax(p, h, 0.12)
    # strata: the gneiss breaks into ledges that hold snow
    strata = fbm(nz, x * 1.5 + 7.0, z * 1.5, 3) * 0.03 + 0.10 * e - 0.05 * n
    step = 0.045
    u = (h + strata) / step
    frac = u - np.floor(u)
    terr = np.floor(u) + frac ** 1.6
    steep_mask = smoothstep(3.4, 3.9, h)
    h = h + steep_mask * (terr - u) * step * 0.6
    if not coarse:
        h = h + 0.004 * fbm(nz, x * 90.0, z * 90.0, 4, ridged=True) * smoothstep(3.2, 3.6, h)
    return h.astype(np.float32), xs, zs


def colours(h, xs, zs, nz):
    dx = (xs[1] - xs[0]) * 1000.0
    dz = (zs[0] - zs[1]) * 1000.0
    gy, gx = np.gradient(h * 1000.0, dz, dx)
    slope = np.degrees(np.arctan(np.hypot(gx, gy)))
    x, z = np.meshgrid(xs, zs)
    n1 = fbm(nz, x * 40.0, z * 40.0, 5)
    n2 = fbm(nz, x * 6.0 + 3.0, z * 6.0, 4)
    n3 = fbm(nz, x * 250.0, z * 250.0, 3)
    # snow holds on slopes below a limit that rises with height; lower down it melts away
    # shaded north-facing slopes keep more snow than the sunny east face
    down = np.stack([-gx, gy]) / np.maximum(np.hypot(gx, gy), 1e-6)
    north = down[0] * 0.866 - down[1] * 0.5
    limit = 30.0 + 20.0 * smoothstep(2.5, 3.6, h) + 9.0 * n1 + 4.0 * n2 + 6.0 * north
    snow = smoothstep(limit + 3.0, limit - 3.0, slope)
    snowline = 2.62 + 0.10 * n2 + 0.04 * n1
    snow *= smoothstep(snowline - 0.05, snowline + 0.05, h)
    snow = np.clip(snow + 0.5 * smoothstep(0.2, 0.6, n3) * smoothstep(2.9, 3.1, h) * (slope < 60), 0, 1)
    rock_warm = np.stack([0.20, 0.160, 0.125])
    rock_dark = np.stack([0.085, 0.075, 0.068])
    t = np.clip(0.5 + 0.9 * n1 + 0.4 * n3, 0, 1)[..., None]
    rock = rock_dark * (1 - t) + rock_warm * t
    meadow = np.stack([0.085, 0.10, 0.038])
    scree = np.stack([0.16, 0.15, 0.14])
    low = smoothstep(2.35, 2.75, h + 0.1 * n2)[..., None]
    ground = meadow * (1 - low) + scree * low
    g_mix = smoothstep(42.0, 32.0, slope + 6 * n1)[..., None]
    base = rock * (1 - g_mix) + ground * g_mix
    snow_c = np.stack([0.80, 0.82, 0.86]) * (0.93 + 0.07 * np.clip(n3, -1, 1))[..., None]
    col = base * (1 - snow[..., None]) + snow_c * snow[..., None]
    return col


def save(h, col, out, name):
    hh = np.clip((h - Y0) / (Y1 - Y0), 0, 1)
    Image.fromarray((hh * 65535 + 0.5).astype(np.uint16)).save(os.path.join(out, name + "_h.png"))
    c8 = (np.clip(col, 0, 1) ** (1 / 2.2) * 255 + 0.5).astype(np.uint8)
    Image.fromarray(c8, "RGB").save(os.path.join(out, name + "_c.png"))


def main():
    out = sys.argv[1]
    scale = float(sys.argv[2]) if len(sys.argv) > 2 else 1.0
    os.makedirs(out, exist_ok=True)
    nz = Noise(1865)
    hi, xs, zs = terrain(INNER, scale, False)
    save(hi, colours(hi, xs, zs, nz), out, "inner")
    ho, xs, zs = terrain(OUTER, min(1.0, scale * 2), True)
    x, z = np.meshgrid(xs, zs)
    inside = (x > INNER["x0"] + 0.05) & (x < INNER["x1"] - 0.05) & (z > INNER["z0"] + 0.05) & (z < INNER["z1"] - 0.05)
    ho = np.where(inside, ho - 0.25, ho)
    save(ho, colours(ho, xs, zs, nz), out, "outer")
    with open(os.path.join(out, "fields.inc"), "w") as f:
        for name, s in (("INNER", INNER), ("OUTER", OUTER)):
            f.write("#declare %s_X0 = %g; #declare %s_X1 = %g;\n" % (name, s["x0"], name, s["x1"]))
            f.write("#declare %s_Z0 = %g; #declare %s_Z1 = %g;\n" % (name, s["z0"], name, s["z1"]))
        f.write("#declare FIELD_Y0 = %g; #declare FIELD_Y1 = %g;\n" % (Y0, Y1))


if __name__ == "__main__":
    main()
