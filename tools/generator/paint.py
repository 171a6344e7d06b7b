# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
"""A small procedural painter: noise, blur, layers, and a shaded horse model.

Pictures are painted at twice their final size on float RGB canvases (0..1)
and averaged down, which anti-aliases every edge.
"""

import math

import numpy as np
from PIL import Image, ImageDraw

SS = 2  # supersampling factor


# ---------------------------------------------------------------- noise

class Noise:
    """Seeded 2-D value noise, sampled at arbitrary coordinates."""

    def __init__(self, seed):
        rng = np.random.default_rng(seed)
        self.perm = np.concatenate([rng.permutation(256)] * 2)
        self.vals = rng.random(256)

    def _h(self, i, j):
        return self.vals[self.perm[(self.perm[i & 255] + j) & 255]]

    def __call__(self, x, y):
        x = np.asarray(x, np.float64)
        y = np.asarray(y, np.float64)
        xi = np.floor(x).astype(np.int64)
        yi = np.floor(y).astype(np.int64)
        xf = x - xi
        yf = y - yi
        u = xf * xf * (3 - 2 * xf)
        v = yf * yf * (3 - 2 * yf)
        a = self._h(xi, yi)
        b = self._h(xi + 1, yi)
        c = self._h(xi, yi + 1)
        d = self._h(xi + 1, yi + 1)
        return (a + (b - a) * u) * (1 - v) + (c + (d - c) * u) * v

    def fbm(self, x, y, octaves=5, gain=0.5, lacunarity=2.03):
        total = np.zeros(np.broadcast(np.asarray(x), np.asarray(y)).shape)
        amp = 1.0
        norm = 0.0
        for o in range(octaves):
            total = total + amp * self(x + o * 17.31, y - o * 9.73)
            norm += amp
            amp *= gain
            x = x * lacunarity
            y = y * lacunarity
        return total / norm


# ---------------------------------------------------------------- helpers

def smoothstep(e0, e1, x):
    t = np.clip((x - e0) / (e1 - e0), 0.0, 1.0)
    return t * t * (3 - 2 * t)


def mix(a, b, t):
    t = np.asarray(t)
    if t.ndim == 2:  # a per-pixel weight for colours
        t = t[..., None]
    return np.asarray(a) * (1 - t) + np.asarray(b) * t


def _box(a, r, axis):
    if r < 1:
        return a
    pad = [(0, 0)] * a.ndim
    pad[axis] = (r + 1, r)
    p = np.pad(a, pad, mode="edge")
    c = np.cumsum(p, axis=axis)
    n = a.shape[axis]
    hi = np.take(c, np.arange(2 * r + 1, 2 * r + 1 + n), axis=axis)
    lo = np.take(c, np.arange(0, n), axis=axis)
    return (hi - lo) / (2 * r + 1)


def blur(a, radius):
    """Near-Gaussian blur: three box passes on each axis."""
    r = max(0, int(round(radius / 1.7)))
    out = np.asarray(a, np.float64)
    for _ in range(3):
        out = _box(out, r, 0)
        out = _box(out, r, 1)
    return out


def motion_blur(a, radius):
    """Horizontal streak, for the speed of a gallop."""
    out = np.asarray(a, np.float64)
    r = max(1, int(radius))
    for _ in range(2):
        out = _box(out, r, 1)
    return out


def polygon_mask(w, h, points):
    img = Image.new("L", (w, h), 0)
    ImageDraw.Draw(img).polygon([tuple(map(float, p)) for p in points], fill=255)
    return np.asarray(img, np.float64) / 255.0


def ellipse_mask(w, h, cx, cy, rx, ry, soft=1.0, angle=0.0):
    y, x = np.mgrid[0:h, 0:w]
    c, s = math.cos(angle), math.sin(angle)
    lx = (x - cx) * c + (y - cy) * s
    ly = -(x - cx) * s + (y - cy) * c
    d = np.sqrt((lx / rx) ** 2 + (ly / ry) ** 2)
    return 1.0 - smoothstep(1.0 - soft / max(rx, ry), 1.0, d)


def over(base, colour, alpha):
    """Paints colour (RGB triple or image) over base with coverage alpha."""
    alpha = np.clip(alpha, 0, 1)[..., None]
    return base * (1 - alpha) + np.asarray(colour, np.float64) * alpha


def rgb(*c):
    return np.array(c, np.float64) / 255.0


