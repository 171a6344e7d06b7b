# SPDX-FileCopyrightText: 1999-2026 Rumida Kobo
# SPDX-License-Identifier: MIT
"""The game's pixel art: the race course, the four horses and the program icon.

Everything here is drawn pixel by pixel, without anti-aliasing, in the exact
colours the game's layout relies on.
"""

import numpy as np

FIELD = (159, 223, 63)
BLACK = (0, 0, 0)
NEAR_WHITE = (255, 251, 240)
RED = (255, 0, 0)
BROWN = (128, 0, 0)
YELLOW = (255, 255, 63)

HORSE_COLOURS = {
    "aka": RED,
    "cha": BROWN,
    "ki": YELLOW,
    "shiro": NEAR_WHITE,
}

# A galloping horse facing left (towards the finish), 40 x 40.
# '.' background, 'o' body colour, 'k' black (outline, mane, tail, eye, hooves).
HORSE = """
........................................
........................................
..........k.............................
.........kok............................
.........kook...........................
........kkookk..........................
........kookkk..........................
.......koookkkk.........................
.......koookkkkk........................
......koooookkkkk.......................
.....koooooookkkkk......................
.....kokooooookkkkk.....................
....kooooooooookkkkk....................
....koooooooooookkkkk...................
...koooooooooooookkkkk......kkkkk.......
..koooooooooooooookkkkk....koooookkk....
..koooooookooooooookkkkkkkkoooooookkkkk.
.kokoooookkoooooooookooooooooooookkkk.kk
.kooooook..kooooooooooooooooooooookkkk..
.koooook...kooooooooooooooooooooooookkk.
..kkkok...kooooooooooooooooooooooookk.kk
.....k....koooooooooooooooooooooooookk.k
..........koooooooooooooooooooooooookkk.
..........kooooooooooooooooooooooook.kk.
...........koooooooooooooooooooooook..k.
...........kooooooooooooooooooooook..k..
...........kooooooooooooooooooooook.....
..........koooooookoooooooookkkkkok.....
......kkkkoookkkookkkkkkkkook...kook....
....kkooooook..kook......kook....kok....
....kkkkkkkk..kook......kook.....kook...
..............kook.....koook.....koook..
..............koook....kook.......kook..
...............koook..kook.........kook.
................kkkokkoook..........kkok
.................kkk.kkok...........kkk.
.....................kkk................
........................................
........................................
........................................
"""

# The icon: a horse's head on a round patch of turf.
# '.' keeps the background disc (turf inside a black rim), 'r' red,
# 'k' black, 'w' near-white blaze.
HEAD_32 = """
................................
................k...............
...............krk..............
..............krrkk.............
..............krrkkk............
.............krrrkkkk...........
............krrrrrkkkk..........
...........krrrrrrkkkkk.........
..........krwrrrrrrkkkkk........
.........krwrrrrrrrrkkkkk.......
........krwrkkrrrrrrrkkkkk......
.......krwrrkkrrrrrrrrkkkkk.....
......krwrrrrrrrrrrrrrrkkkkk....
.....krwrrrrrrrrrrrrrrrrkkkk....
....krwrrrrrrrrrrrrrrrrrrkkkk...
...krwrrrrrrrrrrrrrrrrrrrkkkk...
..krwrrrrrrrrkrrrrrrrrrrrrkkkk..
..krkrrrrrrrkrrrrrrrrrrrrrkkkk..
.krrrrrrrrkkkrrrrrrrrrrrrrrkkk..
.kkrrrrrkk..krrrrrrrrrrrrrrkkk..
.krrrrrrk....krrrrrrrrrrrrrkkk..
..kkkkkk.....krrrrrrrrrrrrrrkk..
..............krrrrrrrrrrrrrkk..
..............krrrrrrrrrrrrrkk..
...............krrrrrrrrrrrrkk..
...............krrrrrrrrrrrrrk..
................krrrrrrrrrrrrk..
................krrrrrrrrrrrrk..
.................krrrrrrrrrrrk..
.................krrrrrrrrrrrk..
.................krrrrrrrrrrrk..
.................krrrrrrrrrrrk..
"""

HEAD_16 = """
................
........k.......
.......krk......
......krrkk.....
.....krrrrkk....
....krkrrrkkk...
...krwrrrrrkkk..
..krwrrrrrrrkk..
.krwrrrrrrrrkk..
.krrrrkkrrrrrkk.
.kkkkk.krrrrrkk.
.......krrrrrkk.
.......krrrrrrk.
........krrrrrk.
........krrrrrk.
........krrrrrk.
"""


def _grid(text):
    rows = [r for r in text.strip("\n").split("\n")]
    size = len(rows)
    assert all(len(r) == size for r in rows), "ragged pixel grid"
    return np.array([list(r) for r in rows])


def course():
    """500 x 200 palette indices and the palette of the race course."""
    palette = [FIELD, BLACK, NEAR_WHITE]
    px = np.zeros((200, 500), np.uint8)
    px[0:4, :] = 1
    px[196:200, :] = 1
    px[4:196, 34] = 2
    # Lane separators at the starting stalls on the right.
    for top in (48, 97, 147):
        px[top:top + 4, 444:500] = 1
    return px, palette


def horse(body):
    """40 x 40 palette indices and palette; index 255 is the transparent one."""
    grid = _grid(HORSE)
    px = np.full(grid.shape, 255, np.uint8)
    px[grid == "o"] = 1
    px[grid == "k"] = 0
    # The transparent entry holds the turf green, so a viewer that ignores
    # transparency still shows the horse on the course's colour.
    palette = [BLACK, body] + [BLACK] * 253 + [FIELD]
    return px, palette


# Icon palette: the game's colours first, then the rest of the classic
# 16-colour set so the table is full.
ICON_PALETTE = [BLACK, RED, FIELD, NEAR_WHITE, BROWN, YELLOW,
                (0, 0, 128), (0, 128, 0), (0, 128, 128), (128, 0, 128),
                (128, 128, 0), (192, 192, 192), (128, 128, 128),
                (0, 0, 255), (255, 0, 255), (0, 255, 255)]


def _disc(size):
    """Inside-the-disc mask and its one-pixel rim."""
    c = (size - 1) / 2.0
    y, x = np.mgrid[0:size, 0:size]
    inside = (x - c) ** 2 + (y - c) ** 2 <= (size / 2.0) ** 2
    core = np.zeros_like(inside)
    core[1:-1, 1:-1] = (inside[2:, 1:-1] & inside[:-2, 1:-1]
                        & inside[1:-1, 2:] & inside[1:-1, :-2])
    return inside, inside & ~core


def icon_image(text):
    """Palette indices and the opaque mask of one icon image."""
    grid = _grid(text)
    size = grid.shape[0]
    inside, rim = _disc(size)
    px = np.full(grid.shape, 2, np.uint8)  # turf
    px[rim] = 0
    for ch, index in (("r", 1), ("k", 0), ("w", 3)):
        px[grid == ch] = index
    return px, ICON_PALETTE, inside


def icon_images():
    return [icon_image(HEAD_32), icon_image(HEAD_16)]
