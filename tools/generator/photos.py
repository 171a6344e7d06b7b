# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
"""The painted photographs: the splash card and the eight pictures of Zelko,
a bay mare, and her foal, on a summer's day."""

import math
import os

import numpy as np
from PIL import Image, ImageDraw

import formats
from paint import (BAY, FOAL, SS, Noise, Part, Scene, blur, ellipse_mask, finish,
                   horse_parts, mix, motion_blur, over, paint_horse, polygon_mask, rgb,
                   smoothstep)

SKY_TOP = rgb(62, 124, 206)
SKY_LOW = rgb(186, 214, 236)
HAZE = rgb(176, 200, 214)
TREE = rgb(46, 88, 36)
GRASS_NEAR = rgb(72, 138, 38)
GRASS_FAR = rgb(128, 168, 74)
WHITE_WOOD = rgb(236, 232, 222)


def countryside(seed, horizon, hills=True, trees=True, clouds=0.6, sky=(SKY_TOP, SKY_LOW),
                grass=(GRASS_NEAR, GRASS_FAR), tree_base=None, sun=None, dry=0.25):
    s = Scene(320, 240, horizon=horizon, seed=seed)
    s.sky(sky[0], sky[1], clouds=clouds, sun=sun)
    if hills:
        s.ridge(horizon - 4, 26, 110, rgb(104, 134, 150), HAZE, 0.55, 1.3 + seed)
        s.ridge(horizon - 1, 14, 60, rgb(72, 112, 84), HAZE, 0.4, 2.9 + seed, texture=0.25,
                light=0.15)
    if trees:
        s.ridge(tree_base or horizon + 2, 22, 28, TREE, HAZE, 0.12, 4.1 + seed, jag=7,
                texture=0.55, light=0.45)
    s.meadow(grass[0], grass[1], dry=dry)
    return s


def flowers(s, y0, count, seed, colours=((255, 255, 240), (255, 226, 60), (250, 250, 255))):
    """Small meadow flowers, bigger towards the bottom edge."""
    rng = np.random.default_rng(seed)
    for _ in range(count):
        y = rng.uniform(y0, 240)
        x = rng.uniform(0, 320)
        size = 0.4 + 1.4 * (y - y0) / (240 - y0)
        m = ellipse_mask(s.w, s.h, x * SS, y * SS, size * SS, size * 0.8 * SS)
        c = rgb(*colours[rng.integers(len(colours))])
        s.img = over(s.img, c, m * 0.9)


def paddock_fence(s, z_near, z_far, x_side, count, rails=(0.62, 1.05), colour=WHITE_WOOD):
    """A fence running away from the camera on one side of the picture."""
    zs = np.geomspace(z_near, z_far, count)
    posts = [(x_side, z) for z in zs][::-1]
    s.fence(posts, rails, colour, colour)


def cross_fence(s, z, x0, x1, spacing, rails=(0.62, 1.05), colour=WHITE_WOOD, slope=0.0):
    """A fence across the picture, slightly receding when slope is non-zero."""
    xs = np.arange(x0, x1 + 1e-6, spacing)
    posts = [(x, z + slope * (x - x0)) for x in xs]
    s.fence(posts, rails, colour, colour)


def at(s, X, Z):
    """Pixel (final size) and scale of a ground point at (X, Z) metres."""
    px, py = s.project(X, Z)
    # A horse model unit is about a metre.
    return px / SS, py / SS, s.focal / Z / SS


# ---------------------------------------------------------------- photographs

def paddock_portrait():
    """1: Zelko stands at the paddock fence, head up, on a bright day."""
    s = countryside(11, 118)
    paddock_fence(s, 5.0, 60.0, -4.2, 12)
    cross_fence(s, 30, -26, 26, 3.2, slope=0.0)
    flowers(s, 150, 90, 1)
    x, y, k = at(s, 0.6, 5.6)
    parts, f = horse_parts("alert")
    paint_horse(s, parts, f, x, y, k)
    s.grass_tufts(200, 500, GRASS_NEAR, seed=3)
    return finish(s.img, grade=(1.03, 1.0, 0.96), seed=1)


