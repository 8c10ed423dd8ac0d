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

    def __init__(self, seed, size=1024):
        self.size = size
        self.flat = (np.random.default_rng(seed).random(size * size).astype(np.float32) * 2 - 1)

    def __call__(self, x, y):
        m = self.size - 1
        xf = np.floor(x)
        yf = np.floor(y)
        tx = (x - xf).astype(np.float32)
        ty = (y - yf).astype(np.float32)
        xi = xf.astype(np.int32) & m
        yi = yf.astype(np.int32) & m
        xj = (xi + 1) & m
        r0 = yi * self.size
        r1 = ((yi + 1) & m) * self.size
        g = self.flat
        sx = tx * tx * tx * (tx * (tx * 6 - 15) + 10)
        sy = ty * ty * ty * (ty * (ty * 6 - 15) + 10)
        g00 = g.take(r0 + xi)
        a = g00 + (g.take(r0 + xj) - g00) * sx
        g10 = g.take(r1 + xi)
        b = g10 + (g.take(r1 + xj) - g10) * sx
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


def polar(az, dist):
    de, dn = geo_dir(az)
    return dist * de, dist * dn


# ridges from the summit: (azimuth, distance, crest height) of each bend
RIDGES = {
    "Hoernli": [(47, 0.10, 4.36), (47, 0.26, 4.17), (47, 0.40, 4.12), (48, 0.70, 3.68), (49, 1.1, 3.22),
                (51, 1.5, 3.02), (54, 2.0, 2.72), (57, 2.6, 2.25), (60, 3.2, 1.80)],
    "Zmutt": [(297, 0.16, 4.42), (297, 0.36, 4.06), (296, 0.50, 3.97), (295, 0.70, 3.92), (293, 1.05, 3.58),
              (290, 1.6, 3.25), (287, 2.4, 2.98), (285, 3.4, 2.62)],
    "Furggen": [(128, 0.07, 4.32), (128, 0.20, 4.12), (129, 0.28, 4.08), (130, 0.52, 3.68), (132, 0.80, 3.35),
                (135, 1.2, 3.15), (140, 2.0, 3.08), (146, 2.8, 3.28), (150, 3.5, 3.36), (153, 4.3, 3.10)],
    "Lion": [(236, 0.25, 4.22), (236, 0.45, 4.15), (238, 0.80, 3.70), (240, 1.3, 3.35), (242, 2.0, 3.10)],
}
RIDGE_SLOPE = 1.7


def segment(e, n, a, b):
    """Parameter along segment a-b (clamped) and distance of each point from it."""
    ax, ay = a
    bx, by = b
    vx, vy = bx - ax, by - ay
    ll = vx * vx + vy * vy
    t = np.clip(((e - ax) * vx + (n - ay) * vy) / ll, 0.0, 1.0)
    dx, dy = e - (ax + t * vx), n - (ay + t * vy)
    return t, np.sqrt(dx * dx + dy * dy)


def peak(e, n, jag, wobble):
    """The horn: four ridges with their own crest profiles, joined by steep concave faces.

    jag and wobble are noise fields over the grid: gendarmes on the crests and
    the varying steepness of the flanks."""
    H = 4.478
    h = np.full_like(e, -10.0)
    for k, (name, bends) in enumerate(RIDGES.items()):
        pts = [((0.0, 0.0), H)] + [(polar(az, d), hh) for az, d, hh in bends]
        along = 0.0
        for (pa, ha), (pb, hb) in zip(pts[:-1], pts[1:]):
            t, lat = segment(e, n, pa, pb)
            ln = math.dist(pa, pb)
            s = along + t * ln
            crest = ha + t * (hb - ha)
            # gendarmes and notches along the crest, none on the summit itself
            crest = crest + 0.012 * jag * smoothstep(0.03, 0.2, s)
            # the flanks get gentler where the ridges run out into the glaciers
            slope = RIDGE_SLOPE * (0.35 + 0.65 * smoothstep(3.0, 3.7, crest)) * (1.0 + 0.18 * wobble)
            h = np.maximum(h, crest - slope * lat)
            along += ln
    # buttresses on the two faces that face the camera, running down the fall line
    rng = np.random.default_rng(48)
    ribs = np.zeros_like(e)
    for centre, spread, count in ((88.0, 30.0, 11), (3.0, 32.0, 9)):
        for _ in range(count):
            az0 = centre + rng.uniform(-spread, spread)
            r0 = rng.uniform(0.06, 0.35)
            length = rng.uniform(0.35, 1.1)
            a = polar(az0, r0)
            fall = az0 + rng.uniform(-10, 10)
            de, dn = geo_dir(fall)
            b = (a[0] + de * length, a[1] + dn * length)
            t, d = segment(e, n, a, b)
            w = rng.uniform(0.035, 0.08)
            amp = rng.uniform(0.015, 0.04)
            fade = smoothstep(0.0, 0.15, t) * smoothstep(1.0, 0.7, t)
            ribs = np.maximum(ribs, amp * np.clip(1.0 - d / w, 0.0, 1.0) ** 1.5 * fade)
    h = h + ribs * smoothstep(0.05, 0.25, np.sqrt(e * e + n * n))
    return h