def finish(canvas, grade=None, vignette=0.25, grain=0.012, seed=0):
    """Downsamples the supersampled canvas and gives it a photographic finish."""
    h, w, _ = canvas.shape
    img = canvas.reshape(h // SS, SS, w // SS, SS, 3).mean(axis=(1, 3))
    hh, ww, _ = img.shape
    y, x = np.mgrid[0:hh, 0:ww]
    r = np.sqrt(((x - ww / 2) / (ww / 2)) ** 2 + ((y - hh / 2) / (hh / 2)) ** 2)
    img = img * (1 - vignette * smoothstep(0.55, 1.45, r))[..., None]
    if grade is not None:
        img = img * np.asarray(grade)
    # Gentle S-curve, as a print would have.
    img = np.clip(img, 0, 1)
    img = img + 0.18 * img * (1 - img) * (2 * img - 1) * -1
    rng = np.random.default_rng(seed)
    img = img + rng.normal(0, grain, img.shape)
    return np.clip(img * 255 + 0.5, 0, 255).astype(np.uint8)


# ---------------------------------------------------------------- scenery

class Scene:
    """A canvas with a horizon and a pinhole camera over a flat ground."""

    def __init__(self, w, h, horizon, seed, focal=None, eye_height=1.6):
        self.w = w * SS
        self.h = h * SS
        self.horizon = horizon * SS
        self.focal = (focal or w * 1.1) * SS
        self.eye = eye_height
        self.noise = Noise(seed)
        self.rng = np.random.default_rng(seed)
        self.img = np.zeros((self.h, self.w, 3))
        self.y, self.x = np.mgrid[0:self.h, 0:self.w].astype(np.float64)

    # Ground plane: X across, Z away from the camera, heights in metres.
    def project(self, X, Z, height=0.0):
        return (self.w / 2 + self.focal * X / Z,
                self.horizon + self.focal * (self.eye - height) / Z)

    def depth_at_row(self, y):
        return self.focal * self.eye / np.maximum(y - self.horizon, 1e-3)

    def sky(self, top, bottom, clouds=0.5, sun=None):
        t = np.clip(self.y / max(self.horizon, 1), 0, 1)
        col = mix(top, bottom, t ** 0.8)
        n = self.noise.fbm(self.x / (140 * SS), self.y / (45 * SS), 5)
        c = smoothstep(0.55 - clouds * 0.2, 0.85, n) * (1 - smoothstep(0.2, 1.0, t)) * clouds
        shade = 0.82 + 0.18 * self.noise.fbm(self.x / (60 * SS), self.y / (20 * SS) + 3, 3)
        col = mix(col, rgb(255, 253, 248) * shade[..., None], c)
        if sun is not None:
            sx, sy, strength = sun
            d = np.hypot(self.x - sx * SS, self.y - sy * SS) / (self.w * 0.5)
            col = col + np.asarray(rgb(255, 240, 200)) * (strength * np.exp(-d * 3))[..., None]
        above = (self.y < self.horizon + 2 * SS)[..., None]
        self.img = np.where(above, col, self.img)

    def ridge(self, base, amplitude, scale, colour, haze_colour, haze, seed_off, jag=0.0,
              texture=0.0, light=0.0):
        """A distant ridge (hills, tree line) whose top is a noise curve."""
        xs = self.x[0]
        top = (base * SS - amplitude * SS * self.noise.fbm(xs / (scale * SS) + seed_off, seed_off, 5))
        if jag:
            top = top - jag * SS * self.noise.fbm(xs / (6 * SS) + seed_off, 7.7, 3)
        inside = smoothstep(-1.0, 1.0, self.y - top[None, :])
        col = np.broadcast_to(np.asarray(colour, np.float64), self.img.shape).copy()
        if texture:
            n = self.noise.fbm(self.x / (7 * SS) + seed_off, self.y / (6 * SS), 4)
            n2 = self.noise.fbm(self.x / (25 * SS) - seed_off, self.y / (18 * SS), 3)
            k = 1 + texture * (n - 0.5) * 2 + texture * (n2 - 0.5)
            # Lit crowns, shaded undersides of the foliage clumps.
            k = k + light * smoothstep(0.55, 0.8, n) - light * 0.6 * smoothstep(0.0, 1.0, (self.y - top[None, :]) / (25 * SS))
            col = col * k[..., None]
        col = mix(col, haze_colour, haze)
        self.img = over(self.img, col, inside)
        return top

    def meadow(self, near, far, dry=0.0, streaks=1.0):
        """Grass from the horizon to the bottom edge, finer with distance."""
        below = self.y >= self.horizon
        depth = self.depth_at_row(self.y)
        t = np.clip(1.0 / (1.0 + depth / 12.0), 0, 1)
        col = mix(far, near, t[..., None] ** 0.7)
        # Texture in ground coordinates, so it recedes with perspective.
        gx = (self.x - self.w / 2) * depth / self.focal
        n1 = self.noise.fbm(gx * 1.6, depth * 1.6, 5)
        n2 = self.noise.fbm(gx * 0.25 + 11, depth * 0.25, 4)
        blades = self.noise(self.x / (0.8 * SS), self.y / (7 * SS))
        k = 0.78 + 0.35 * n1 + 0.25 * (n2 - 0.5) + streaks * 0.22 * (blades - 0.5) * t
        col = col * k[..., None]
        if dry:
            patches = smoothstep(0.55, 0.75, self.noise.fbm(gx * 0.12 + 5, depth * 0.12, 3))
            col = mix(col, col * np.array([1.35, 1.1, 0.7]), (patches * dry)[..., None])
        self.img = np.where(below[..., None], col, self.img)

    def grass_tufts(self, y0, count, colour, seed=1, height=9):
        """Individual blades in the foreground, drawn as thin tapered strokes."""
        rng = np.random.default_rng(seed)
        layer = Image.new("L", (self.w, self.h), 0)
        light = Image.new("L", (self.w, self.h), 0)
        d = ImageDraw.Draw(layer)
        dl = ImageDraw.Draw(light)
        for _ in range(count):
            x = rng.uniform(0, self.w)
            y = rng.uniform(y0 * SS, self.h + 4 * SS)
            s = (y - self.horizon) / (self.h - self.horizon)
            hgt = height * SS * s * rng.uniform(0.5, 1.3)
            lean = rng.normal(0, 0.35) * hgt
            pts = [(x - 0.7 * SS * s, y), (x + lean * 0.5, y - hgt * 0.6), (x + lean, y - hgt),
                   (x + 0.7 * SS * s, y)]
            (dl if rng.random() < 0.45 else d).polygon(pts, fill=255)
        dark = np.asarray(layer, np.float64) / 255
        lit = np.asarray(light, np.float64) / 255
        self.img = over(self.img, np.asarray(colour) * 0.55, dark * 0.8)
        self.img = over(self.img, np.minimum(np.asarray(colour) * 1.45, 1), lit * 0.8)

    def fence(self, posts, rails, post_colour, rail_colour, post_w=0.12, rail_h=0.11,
              shade_side=1.0):
        """A post-and-rail fence through the ground points (X, Z), far posts first."""
        n = self.noise
        order = sorted(range(len(posts)), key=lambda i: -posts[i][1])
        # Rails between consecutive posts, then the posts over them.
        for i in range(len(posts) - 1):
            (x0, z0), (x1, z1) = posts[i], posts[i + 1]
            for rh in rails:
                a = self.project(x0, z0, rh + rail_h / 2)
                b = self.project(x1, z1, rh + rail_h / 2)
                c = self.project(x1, z1, rh - rail_h / 2)
                d = self.project(x0, z0, rh - rail_h / 2)
                m = polygon_mask(self.w, self.h, [a, b, c, d])
                if not m.any():
                    continue
                # Wood grain runs along the rail.
                grain = n.fbm(self.x / (40 * SS), self.y / (1.5 * SS) + rh * 10, 3)
                # Lit on its upper face, shaded towards its underside.
                (lx, ly), (rx, ry) = sorted([a, b])
                upper_edge = np.interp(self.x, [lx, rx], [ly, ry])
                thickness = max(1.0, abs(c[1] - b[1]) * 0.9)
                depth = smoothstep(0.0, 1.0, (self.y - upper_edge) / thickness)
                col = np.asarray(rail_colour) * (0.8 + 0.3 * grain)[..., None]
                col = col * (1.08 - 0.35 * depth)[..., None]
                self.img = over(self.img, col, m)
        for i in order:
            X, Z = posts[i]
            top_h = max(rails) + rail_h * 1.3
            wl = post_w / 2
            a = self.project(X - wl, Z, top_h)
            b = self.project(X + wl, Z, top_h)
            c = self.project(X + wl, Z, 0)
            d = self.project(X - wl, Z, 0)
            m = polygon_mask(self.w, self.h, [a, b, c, d])
            if not m.any():
                continue
            u = (self.x - a[0]) / max(b[0] - a[0], 1e-3)
            grain = n.fbm(self.x / (1.2 * SS) + X * 5, self.y / (30 * SS), 3)
            col = np.asarray(post_colour) * (0.85 + 0.25 * grain)[..., None]
            col = col * (1.05 - 0.45 * shade_side * smoothstep(0.35, 1.0, u))[..., None]
            self.img = over(self.img, col, m)

    def shadow(self, cx, cy, rx, ry, strength=0.45, softness=6):
        m = ellipse_mask(self.w, self.h, cx, cy, rx, ry)
        m = blur(m, softness * SS)
        self.img = self.img * (1 - strength * m)[..., None]


# ---------------------------------------------------------------- the horse

def _dir(angle_deg):
    """Unit vector pointing down, turned forward (towards -x) by the angle."""
    a = math.radians(angle_deg)
    return np.array([-math.sin(a), math.cos(a)])


class Part:
    __slots__ = ("kind", "a", "b", "r0", "r1", "rot", "rz", "z", "colour", "shade", "hair")

    def __init__(self, kind, a, b=None, r0=0.0, r1=0.0, rot=0.0, rz=None, z=0.0,
                 colour="coat", shade=1.0, hair=0.0):
        self.kind = kind
        self.a = np.asarray(a, np.float64)
        self.b = None if b is None else np.asarray(b, np.float64)
        self.r0 = r0
        self.r1 = r1
        self.rot = rot
        self.rz = rz
        self.z = z
        self.colour = colour
        self.shade = shade
        self.hair = hair


POSES = {
    # Legs, angles from straight down in degrees, + towards the head:
    # front (forearm, cannon, pastern), hind (gaskin, cannon, pastern); near and far side.
    # neck: degrees above the horizontal; head: degrees of the face below the horizontal;
    # tail: (upper, lower) degrees from hanging, + streaming back.
    "stand": dict(fn=(3, 0, 26), ff=(-3, -1, 24), hn=(-24, 4, 26), hf=(-18, 8, 26),
                  neck=48, head=62, pitch=0.0, tail=(28, 6)),
    "alert": dict(fn=(6, 2, 34), ff=(-2, 0, 32), hn=(-28, 0, 30), hf=(-14, 8, 34),
                  neck=58, head=52, pitch=0.0, tail=(32, 10)),
    "graze": dict(fn=(12, 6, 36), ff=(-10, -6, 30), hn=(-20, 8, 32), hf=(-28, 2, 28),
                  neck=-42, head=100, pitch=0.03, tail=(24, 4)),
    "gallop": dict(fn=(58, 72, 66), ff=(-8, -78, -50), hn=(-58, -52, -30), hf=(22, 34, 44),
                   neck=24, head=42, pitch=-0.04, tail=(72, 82)),
    "canter": dict(fn=(34, -50, -30), ff=(40, 44, 50), hn=(-12, 18, 36), hf=(-46, -34, -12),
                   neck=32, head=52, pitch=0.05, tail=(55, 62)),
    "walk": dict(fn=(16, 6, 34), ff=(-14, -10, 26), hn=(-34, -6, 24), hf=(-10, 16, 36),
                 neck=40, head=64, pitch=0.0, tail=(30, 8)),
    "nurse": dict(fn=(4, 2, 34), ff=(-6, -2, 30), hn=(-30, 6, 30), hf=(-10, 10, 34),
                  neck=12, head=58, pitch=0.02, tail=(24, 4)),
    "portrait": dict(fn=(6, 2, 34), ff=(-2, 0, 32), hn=(-28, 0, 30), hf=(-14, 8, 34),
                     neck=34, head=50, pitch=0.0, tail=(32, 10)),
    "sniff": dict(fn=(6, 2, 34), ff=(-4, -2, 30), hn=(-26, 4, 32), hf=(-14, 8, 34),
                  neck=20, head=72, pitch=0.0, tail=(26, 6)),
}

ADULT = dict(leg=1.08, body_l=0.6, body_h=0.32, neck_l=0.76, neck_r=(0.27, 0.16),
             head_l=0.72, mane=0.2, tail_l=1.05, ear=0.2)
YOUNG = dict(leg=0.9, body_l=0.42, body_h=0.19, neck_l=0.5, neck_r=(0.15, 0.1),
             head_l=0.46, mane=0.06, tail_l=0.38, ear=0.15)


def horse_parts(pose="stand", foal=False, star=True, sock=False):
    """The horse as overlapping rounded parts, head towards -x, ground at y = 0,
    about 1.6 units high at the withers (a foal about 1.05)."""
    p = POSES[pose]
    g = YOUNG if foal else ADULT
    leg = g["leg"]
    body_l, body_h = g["body_l"], g["body_h"]
    cy = -(0.86 * leg + body_h * 0.92)
    pitch = p["pitch"]
    parts = []

    def bp(x, y):  # a point on the body, pitched about the barrel's centre
        return np.array([x, cy + y + pitch * x])

    def ang(deg):  # unit vector deg above the horizontal, pointing forward (-x)
        r = math.radians(deg)
        return np.array([-math.cos(r), -math.sin(r)])

    # Barrel, chest, shoulder, loin, quarters, buttock.
    parts.append(Part("ellipse", bp(0.0, 0.02), r0=body_l, r1=body_h, rz=body_h * 1.1))
    parts.append(Part("ellipse", bp(-body_l * 0.86, 0.0), r0=body_h * 0.58, r1=body_h * 0.86,
                      rz=body_h * 0.95))
    parts.append(Part("ellipse", bp(-body_l * 0.68, -body_h * 0.15), r0=body_h * 0.5,
                      r1=body_h * 1.05, rot=-0.45, rz=body_h * 1.25))
    parts.append(Part("ellipse", bp(body_l * 0.8, -body_h * 0.12), r0=body_h * 0.98,
                      r1=body_h * 0.98, rz=body_h * 1.1))
    parts.append(Part("ellipse", bp(body_l * 1.05, 0.0), r0=body_h * 0.5, r1=body_h * 0.78,
                      rz=body_h * 0.9))
    parts.append(Part("ellipse", bp(body_l * 0.2, -body_h * 0.5), r0=body_l * 0.7,
                      r1=body_h * 0.45, rz=body_h * 0.8))
    # Neck from the chest to the poll, with its crest.
    nd = ang(p["neck"])
    root = bp(-body_l * 0.8, -body_h * 0.3)
    poll = root + nd * g["neck_l"]
    crest_side = np.array([-nd[1], nd[0]])
    if crest_side[1] > 0:
        crest_side = -crest_side
    r0n, r1n = g["neck_r"]
    # Both end short of the poll, so the top line runs smoothly into the head.
    parts.append(Part("capsule", root, poll - nd * r1n * 0.6 - crest_side * r1n * 0.35,
                      r0=r0n, r1=r1n, rz=r0n * 0.85))
    parts.append(Part("capsule", root + crest_side * r0n * 0.3 + np.array([0.12, 0]),
                      poll - nd * r1n * 1.1 + crest_side * r1n * 0.05, r0=r0n * 0.7,
                      r1=r1n * 0.7, rz=r0n * 0.7))
    # Head: face direction, jaw on the side towards the neck.
    hr = math.radians(p["head"])
    hd = np.array([-math.cos(hr), math.sin(hr)])
    jaw = np.array([hd[1], -hd[0]])
    if (jaw @ -nd) < 0:
        jaw = -jaw
    hl = g["head_l"]
    top = poll + jaw * hl * 0.02
    muzzle = top + hd * hl * 0.92
    rot = math.atan2(hd[1], hd[0])
    parts.append(Part("capsule", top, muzzle, r0=hl * 0.17, r1=hl * 0.13, colour="head",
                      rz=hl * 0.15))
    parts.append(Part("ellipse", top + hd * hl * 0.3 + jaw * hl * 0.13, r0=hl * 0.25,
                      r1=hl * 0.2, rot=rot, rz=hl * 0.19, colour="head"))
    parts.append(Part("ellipse", muzzle + jaw * hl * 0.03 - hd * hl * 0.04, r0=hl * 0.19,
                      r1=hl * 0.145, rot=rot, rz=hl * 0.13, colour="muzzle"))
    parts.append(Part("ellipse", muzzle + jaw * hl * 0.13 - hd * hl * 0.05, r0=hl * 0.1,
                      r1=hl * 0.07, rot=rot, rz=hl * 0.08, colour="muzzle"))
    # Ears, leaf-shaped, pricked up over the poll; the far one behind the near one.
    ear_up = np.array([0.22, -1.0]) - nd * 0.12
    ear_up = ear_up / np.linalg.norm(ear_up)
    for k, (dz, off) in enumerate(((hl * 0.04, 0.07), (hl * 0.32, 0.0))):
        base = top - jaw * hl * 0.04 + np.array([off * hl, 0.0]) + ear_up * hl * 0.04
        mid = base + ear_up * g["ear"] * 0.45
        tip = base + ear_up * g["ear"] + np.array([-0.02, 0.0])
        shade = 0.72 if k == 0 else 1.0
        parts.append(Part("capsule", base, mid, r0=hl * 0.062, r1=hl * 0.068, z=dz,
                          colour="coat", shade=shade, rz=hl * 0.04))
        parts.append(Part("capsule", mid, tip, r0=hl * 0.07, r1=hl * 0.01, z=dz, colour="coat",
                          shade=shade, rz=hl * 0.04))

    # Legs: near side in front of the body, far side behind it and in shade.
    def leg_chain(top_pt, angles, lengths, side, front):
        z = 0.16 if side == "near" else -0.35
        shade = 1.0 if side == "near" else 0.6
        pts = [top_pt]
        for a, ln in zip(angles, lengths):
            pts.append(pts[-1] + _dir(a) * ln * leg)
        s = leg
        upper = (0.125 if front else 0.14) * s
        colours = ["coat", "points", "points"]
        if sock and side == "near" and not front:
            colours = ["coat", "sock", "sock"]
        radii = [(upper, 0.062 * s), (0.05 * s, 0.045 * s), (0.047 * s, 0.05 * s)]
        for i in range(3):
            parts.append(Part("capsule", pts[i], pts[i + 1], r0=radii[i][0], r1=radii[i][1],
                              z=z, colour=colours[i], shade=shade))
        # Knee or hock, and fetlock: knobbly joints.
        parts.append(Part("ellipse", pts[1], r0=0.068 * s, r1=0.075 * s, z=z,
                          colour=colours[1] if front else "coat", shade=shade))
        parts.append(Part("ellipse", pts[2], r0=0.052 * s, r1=0.055 * s, z=z,
                          colour=colours[2], shade=shade))
        # The hoof stands more upright than the pastern and widens to the ground.
        hdv = pts[3] - pts[2]
        hdv = hdv / (np.linalg.norm(hdv) + 1e-9)
        hdv = hdv * 0.4 + _dir(angles[0] * 0.3 + 12) * 0.6
        hdv = hdv / np.linalg.norm(hdv)
        hoof_end = pts[3] + hdv * 0.06 * s
        parts.append(Part("trap", pts[3] - hdv * 0.015, hoof_end, r0=0.046 * s, r1=0.064 * s,
                          z=z, colour="hoof", shade=shade))
        return hoof_end

    elbow = bp(-body_l * 0.7, body_h * 0.7)
    stifle = bp(body_l * 0.66, body_h * 0.42)
    hooves = []
    front_len = (0.4, 0.3, 0.1)
    hind_len = (0.46, 0.36, 0.1)
    hooves.append(leg_chain(elbow + np.array([0.13, 0]), p["ff"], front_len, "far", True))
    hooves.append(leg_chain(stifle + np.array([-0.08, 0]), p["hf"], hind_len, "far", False))
    hooves.append(leg_chain(elbow, p["fn"], front_len, "near", True))
    hooves.append(leg_chain(stifle, p["hn"], hind_len, "near", False))
    # Thigh and gaskin over the near hind leg, forearm muscle over the near foreleg.
    parts.append(Part("capsule", bp(body_l * 0.85, -body_h * 0.1),
                      stifle + _dir(p["hn"][0]) * 0.2 * leg, r0=body_h * 0.7, r1=0.12 * leg,
                      z=0.06, rz=body_h * 0.8))
    parts.append(Part("capsule", elbow + np.array([0.02, -0.1 * leg]),
                      elbow + _dir(p["fn"][0]) * 0.16 * leg, r0=0.15 * leg, r1=0.1 * leg,
                      z=0.1))

    # Mane along the crest, with locks falling on the near side.
    n_locks = 22 if not foal else 12
    for i in range(n_locks):
        t = 0.02 + 0.96 * i / (n_locks - 1)
        r_here = r0n + (r1n - r0n) * t
        start = root + nd * g["neck_l"] * t + crest_side * r_here * 0.92
        fall = np.array([0.25, 1.0]) if p["neck"] > 0 else np.array([0.7, 0.7])
        fall = fall / np.linalg.norm(fall)
        length = g["mane"] * (1.0 - 0.35 * t) * (0.7 + 0.6 * ((i * 7) % 5) / 4)
        lean = fall + nd * 0.15 * (((i * 3) % 4) - 1.5)
        parts.append(Part("capsule", start - fall * 0.03, start + lean * length, r0=0.035,
                          r1=0.012, z=r_here * 0.5, colour="mane", hair=1.0, rz=0.03))
    parts.append(Part("capsule", root + crest_side * r0n * 0.95 + np.array([0.08, 0.02]),
                      poll + crest_side * r1n * 0.95, r0=0.05 if not foal else 0.04, r1=0.04,
                      z=0.05, colour="mane", hair=1.0))
    # Forelock between the ears.


    # Tail from the dock: locks fanned around the given direction.
    dock = bp(body_l * 1.22, -body_h * 0.72)
    t0, t1 = p["tail"]
    tl = g["tail_l"]

    def back(a):  # unit vector a degrees from hanging, streaming back (+x)
        r = math.radians(a)
        return np.array([math.sin(r), math.cos(r)])

    parts.append(Part("capsule", dock - back(t0) * 0.02, dock + back(t0) * 0.16 * tl, r0=0.07,
                      r1=0.07, z=0.0, colour="coat"))
    for k, (spread, length, width) in enumerate(((-10, 0.85, 0.07), (-5, 1.0, 0.09),
                                                  (0, 0.95, 0.1), (5, 1.02, 0.09),
                                                  (9, 0.8, 0.07), (14, 0.7, 0.06))):
        w = width * (1.0 if not foal else 0.7)
        mid = dock + back(t0 + spread * 0.5) * tl * 0.4 * length
        end = mid + back(t1 + spread * 1.2) * tl * 0.6 * length
        parts.append(Part("capsule", dock + back(t0) * 0.06, mid, r0=0.05, r1=w,
                          z=0.02 * k - 0.05, colour="tail", hair=1.0, rz=0.06))
        parts.append(Part("capsule", mid, end, r0=w, r1=0.012,
                          z=0.02 * k - 0.05, colour="tail", hair=1.0, rz=0.06))

    features = dict(
        eye=top + hd * hl * 0.27 + jaw * hl * 0.02,
        nostril=muzzle + hd * hl * 0.07 - jaw * hl * 0.05,
        mouth=(muzzle + jaw * hl * 0.1 - hd * hl * 0.02, muzzle + hd * hl * 0.1 + jaw * hl * 0.1),
        star=(top + hd * hl * 0.3 - jaw * hl * 0.17) if star else None,
        hd=hd, jaw=jaw, head_l=hl, top=top, muzzle=muzzle,
    )
    # Stand the horse on the ground: the lowest hoof at y = 0.
    lowest = max(h[1] for h in hooves)
    shift = np.array([0.0, -lowest])
    for part in parts:
        part.a = part.a + shift
        if part.b is not None:
            part.b = part.b + shift
    for key in ("eye", "nostril", "star", "top", "muzzle"):
        if features[key] is not None:
            features[key] = features[key] + shift
    features["mouth"] = tuple(m + shift for m in features["mouth"])
    features["hooves"] = [h + shift for h in hooves]
    return parts, features


BAY = dict(coat=rgb(150, 68, 30), head=rgb(146, 66, 30), muzzle=rgb(70, 38, 28),
           points=rgb(26, 20, 18), hoof=rgb(40, 34, 30), mane=rgb(22, 16, 14),
           tail=rgb(24, 18, 15), sock=rgb(235, 228, 215), star=rgb(245, 240, 230))
FOAL = dict(coat=rgb(176, 104, 58), head=rgb(172, 100, 56), muzzle=rgb(110, 70, 50),
            points=rgb(96, 58, 38), hoof=rgb(60, 50, 44), mane=rgb(110, 70, 44),
            tail=rgb(130, 86, 54), sock=rgb(235, 228, 215), star=rgb(245, 240, 230))


def paint_horse(scene, parts, features, gx, gy, scale, facing=-1, palette=BAY,
                light=(-0.45, -0.75, 0.55), warm=(1.0, 0.97, 0.9), ambient=0.32,
                speed_blur=0, seed=3, shadow=True, shadow_strength=0.45):
    """Shades the horse into the scene. (gx, gy): pixel under the hooves' centre;
    scale: pixels per model unit (about a metre and a half at the withers);
    facing -1 puts the head on the left."""
    gx *= SS
    gy *= SS
    scale *= SS

    def to_px(pt):
        return gx - facing * pt[0] * scale, gy + pt[1] * scale

    # Bounding box in pixels.
    xs, ys = [], []
    for part in parts:
        for pt in (part.a, part.b if part.b is not None else part.a):
            px, py = to_px(pt)
            xs.append(px)
            ys.append(py)
    pad = 0.45 * scale
    x0 = int(max(0, min(xs) - pad))
    x1 = int(min(scene.w, max(xs) + pad))
    y0 = int(max(0, min(ys) - pad))
    y1 = int(min(scene.h, max(ys) + pad))
    if x1 <= x0 or y1 <= y0:
        return
    yy, xx = np.mgrid[y0:y1, x0:x1].astype(np.float64)
    # Model coordinates of each pixel.
    mx = -facing * (xx - gx) / scale
    my = (yy - gy) / scale

    P = len(parts)
    Z = np.full((P,) + xx.shape, -1e3)
    cover = np.zeros(xx.shape)
    hair_uv = [None] * P
    for i, part in enumerate(parts):
        if part.kind == "ellipse":
            c, s = math.cos(part.rot), math.sin(part.rot)
            lx = (mx - part.a[0]) * c + (my - part.a[1]) * s
            ly = -(mx - part.a[0]) * s + (my - part.a[1]) * c
            q = (lx / part.r0) ** 2 + (ly / part.r1) ** 2
            inside = q < 1
            rz = part.rz if part.rz is not None else min(part.r0, part.r1)
            h = rz * np.sqrt(np.clip(1 - q, 0, 1))
            edge = (1 - np.sqrt(q)) * min(part.r0, part.r1) * scale
        elif part.kind == "trap":
            # A flat-bottomed, widening block (a hoof), round across its width.
            ab = part.b - part.a
            L = math.sqrt(float(ab @ ab)) + 1e-12
            u = ((mx - part.a[0]) * ab[0] + (my - part.a[1]) * ab[1]) / L
            v = ((mx - part.a[0]) * -ab[1] + (my - part.a[1]) * ab[0]) / L
            r = part.r0 + (part.r1 - part.r0) * np.clip(u / L, 0, 1)
            inside = (u >= 0) & (u <= L) & (np.abs(v) < r)
            h = np.sqrt(np.clip(r * r - v * v, 0, None))
            edge = np.minimum(np.minimum(r - np.abs(v), u + 0.02), L - u) * scale
        else:
            ab = part.b - part.a
            L2 = float(ab @ ab) + 1e-12
            t = np.clip(((mx - part.a[0]) * ab[0] + (my - part.a[1]) * ab[1]) / L2, 0, 1)
            dx = mx - (part.a[0] + ab[0] * t)
            dy = my - (part.a[1] + ab[1] * t)
            d = np.sqrt(dx * dx + dy * dy)
            r = part.r0 + (part.r1 - part.r0) * t
            inside = d < r
            h = np.sqrt(np.clip(r * r - d * d, 0, None))
            if part.rz is not None:  # flattened (straps) or raised across its width
                h = h * (part.rz / max(part.r0, part.r1))
            edge = (r - d) * scale
            if part.hair:
                L = math.sqrt(L2)
                across = (dx * -ab[1] + dy * ab[0]) / L
                hair_uv[i] = (t, across / np.maximum(r, 1e-3))
        # Outside a part its height falls away steeply, so the nearest part
        # still wins at the silhouette instead of an average of all of them.
        Z[i] = np.where(inside, part.z + h, part.z - np.clip(-edge / scale, 0, None) * 8)
        cover = np.maximum(cover, np.clip(edge + 0.5, 0, 1))
    M = Z.max(axis=0)
    k = 0.025
    W = np.exp(np.clip((Z - M) / k, -60, 0))
    Wsum = W.sum(axis=0) + 1e-12
    zsm = M + k * np.log(Wsum)
    zsm = np.maximum(zsm, -0.45)

    # Colour per part, with hair streaks and a faint coat texture.
    noise = Noise(seed)
    col = np.zeros(xx.shape + (3,))
    shade = np.zeros(xx.shape)
    hairness = np.zeros(xx.shape)
    coat_tex = (0.94 + 0.12 * noise.fbm(mx * 9, my * 9, 4)
                + 0.06 * (noise.fbm(mx * 70, my * 70, 2) - 0.5))
    for i, part in enumerate(parts):
        w = W[i] / Wsum
        base = np.asarray(palette[part.colour])
        if part.hair and hair_uv[i] is not None:
            t, a = hair_uv[i]
            streak = noise.fbm(t * 3 + i * 1.7, a * 6 + i, 3)
            fine = noise(t * 2 + i, a * 22)
            tone = (0.55 + 0.7 * streak * (0.6 + 0.6 * fine))[..., None]
            c = base * tone
            hairness += w
        else:
            c = base * coat_tex[..., None]
        col += c * w[..., None]
        shade += part.shade * w

    # Normals from the height field; light in picture space.
    gyz, gxz = np.gradient(blur(zsm, 1.2), 1.0 / scale)
    gxz = np.clip(gxz, -6, 6)
    gyz = np.clip(gyz, -6, 6)
    n = np.stack([-gxz, -gyz, np.ones_like(zsm)], axis=-1)
    n /= np.linalg.norm(n, axis=-1, keepdims=True)
    L = np.asarray(light, np.float64)
    L = L / np.linalg.norm(L)
    # Wrapped diffuse light: the coat scatters light a little past the terminator.
    diff = np.clip(((n * L).sum(-1) + 0.25) / 1.25, 0, 1)
    sky = ambient * (0.75 + 0.35 * -n[..., 1])
    Hh = L + np.array([0, 0, 1.0])
    Hh /= np.linalg.norm(Hh)
    spec = np.clip((n * Hh).sum(-1), 0, 1) ** 18 * 0.14 * (1 - 0.7 * hairness)
    # Creases where parts meet (neck and shoulder, leg and belly) get less light.
    ao = np.clip((blur(zsm, 0.07 * scale) - zsm) / 0.04, 0, 1)
    light_amount = (sky + diff * 0.95) * (1 - 0.4 * ao)
    # Shadowed coat stays warm: light bounced from the ground and through the hair.
    bounce = np.array([1.0, 0.85, 0.7]) * 0.06 * (1 - diff)[..., None]
    lit = col * (light_amount[..., None] * np.asarray(warm) + bounce) * shade[..., None]
    lit = lit + spec[..., None] * np.asarray(warm) * shade[..., None]

    # The face's direction on screen, for features that follow it.
    fd = np.array([-facing * features["hd"][0], features["hd"][1]])
    face_angle = math.atan2(fd[1], fd[0])

    def dot(pt, rx, ry, colour, alpha=1.0, highlight=None, angle=0.0):
        px, py = to_px(pt)
        m = ellipse_mask(x1 - x0, y1 - y0, px - x0, py - y0, rx * scale, ry * scale, soft=1.2,
                         angle=angle)
        nonlocal lit
        lit = over(lit, colour, m * alpha)
        if highlight is not None:
            hm = ellipse_mask(x1 - x0, y1 - y0, px - x0 - rx * scale * 0.35 * -facing,
                              py - y0 - ry * scale * 0.35, rx * scale * 0.3, ry * scale * 0.3)
            lit = over(lit, highlight, hm * 0.9)

    hl = features["head_l"]
    if features["star"] is not None:
        dot(features["star"], hl * 0.06, hl * 0.08, palette["star"] * 0.95, 0.9)
    # Eye: the lid's darker skin, the dark eye, a sky reflection.
    dot(features["eye"], hl * 0.085, hl * 0.068, palette["muzzle"] * 0.8, 0.7)
    dot(features["eye"], hl * 0.062, hl * 0.05, rgb(18, 12, 10), 1.0, highlight=rgb(235, 235, 240))
    # Nostril: a dark slit along the face with a soft rim; mouth: a thin crease.
    dot(features["nostril"], hl * 0.07, hl * 0.04, palette["muzzle"] * 0.7, 0.5, angle=face_angle)
    dot(features["nostril"], hl * 0.05, hl * 0.022, rgb(20, 12, 10), 0.85, angle=face_angle)
    m0, m1 = (to_px(m) for m in features["mouth"])
    mouth = Image.new("L", (x1 - x0, y1 - y0), 0)
    ImageDraw.Draw(mouth).line([(m0[0] - x0, m0[1] - y0), (m1[0] - x0, m1[1] - y0)], fill=255,
                               width=max(1, int(hl * scale * 0.018)))
    lit = over(lit, rgb(30, 18, 14), blur(np.asarray(mouth, np.float64) / 255, 0.8) * 0.6)

    if speed_blur:
        lit = motion_blur(lit * cover[..., None], speed_blur * SS)
        cover = motion_blur(cover, speed_blur * SS)
        lit = lit / np.maximum(cover, 1e-3)[..., None]

    if shadow:
        hv = [to_px(h) for h in features["hooves"]]
        sx = np.mean([h[0] for h in hv])
        sy = gy
        body_w = abs(hv[-1][0] - hv[0][0]) / 2 + 0.45 * scale
        m = ellipse_mask(scene.w, scene.h, sx + 0.15 * scale, sy, body_w * 1.05, 0.09 * scale)
        m = blur(m, 0.06 * scale)
        scene.img = scene.img * (1 - shadow_strength * m)[..., None]
        for (hx, hy) in hv:
            if hy > gy - 0.12 * scale:
                m = ellipse_mask(scene.w, scene.h, hx, gy + 0.01 * scale, 0.09 * scale, 0.03 * scale)
                scene.img = scene.img * (1 - 0.5 * blur(m, 2 * SS))[..., None]

    region = scene.img[y0:y1, x0:x1]
    scene.img[y0:y1, x0:x1] = over(region, lit, cover)