def gallop():
    """2: Zelko at full gallop along the rail, the camera panning with her."""
    s = countryside(12, 100, clouds=0.45)
    cross_fence(s, 14, -40, 40, 2.4, rails=(0.95,), colour=rgb(244, 244, 240))
    # The pan blurs everything but the horse.
    s.img = motion_blur(s.img, 9 * SS)
    x, y, k = at(s, 0.5, 5.6)
    parts, f = horse_parts("gallop", star=True)
    # Turf kicked up behind her.
    rng = np.random.default_rng(5)
    for _ in range(18):
        cx = x + rng.uniform(40, 110)
        cy = y - rng.uniform(0, 28)
        m = ellipse_mask(s.w, s.h, cx * SS, cy * SS, rng.uniform(0.8, 2.0) * SS,
                         rng.uniform(0.6, 1.4) * SS)
        s.img = over(s.img, rgb(92, 70, 46), m * 0.85)
    paint_horse(s, parts, f, x, y - k * 0.18, k, speed_blur=1.2, shadow_strength=0.35)
    return finish(s.img, grade=(1.02, 1.0, 0.97), seed=2)


def grazing_with_foal():
    """3: Zelko grazes while her foal stands close by."""
    s = countryside(13, 96, tree_base=99)
    flowers(s, 110, 160, 3)
    x, y, k = at(s, -0.2, 7.2)
    parts, f = horse_parts("graze")
    paint_horse(s, parts, f, x - 26, y, k, facing=1)
    fx, fy, fk = at(s, 0.5, 5.6)
    fparts, ff = horse_parts("stand", foal=True, star=False)
    paint_horse(s, fparts, ff, fx + 62, fy, fk, facing=-1, palette=FOAL, seed=7)
    s.grass_tufts(196, 500, GRASS_NEAR, seed=4)
    return finish(s.img, grade=(1.03, 1.0, 0.95), seed=3)