def regional(x, z, e, n, nz, coarse):
    """Valleys, glacier apron and the surrounding mountains."""
    # valley profile along the line of sight
    zp = np.array([-9.0, -7.3, -7.0, -6.6, -6.35, -6.0, -5.2, -3.6, -2.6, -1.8, -1.0])
    hp = np.array([2.55, 2.74, 2.76, 2.70, 2.62, 2.40, 2.05, 2.00, 2.30, 2.70, 2.95])
    base = np.interp(z, zp, hp).astype(np.float32)
    lat = np.abs(x)
    side = np.where(x < 0, 0.11, 0.09) * np.maximum(lat - 0.6, 0) ** 1.25
    base = base + side * smoothstep(-7.6, -6.0, z)
    # glacier apron around the foot of the peak
    r = np.sqrt((e + 0.15) ** 2 + (n - 0.05) ** 2)
    apron = 3.05 - 0.20 * r - 0.03 * r * r
    base = smax(base, apron, 0.25)
    big = fbm(nz, x * 0.35 + 40.0, z * 0.35 + 11.0, 5)
    mid = fbm(nz, x * 2.2 + 3.0, z * 2.2 + 5.0, 5, ridged=True)
    base = base + 0.15 * big * smoothstep(-5.0, 2.0, z + 0.2 * lat) + (0.05 + 0.03 * smoothstep(-3.5, -1.0, z)) * mid
    if not coarse:
        fine = fbm(nz, x * 14.0, z * 14.0, 5, ridged=True)
        base = base + 0.012 * fine
        # the ridge the photographer stands on: rocks and hummocks
        near = np.exp(-((z + 6.6) / 0.45) ** 2)
        base = base + near * (0.003 * fbm(nz, x * 40.0, z * 40.0, 4) + 0.0015 * fbm(nz, x * 160.0, z * 160.0, 4, ridged=True))
    # distant ranges: Dent d'Herens side on the right, Italian mountains on the left
    far = np.zeros_like(x)
    f1 = fbm(nz, x * 0.8 + 5.0, z * 0.8 + 2.0, 4)
    f2 = fbm(nz, x * 3.0 - 7.0, z * 3.0 + 1.0, 5, ridged=True)
    for cx, cz, hh, rad in [(2.9, 4.6, 3.98, 2.6), (6.5, 6.5, 3.95, 3.0), (9.5, 5.0, 3.7, 3.2),
                            (-2.6, 6.0, 3.55, 2.5), (-4.5, 9.0, 3.70, 3.5),
                            (12.5, 10.0, 3.9, 4.0), (-4.0, 6.5, 3.45, 2.6), (-8.0, 9.0, 3.6, 3.5),
                            (-12.0, 6.0, 3.3, 4.0), (0.5, 14.0, 3.3, 4.5), (-3.0, 18.0, 3.6, 5.0),
                            (6.0, 20.0, 3.8, 5.0), (-16.0, 16.0, 3.9, 6.0)]:
        d = np.sqrt((x - cx) ** 2 + (z - cz) ** 2) / rad
        far = np.maximum(far, hh - 1.3 * (hh - 2.0) * d ** 1.15 * (1 + 0.25 * f1))
    far = far + 0.12 * f2
    far = np.where(z > 0.5, far, far - 0.4 * (0.5 - z) ** 2)
    return np.maximum(base, far)