def stall():
    """4: Zelko in her stall: plank walls, straw, sun through the window."""
    s = Scene(320, 240, horizon=150, seed=14)
    n = s.noise
    x, y = s.x / SS, s.y / SS
    # Back wall of vertical planks, each with its own tone and grain.
    plank = np.floor(x / 21.0)
    tone = 0.82 + 0.3 * Noise(99)(plank * 3.1, 0.5)
    grain = n.fbm(x / 2.2 + plank * 13, y / 38.0, 4)
    knots = smoothstep(0.78, 0.9, n.fbm(x / 5 + 40, y / 9, 3))
    wood = rgb(150, 102, 60) * (tone * (0.78 + 0.34 * grain) * (1 - 0.35 * knots))[..., None]
    gap = smoothstep(0.9, 1.0, np.abs(((x / 21.0) % 1.0) - 0.5) * 2)
    wood = wood * (1 - 0.75 * gap)[..., None]
    # A beam across the wall and the sill of the window.
    beam = (np.abs(y - 42) < 6)
    wood = np.where(beam[..., None], rgb(112, 74, 42) * (0.85 + 0.3 * n.fbm(x / 30, y / 2, 3))[..., None], wood)
    s.img = wood
    # The window: bright summer outside, with a cross bar.
    win = (x > 36) & (x < 104) & (y > 56) & (y < 110)
    outside = mix(rgb(200, 228, 246), rgb(120, 176, 90), smoothstep(80, 96, y))
    outside = outside * (0.92 + 0.1 * n.fbm(x / 6, y / 6, 3))[..., None]
    frame = ((np.abs(x - 70) < 2) | (np.abs(y - 83) < 2)) & win
    s.img = np.where(win[..., None], outside, s.img)
    s.img = np.where(frame[..., None], rgb(96, 66, 40), s.img)
    # Floor: straw on boards, getting darker towards the back wall.
    floor = y > 150
    straw_n = n.fbm(x / 3, y / 1.2, 4)
    straw = rgb(204, 170, 92) * (0.7 + 0.45 * straw_n)[..., None]
    straw = straw * (0.8 + 0.25 * smoothstep(150, 240, y))[..., None]
    s.img = np.where(floor[..., None], straw, s.img)
    # Single straws lying about.
    rng = np.random.default_rng(4)
    layer = Image.new("L", (s.w, s.h), 0)
    d = ImageDraw.Draw(layer)
    for _ in range(1400):
        sx = rng.uniform(0, 320) * SS
        sy = rng.uniform(148, 244) * SS
        ln = (4 + 10 * (sy / SS - 148) / 96) * SS
        a = rng.uniform(0, math.pi)
        d.line([(sx, sy), (sx + ln * math.cos(a), sy + ln * math.sin(a) * 0.45)],
               fill=int(rng.uniform(120, 255)), width=max(1, int(SS * 0.8)))
    st = np.asarray(layer, np.float64) / 255
    s.img = over(s.img, rgb(240, 214, 130), st * 0.8)
    # Where the wall meets the floor lies in shadow.
    s.img = s.img * (1 - 0.45 * np.exp(-np.abs(y - 151) / 6))[..., None]
    # Sunbeam from the window falling across the stall.
    beam_d = (x - 70) - (y - 83) * 0.75
    beam = smoothstep(60, 20, np.abs(beam_d - 40)) * smoothstep(70, 110, y)
    dust = 0.85 + 0.3 * n.fbm(x / 4, y / 4, 3)
    s.img = s.img + rgb(255, 226, 160) * (0.22 * beam * dust)[..., None]
    # Dim interior: the far corners fall away.
    s.img = s.img * (0.55 + 0.45 * smoothstep(0, 90, y))[..., None]
    parts, f = horse_parts("stand", sock=True)
    paint_horse(s, parts, f, 178, 214, 86, facing=-1, light=(-0.8, -0.5, 0.45),
                warm=(1.05, 0.95, 0.8), ambient=0.22, shadow_strength=0.55)
    return finish(s.img, grade=(1.04, 0.98, 0.88), vignette=0.45, seed=4)


def walking_together():
    """5: Zelko walks along the paddock with the foal at her side."""
    s = countryside(15, 108, clouds=0.7)
    cross_fence(s, 18, -30, 30, 3.0, slope=0.0)
    flowers(s, 140, 110, 5)
    x, y, k = at(s, 0.2, 7.6)
    parts, f = horse_parts("walk")
    fx, fy, fk = at(s, -0.6, 5.6)
    fparts, ff = horse_parts("walk", foal=True, star=False)
    paint_horse(s, parts, f, x + 42, y, k, facing=-1)
    paint_horse(s, fparts, ff, fx - 58, fy, fk, facing=-1, palette=FOAL, seed=8)
    s.grass_tufts(205, 450, GRASS_NEAR, seed=6)
    return finish(s.img, grade=(1.02, 1.0, 0.96), seed=5)