def blur(a, radius):
    """Three passes of a separable box filter (close to a Gaussian)."""
    r = max(1, int(round(radius)))
    out = a.astype(np.float32)
    for axis in (0, 1):
        for _ in range(3):
            pad = [(0, 0), (0, 0)]
            pad[axis] = (r + 1, r)
            c = np.cumsum(np.pad(out, pad, mode="edge"), axis=axis, dtype=np.float64)
            if axis == 0:
                out = ((c[2 * r + 1:] - c[:-2 * r - 1]) / (2 * r + 1)).astype(np.float32)
            else:
                out = ((c[:, 2 * r + 1:] - c[:, :-2 * r - 1]) / (2 * r + 1)).astype(np.float32)
    return out


def terrain(spec, scale, coarse):
    nx = max(64, int(spec["nx"] * scale))
    nzr = max(64, int(spec["nz"] * scale))
    xs = np.linspace(spec["x0"], spec["x1"], nx, dtype=np.float32)
    zs = np.linspace(spec["z1"], spec["z0"], nzr, dtype=np.float32)  # row 0 is the far edge
    x, z = np.meshgrid(xs, zs)
    e, n = to_geo(x, z)
    nz = Noise(4478)
    h_reg = regional(x, z, e, n, nz, coarse)
    # the summit block leans east: shift the upper part of the horn that way
    jag = fbm(nz, e * 18.0 + 31.0, n * 18.0, 4)
    wobble = fbm(nz, e * 4.0 + 7.0, n * 4.0, 3)
    h_pk = peak(e, n, jag, wobble)
    for _ in range(2):
        lean = 0.24 * smoothstep(3.75, 4.478, h_pk) ** 1.6
        h_pk = peak(e - lean, n, jag, wobble)
    h = smax(h_pk, h_reg, 0.12)
    on_peak = smoothstep(-0.06, 0.08, h_pk - h_reg) * smoothstep(3.0, 3.4, h)
    # buttresses and couloirs: ribs that run down the fall lines and gather at the summit
    r = np.sqrt(x * x + z * z)
    th = np.arctan2(x, -z)  # 0 towards the camera; the seam lies hidden behind the peak
    rib1 = fbm(nz, th * 9.0 + 3.0, r * 3.5, 4, ridged=True)
    lump = fbm(nz, x * 22.0 + 2.0, z * 22.0, 4, ridged=True)
    grow = smoothstep(0.01, 0.2, r)
    h = h + on_peak * grow * (0.025 * rib1 + 0.02 * lump)
    # strata: the gneiss breaks into ledges that hold snow
    strata = fbm(nz, x * 3.0 + 7.0, z * 3.0, 3) * 0.06 + 0.10 * e - 0.05 * n
    step = 0.055
    u = (h + strata) / step
    frac = u - np.floor(u)
    terr = np.floor(u) + frac ** 1.5
    h = h + on_peak * (terr - u) * step * 0.35
    if not coarse:
        h = h + 0.008 * fbm(nz, x * 70.0, z * 70.0, 4, ridged=True) * on_peak
    return h.astype(np.float32), xs, zs, on_peak, frac