def nose_to_nose():
    """6: Under the big tree, mother and foal touch noses."""
    s = countryside(16, 112, clouds=0.3, hills=True)
    # A big shade tree on the left, its crown out of the picture.
    n = s.noise
    x, y = s.x / SS, s.y / SS
    trunk = polygon_mask(s.w, s.h, [(30 * SS, 0), (52 * SS, 0), (58 * SS, 128 * SS),
                                    (64 * SS, 138 * SS), (22 * SS, 138 * SS), (28 * SS, 128 * SS)])
    bark = rgb(84, 66, 50) * (0.6 + 0.5 * n.fbm(x / 1.5, y / 14, 4))[..., None]
    bark = bark * (1.1 - 0.6 * smoothstep(30, 60, x))[..., None]
    crown_n = n.fbm(x / 14, y / 10, 5)
    crown = blur(smoothstep(0.42, 0.5, crown_n + 0.55 - y / 90 - np.abs(x - 60) / 500), 1.2 * SS)
    leaf_n = n.fbm(x / 3, y / 3, 4)
    clumps = n.fbm(x / 16 + 7, y / 12, 3)
    leaves = rgb(58, 104, 40) * (0.45 + 0.6 * leaf_n + 0.5 * smoothstep(0.5, 0.8, clumps))[..., None]
    # Dappled shade on the grass under the crown.
    shade = smoothstep(0.45, 0.6, n.fbm(x / 18 + 3, y / 5, 4)) * smoothstep(150, 60, x) * (y > 112)
    s.img = s.img * (1 - 0.45 * shade)[..., None]
    s.img = over(s.img, bark, trunk)
    s.img = over(s.img, leaves, crown)
    flowers(s, 130, 90, 6)
    mx, my, mk = at(s, 0.9, 6.8)
    parts, f = horse_parts("sniff")
    paint_horse(s, parts, f, mx + 28, my, mk, facing=-1)
    fx, fy, fk = at(s, -0.6, 6.2)
    fparts, ff = horse_parts("alert", foal=True, star=False)
    paint_horse(s, fparts, ff, fx - 6, fy, fk, facing=1, palette=FOAL, seed=9)
    s.grass_tufts(200, 450, GRASS_NEAR, seed=7)
    return finish(s.img, grade=(1.02, 1.0, 0.95), seed=6)


def evening():
    """7: A summer evening: Zelko grazes by the fence in low golden light."""
    s = countryside(17, 122, clouds=0.55, sky=(rgb(88, 120, 178), rgb(250, 206, 150)),
                    grass=(rgb(96, 132, 36), rgb(168, 160, 80)), sun=(40, 100, 0.7), dry=0.4)
    paddock_fence(s, 4.0, 70.0, 3.6, 14, colour=rgb(180, 150, 112))
    x, y, k = at(s, -0.8, 7.6)
    parts, f = horse_parts("graze", star=False)
    # Long shadow stretching away from the low sun.
    sx = x + 58
    s.shadow(sx * SS, (y + 6) * SS, 82 * SS, 7 * SS, strength=0.45, softness=5)
    paint_horse(s, parts, f, x, y, k, facing=-1, light=(-0.9, -0.25, 0.35),
                warm=(1.2, 0.95, 0.7), ambient=0.3, shadow=False)
    s.grass_tufts(200, 500, rgb(120, 140, 50), seed=8)
    return finish(s.img, grade=(1.06, 0.98, 0.86), vignette=0.35, seed=7)


def running_together():
    """8: Mother and foal canter across the meadow."""
    s = countryside(18, 104, clouds=0.6)
    flowers(s, 118, 140, 8)
    x, y, k = at(s, 0.2, 7.8)
    parts, f = horse_parts("canter")
    paint_horse(s, parts, f, x + 34, y - k * 0.08, k, facing=1, speed_blur=0.6)
    fx, fy, fk = at(s, -0.8, 6.0)
    fparts, ff = horse_parts("canter", foal=True, star=False)
    paint_horse(s, fparts, ff, fx - 40, fy - fk * 0.06, fk, facing=1, palette=FOAL, seed=10,
                speed_blur=0.6)
    s.grass_tufts(200, 500, GRASS_NEAR, seed=9)
    return finish(s.img, grade=(1.02, 1.0, 0.95), seed=8)


PHOTOS = [paddock_portrait, gallop, grazing_with_foal, stall, walking_together, nose_to_nose,
          evening, running_together]


# ---------------------------------------------------------------- splash

HALTER = dict(BAY, halter=rgb(36, 70, 150), brass=rgb(214, 170, 72))


def splash():
    """A close-up of Zelko's head in a blue halter against soft summer foliage.
    The top left stays light and plain for the title, the bottom dark for the credits."""
    w, h = 337, 279
    s = Scene(w, h, horizon=200, seed=21)
    n = s.noise
    x, y = s.x / SS, s.y / SS
    # Out-of-focus background: pale sky top left, trees right, shade below.
    sky = mix(rgb(214, 232, 244), rgb(246, 240, 222), smoothstep(0, 120, y))
    trees = rgb(70, 118, 50) * (0.7 + 0.6 * blur(n.fbm(x / 9, y / 9, 4), 6 * SS))[..., None]
    tree_line = smoothstep(0.0, 1.0, (x - 150) / 120 + (y - 60) / 160
                           + 0.5 * (n.fbm(x / 40, y / 40, 3) - 0.5))
    bg = mix(sky, trees, np.clip(tree_line, 0, 1))
    lower = smoothstep(214, 234, y)
    bg = mix(bg, rgb(34, 52, 30) * (0.85 + 0.3 * n.fbm(x / 20, y / 20, 3))[..., None], lower)
    # Bokeh: soft bright discs of sun through the leaves.
    rng = np.random.default_rng(3)
    for _ in range(26):
        bx, by = rng.uniform(170, 337), rng.uniform(0, 150)
        r = rng.uniform(3, 9)
        m = ellipse_mask(s.w, s.h, bx * SS, by * SS, r * SS, r * SS, soft=4) * 0.22
        bg = over(bg, rgb(250, 246, 210), m * np.clip(tree_line, 0, 1))
    s.img = bg
    parts, f = horse_parts("portrait", star=False)
    hd, jaw, hl = f["hd"], f["jaw"], f["head_l"]
    top = f["top"]
    z = hl * 0.24

    def hp(u, v):  # a point on the head: u down the face, v back towards the jaw
        return top + hd * hl * u + jaw * hl * v

    def strap(p0, p1, width=0.022, dz=0.0):
        return Part("capsule", p0, p1, r0=hl * width, r1=hl * width, z=z + dz,
                    colour="halter", rz=hl * 0.008)

    def ring(p, r=0.04):
        return Part("ellipse", p, r0=hl * r, r1=hl * r, z=z + 0.012, colour="brass",
                    rz=hl * 0.03)

    # Halter: noseband round the nose, cheek piece behind the eye up to the
    # crown over the poll, throat latch under the jaw, brass rings at the joints.
    nose_ring = hp(0.6, 0.14)
    cheek_ring = hp(0.2, 0.22)
    parts += [
        strap(hp(0.57, -0.17), hp(0.63, 0.2)),
        strap(nose_ring, cheek_ring),
        strap(cheek_ring, hp(-0.02, 0.14)),
        strap(hp(-0.02, 0.14), hp(-0.13, 0.05), dz=hl * 0.04),
        strap(cheek_ring, hp(0.1, 0.32), width=0.02),
        ring(nose_ring),
        ring(cheek_ring, 0.035),
        # The bony crest along the cheek, under the skin.
        Part("capsule", hp(0.32, 0.07), hp(0.5, 0.09), r0=hl * 0.04, r1=hl * 0.025,
             z=hl * 0.1, colour="head", rz=hl * 0.08),
    ]
    # The head fills the right of the card, clear of the title and the version
    # line; the neck leaves the picture on the right, the body far outside it.
    scale = 226.0
    tx, ty = 284.0, 66.0
    paint_horse(s, parts, f, tx - top[0] * scale, ty - top[1] * scale, scale, facing=-1,
                palette=HALTER, light=(-0.55, -0.7, 0.55), warm=(1.04, 0.98, 0.9),
                ambient=0.34, shadow=False)
    return finish(s.img, grade=(1.03, 1.0, 0.96), vignette=0.2, grain=0.01, seed=11)


def draw_all(folder):
    write = lambda name, data: open(os.path.join(folder, name), "wb").write(data)
    write("splash.bmp", formats.bmp24(splash()))
    for i, paint in enumerate(PHOTOS, start=1):
        write("zelko%d.jpg" % i, formats.jpeg_baseline(paint()))