def colours(h, xs, zs, nz, on_peak, ledge):
    dx = (xs[1] - xs[0]) * 1000.0
    dz = (zs[0] - zs[1]) * 1000.0
    hm = h * 1000.0
    # slope over about 8 m, so that snow lies in patches rather than in specks
    gy, gx = np.gradient(blur(hm, 4.0 / dx), dz, dx)
    slope = np.degrees(np.arctan(np.hypot(gx, gy)))
    # curvature at about 25 m: positive in gullies and hollows, negative on ribs
    sm = blur(hm, 25.0 / dx)
    lap = (np.roll(sm, 1, 0) + np.roll(sm, -1, 0) + np.roll(sm, 1, 1) + np.roll(sm, -1, 1) - 4 * sm) / (dx * dx)
    concave = np.tanh(lap / (np.std(lap) + 1e-9))
    x, z = np.meshgrid(xs, zs)
    n1 = fbm(nz, x * 40.0, z * 40.0, 5)
    n2 = fbm(nz, x * 6.0 + 3.0, z * 6.0, 4)
    n3 = fbm(nz, x * 250.0, z * 250.0, 3)
    # shaded north-facing slopes keep more snow than the sunny east face
    down = np.stack([-gx, gy]) / np.maximum(np.hypot(gx, gy), 1e-6)
    north = down[0] * 0.866 - down[1] * 0.5
    limit = 33.0 + 20.0 * smoothstep(2.6, 3.5, h) + 8.0 * n1 + 4.0 * n2 + 6.0 * north + 14.0 * concave
    snow = smoothstep(limit + 3.0, limit - 3.0, slope)
    # snow bands on the ledges of the strata, broken up along their length
    bands = smoothstep(0.32, 0.12, ledge) * smoothstep(0.05, 0.4, n1 + 0.6 * n2) * (slope < 72)
    snow = np.maximum(snow, bands * on_peak * smoothstep(3.3, 3.6, h))
    snowline = 2.86 + 0.16 * n2 + 0.06 * n1 + 0.15 * smoothstep(30.0, 45.0, slope)
    snow *= smoothstep(snowline - 0.04, snowline + 0.04, h)
    rock_light = np.array([0.175, 0.122, 0.078])
    rock_dark = np.array([0.055, 0.046, 0.040])
    band = fbm(nz, (h + 0.02 * n2) * 60.0, x * 0.5, 2)
    t = np.clip(0.45 + 0.6 * n1 + 0.3 * band + 0.25 * n3 - 0.3 * concave, 0, 1)[..., None]
    rock = rock_dark * (1 - t) + rock_light * t
    # away from the horn the rock is a cooler grey
    grey = np.array([0.085, 0.080, 0.074]) * (0.8 + 0.4 * t)
    rock = rock * on_peak[..., None] + grey * (1 - on_peak[..., None])
    # crevices stay darker than the ribs between them (light that never reaches in)
    sm_fine = blur(hm, 6.0 / dx)
    lap_f = (np.roll(sm_fine, 1, 0) + np.roll(sm_fine, -1, 0) + np.roll(sm_fine, 1, 1)
             + np.roll(sm_fine, -1, 1) - 4 * sm_fine)
    rock = rock * (1.0 - 0.35 * np.clip(np.tanh(lap_f / (np.std(lap_f) + 1e-9)), 0, 1))[..., None]
    forest = np.array([0.014, 0.022, 0.012])
    meadow = np.array([0.055, 0.058, 0.028])
    scree = np.array([0.15, 0.14, 0.13])
    hh = (h + 0.06 * n2)[..., None]
    trees = (smoothstep(0.05, 0.15, n2 + 0.3 * n1 + 2.0 * (2.3 - hh[..., 0])) * (0.7 + 0.3 * n3))[..., None]
    ground = meadow + (forest - meadow) * trees
    ground = ground + (scree - ground) * smoothstep(2.8, 3.0, hh)
    # dry grass and stones where the photographer stands
    stones = smoothstep(0.35, 0.6, n3)[..., None]
    grass = np.array([0.075, 0.062, 0.034]) * (0.7 + 0.5 * (0.5 + 0.5 * n1))[..., None]
    near = smoothstep(-6.1, -6.5, z)[..., None]
    ground = ground * (1 - near) + (grass * (1 - stones) + np.array([0.15, 0.14, 0.13]) * stones) * near
    g_mix = smoothstep(46.0, 34.0, slope + 6 * n1)[..., None] * (1 - on_peak[..., None])
    base = rock * (1 - g_mix) + ground * g_mix
    snow_c = np.array([0.80, 0.82, 0.86]) * (0.94 + 0.06 * np.clip(n3, -1, 1))[..., None]
    return base * (1 - snow[..., None]) + snow_c * snow[..., None]


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
    hi, xs, zs, pk, lg = terrain(INNER, scale, False)
    save(hi, colours(hi, xs, zs, nz, pk, lg), out, "inner")
    ho, xs, zs, pk, lg = terrain(OUTER, min(1.0, scale * 2), True)
    x, z = np.meshgrid(xs, zs)
    inside = (x > INNER["x0"] + 0.05) & (x < INNER["x1"] - 0.05) & (z > INNER["z0"] + 0.05) & (z < INNER["z1"] - 0.05)
    ho = np.where(inside, ho - 0.25, ho)
    save(ho, colours(ho, xs, zs, nz, pk, lg), out, "outer")
    with open(os.path.join(out, "fields.inc"), "w") as f:
        for name, s in (("INNER", INNER), ("OUTER", OUTER)):
            f.write("#declare %s_X0 = %g; #declare %s_X1 = %g;\n" % (name, s["x0"], name, s["x1"]))
            f.write("#declare %s_Z0 = %g; #declare %s_Z1 = %g;\n" % (name, s["z0"], name, s["z1"]))
        f.write("#declare FIELD_Y0 = %g; #declare FIELD_Y1 = %g;\n" % (Y0, Y1))


if __name__ == "__main__":
    main()
