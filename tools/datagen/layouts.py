#!/usr/bin/python3
"""Authoring aid for the game's board layouts: builds every layout under data/puzzles/ from the
shapes below, checks the placement rules and runs a simulation of the deal over many seeds
before writing a file. Run it after changing a shape; the written files are the ones shipped.
layout_sheet.py draws the written files from above, side by side, to compare their shapes.

A position is (i, j, level, code): i and j in half-tile steps, level from 1, code -1 for a tile
the deal chooses, 52 for a special cell, any other code a preset face or special tile."""

import os
import random
import sys

DEAL, CELL = -1, 52
YINYANG, BRICK, DOWN, UP, FUSE, CLONE, TYPHOON, SWAPPER, MAGIC, MAGNET, DEEP = (
    42, 45, 46, 47, 48, 49, 50, 54, 57, 58, 59)
# Special kinds as the grid gives them.
KIND = {59: 11, 47: 8, 46: 9, 57: 10, 54: 7, 49: 6, 58: 5, 50: 4, 48: 3, 45: 2}
COLS, ROWS, LAYERS = 42, 22, 10


def kind_of(code):
    if code < 42 or code == CELL:
        return 0
    return KIND.get(code, 1)


def row(i0, j, n, level=1, code=DEAL, step=2):
    return [(i0 + step * t, j, level, code) for t in range(n)]


def rect(i0, j0, w, h, level=1, code=DEAL):
    out = []
    for r in range(h):
        out += row(i0, j0 + 2 * r, w, level, code)
    return out


class Grid:
    def __init__(self, positions):
        self.state = {}
        self.cells = {}
        for (i, j, level, code) in positions:
            self.put(i, j, level - 1)
            self.cells[(i, j, level - 1)] = code

    def put(self, i, j, k):
        for di in (0, 1):
            for dj in (0, 1):
                key = (i + di, j + dj, k)
                if key in self.state:
                    raise ValueError("overlap at %s" % (key,))
                self.state[key] = (i, j, k)

    def take(self, i, j, k):
        for di in (0, 1):
            for dj in (0, 1):
                del self.state[(i + di, j + dj, k)]

    def empty(self, i, j, k):
        return (i, j, k) not in self.state

    def covered(self, i, j, k):
        return any(not self.empty(i + di, j + dj, k + 1) for di in (0, 1) for dj in (0, 1))

    def fully_covered(self, i, j, k):
        return all(not self.empty(i + di, j + dj, k + 1) for di in (0, 1) for dj in (0, 1))

    def free(self, i, j, k, kind):
        if self.covered(i, j, k):
            return False
        if kind == 2:
            return False
        if self.empty(i + 2, j, k) and self.empty(i + 2, j + 1, k):
            return True
        return self.empty(i - 1, j, k) and self.empty(i - 1, j + 1, k)


def simulate(positions, match, rng):
    """One run of the deal's simulation: True when every tile to deal is taken in groups."""
    g = Grid(positions)
    kinds = {c: kind_of(code) for c, code in g.cells.items()}
    for c, code in list(g.cells.items()):
        if code not in (DEAL, CELL) and kinds[c] == 0:
            g.take(*c)  # preset ordinary faces leave the simulation
            del g.cells[c]
    on = dict(g.cells)
    has_cells = any(code == CELL for code in on.values())
    while True:
        left_deal = [c for c, code in on.items() if code == DEAL]
        only_cells = has_cells and not left_deal
        cand = [c for c, code in on.items()
                if kinds[c] == 0 and (code == DEAL or (code == CELL and only_cells))]
        if not cand:
            return True
        free = [c for c in cand if g.free(*c, 0)]
        free_special = {}
        for c, code in on.items():
            k = kinds[c]
            if k in (3, 4, 5, 6, 7, 11) and g.free(*c, k):
                free_special.setdefault(k, []).append(c)
        if len(free) < match:
            for k in (11, 5, 4, 3, 7, 6):
                if k in free_special and use_special(g, on, kinds, k, free_special[k][0], rng):
                    break
            else:
                return False
            continue
        for c in rng.sample(free, match):
            g.take(*c)
            del on[c]
        for k in (11, 5, 4, 3):
            if k in free_special and rng.randrange(7) == 3:
                use_special(g, on, kinds, k, free_special[k][0], rng)
        for k in (6, 7):
            if k in free_special and free_special[k][0] in on:
                use_special(g, on, kinds, k, free_special[k][0], rng)


def use_special(g, on, kinds, k, cell, rng):
    if cell not in on:
        return False
    ordinary = [c for c in on if kinds[c] == 0]
    if k == 5:
        f = [c for c in ordinary if g.free(*c, 0)]
        cov = [c for c in ordinary if not g.free(*c, 0) and not g.fully_covered(*c)]
        if not f or not cov:
            return False
        for c in (rng.choice(f), rng.choice(cov)):
            g.take(*c)
            del on[c]
    elif k == 4:
        for c in rng.sample(ordinary, min(4, len(ordinary))):
            g.take(*c)
            del on[c]
    elif k == 3:
        bricks = [c for c in on if kinds[c] == 2 and not g.covered(*c)]
        if bricks:
            b = rng.choice(bricks)
            g.take(*b)
            del on[b]
    g.take(*cell)
    del on[cell]
    return True


def earned_count(positions):
    """How many tiles must leave before every Yin-Yang tile is free: those above each, and on its
    cheaper side those beside it, each with the tiles that must leave before it can (above it,
    and beside it on its side away from the tile it clears), and so on up. A Yin-Yang tile never
    leaves on the way, so it walls in its neighbours on that side. None when a tile can never
    come free."""
    g = Grid(positions)
    yinyang = {c for c, code in g.cells.items() if code == YINYANG}

    def above(c):
        i, j, k = c
        return {g.state.get((i + d % 2, j + d // 2, k + 1)) for d in range(4)} - {None}

    def at_side(c, di):
        i, j, k = c
        return {g.state.get((i + di, j + dj, k)) for dj in (0, 1)} - {None}

    memo = {}

    def before(c, came_from):
        # came_from: the side (-1 left, 2 right) of the tile that c is cleared for.
        key = (c, came_from)
        if key not in memo:
            memo[key] = None
            need = set()
            for a in above(c):
                if a in yinyang or before(a, 0) is None:
                    return None
                need |= {a} | before(a, 0)
            best = None
            for di, back in ((-1, 2), (2, -1)):
                if di == came_from:
                    continue
                side = set()
                for n in at_side(c, di):
                    if side is None or n in yinyang or before(n, back) is None:
                        side = None
                        break
                    side |= {n} | before(n, back)
                if side is not None and (best is None or len(side) < len(best)):
                    best = side
            memo[key] = None if best is None else need | best
        return memo[key]

    need = set()
    for c in yinyang:
        if before(c, 0) is None:
            return None
        need |= before(c, 0)
    return len(need)


def bury_yinyang(board, most=None):
    """Turns two side by side tiles to deal on the lowest layer into the Yin-Yang pair: the pair
    that takes the most tiles to free (at most `most`), nearest the middle among equals. Each
    walls in the other on one side, so the row on both sides and all above must go first."""
    cells = {(p[0], p[1], p[2]): n for n, p in enumerate(board)}
    mid_i = sum(p[0] for p in board) / len(board)
    mid_j = sum(p[1] for p in board) / len(board)
    best = None
    for (i, j, level), n in sorted(cells.items()):
        m = cells.get((i + 2, j, level))
        if level != 1 or m is None or board[n][3] != DEAL or board[m][3] != DEAL:
            continue
        trial = list(board)
        trial[n] = (i, j, 1, YINYANG)
        trial[m] = (i + 2, j, 1, YINYANG)
        g = Grid(trial)
        if g.free(i, j, 0, 1) or g.free(i + 2, j, 0, 1):
            continue
        earned = earned_count(trial)
        if earned is None or (most is not None and earned > most):
            continue
        rank = (earned, -abs(i + 1 - mid_i) - abs(j - mid_j))
        if best is None or rank > best[0]:
            best = (rank, trial)
    assert best is not None
    return best[1]


def dealt_count(positions):
    return sum(1 for p in positions if p[3] in (DEAL, CELL))


def check(name, positions, match, supported):
    g = Grid(positions)
    for (i, j, level, code) in positions:
        assert 0 <= i <= COLS - 2 and 0 <= j <= ROWS - 2 and 1 <= level <= LAYERS, (name, i, j, level)
    n = dealt_count(positions)
    assert n in supported, (name, n)
    # Extents on screen: tile 48 x 58, half steps of 20 x 25, layers 8 px up and right.
    xs = [20 * i + 8 * (l - 1) for (i, j, l, c) in positions]
    ys = [25 * j - 8 * (l - 1) for (i, j, l, c) in positions]
    w, h = max(xs) - min(xs) + 48, max(ys) - min(ys) + 58
    assert w <= 780 and h <= 440, (name, w, h)
    if any(p[3] == YINYANG for p in positions):
        # Matching the pair ends the board, so it is earned: never free at the deal, and a third
        # of the board must leave before both are free.
        assert not any(g.free(i, j, level - 1, 1) for (i, j, level, c) in positions if c == YINYANG), name
        earned = earned_count(positions)
        assert earned is not None and 3 * earned >= len(positions), (name, earned, len(positions))
    stuck = 0
    for seed in range(1, 51):
        rng = random.Random(seed)
        tries = 0
        while not simulate(positions, match, rng):
            tries += 1
            assert tries < 20, (name, seed)
        stuck += tries
    return n, w, h, stuck


# --- Classic boards: 144 tiles to deal, no special tiles -----------------------------------------

def terrace():
    p = rect(4, 2, 12, 6) + row(8, 0, 8) + row(8, 14, 8) + [(2, 7, 1, DEAL), (28, 7, 1, DEAL), (30, 7, 1, DEAL)]
    p += rect(8, 4, 8, 4, 2) + rect(10, 6, 6, 2, 3) + rect(12, 6, 4, 2, 4) + [(15, 7, 5, DEAL)]
    return p


def fortress():
    ring = lambda lv: (row(4, 0, 12, lv) + row(4, 14, 12, lv) + [(4, j, lv, DEAL) for j in range(2, 13, 2)]
                       + [(26, j, lv, DEAL) for j in range(2, 13, 2)])
    p = ring(1) + rect(10, 4, 6, 4) + ring(2) + rect(10, 4, 6, 4, 2)
    for (ci, cj, di, dj) in ((4, 0, 2, 2), (26, 0, -2, 2), (4, 14, 2, -2), (26, 14, -2, -2)):
        p += [(ci, cj, 3, DEAL), (ci + di, cj, 3, DEAL), (ci, cj + dj, 3, DEAL), (ci, cj, 4, DEAL)]
    p += rect(12, 6, 4, 2, 3)
    return p


def bridge():
    p = rect(0, 6, 16, 2)
    for i0 in (4, 22):
        p += rect(i0, 0, 3, 3) + rect(i0, 10, 3, 3) + rect(i0, 2, 3, 6, 2)
        p += rect(i0 + 1, 5, 2, 2, 3)
    p += [(i, j, 2, DEAL) for (i, j, _, _) in rect(0, 6, 16, 2) if not (4 <= i <= 8 or 22 <= i <= 26)]
    p += rect(12, 6, 5, 2, 3) + [(13, 7, 4, DEAL), (15, 7, 4, DEAL)]
    return p


def dragon():
    import math
    p = []
    for t in range(16):
        c = 7 + int(round(3.4 * math.sin(t * 0.55)))
        i = 2 * t
        p += [(i, c + d, 1, DEAL) for d in (-3, -1, 1, 3)]
        p += [(i, c + d, 2, DEAL) for d in (-2, 0, 2)]
        p += [(i, c + d, 3, DEAL) for d in (-1, 1)]
    return p


def centred_row(j, n, level, mid=16):
    return row(mid - (n - 1), j, n, level)


def diamond():
    widths = (4, 8, 12, 16, 16, 12, 8, 4)
    p = []
    for r, w in enumerate(widths):
        p += centred_row(2 * r, w, 1)
    for r, w in enumerate((4, 8, 10, 10, 8, 4)):
        p += centred_row(2 * r + 2, w, 2)
    for r, w in enumerate((2, 6, 6, 2)):
        p += centred_row(2 * r + 4, w, 3)
    p += centred_row(6, 2, 4) + centred_row(8, 2, 4)
    return p


def pagoda():
    p = centred_row(14, 16, 1) + centred_row(12, 14, 1) + centred_row(10, 10, 1) + centred_row(8, 8, 1)
    p += centred_row(6, 12, 1) + centred_row(4, 6, 1) + centred_row(2, 8, 1) + centred_row(0, 4, 1)
    p += centred_row(12, 12, 2) + centred_row(10, 8, 2) + centred_row(6, 8, 2) + centred_row(2, 4, 2)
    p += centred_row(12, 6, 3) + centred_row(10, 4, 3) + centred_row(6, 4, 3)
    p += centred_row(8, 6, 2) + centred_row(4, 4, 2) + centred_row(8, 2, 3)
    p += centred_row(11, 4, 4) + centred_row(6, 2, 4) + centred_row(11, 2, 5)
    return p


def lotus():
    p = rect(10, 0, 7, 8) + rect(2, 4, 4, 3) + rect(24, 4, 4, 3)
    p += rect(11, 3, 6, 5, 2) + rect(3, 5, 3, 2, 2) + rect(25, 5, 3, 2, 2)
    p += rect(12, 4, 5, 4, 3) + [(14, 7, 4, DEAL), (16, 7, 4, DEAL)]
    return p


def twin_peaks():
    p = []
    for i0, j0 in ((0, 0), (18, 4)):
        p += rect(i0, j0, 6, 6)
        p += rect(i0 + 1, j0 + 1, 5, 4, 2)
        p += rect(i0 + 2, j0 + 2, 4, 3, 3)
        p += rect(i0 + 3, j0 + 3, 2, 2, 4)
    return p


def dragon_rising():
    import math
    p = []
    for t in range(16):
        c = 7 - int(round(3.4 * math.sin(t * 0.45 + 0.8)))
        i = 2 * t
        p += [(i, c + d, 1, DEAL) for d in (-3, -1, 1, 3)]
        p += [(i, c + d, 2, DEAL) for d in (-2, 0, 2)]
        p += [(i, c + d, 3, DEAL) for d in (-1, 1)]
    return p


def garden():
    ring = lambda lv, i0, j0, w, h: (row(i0, j0, w, lv) + row(i0, j0 + 2 * (h - 1), w, lv)
                                     + [(i0, j0 + 2 * r, lv, DEAL) for r in range(1, h - 1)]
                                     + [(i0 + 2 * (w - 1), j0 + 2 * r, lv, DEAL) for r in range(1, h - 1)])
    p = ring(1, 2, 0, 14, 8) + ring(1, 6, 4, 10, 4) + rect(12, 6, 4, 2) + ring(2, 2, 0, 14, 8)
    p += ring(2, 6, 4, 10, 4) + rect(12, 6, 4, 2, 2)
    return p


def first_steps():
    """The first puzzle: a low block with stepping stones on it, each stone free from the start,
    and the Yin-Yang pair in the middle of its middle row under the stones."""
    stones = [(9 + 3 * t, j, 2, DEAL) for j in (3, 5) for t in range(5)]
    return bury_yinyang(rect(8, 2, 8, 3) + stones + row(12, 8, 4))


def stagger(dims, i0=4, j0=0):
    """Layers of (columns, rows) rectangles, each half a tile right of and below the one under it,
    so that every upper tile stands on four: the deep rows of the quest's boards."""
    p = []
    for level, (w, h) in enumerate(dims, 1):
        p += rect(i0 + level - 1, j0 + level - 1, w, h, level)
    return p


def centred(rows, level, mid=16, j0=0):
    """One layer of rows centred on column mid: (j, tiles) each."""
    p = []
    for (j, n) in rows:
        p += centred_row(j0 + j, n, level, mid)
    return p


def turtle():
    p = centred([(0, 12), (2, 8), (4, 10), (6, 12), (8, 12), (10, 10), (12, 8), (14, 12)], 1)
    p += [(3, 7, 1, DEAL), (29, 7, 1, DEAL), (31, 7, 1, DEAL)]
    p += centred([(2, 6), (4, 6), (6, 6), (8, 6), (10, 6), (12, 6)], 2)
    p += centred([(4, 4), (6, 4), (8, 4), (10, 4)], 3) + centred([(6, 2), (8, 2)], 4)
    return p + [(16, 7, 5, DEAL)]


def mirrored(half, mid=15):
    """A left half and its mirror image about the tile column mid."""
    return half + [(2 * mid - i, j, l, c) for (i, j, l, c) in half if i != mid]


def butterfly():
    wing = []
    for j, n in ((0, 6), (2, 5), (4, 4), (6, 3), (8, 4), (10, 5), (12, 6)):
        wing += row(15 - 2 * n, j, n)
    for j, n in ((1, 5), (3, 4), (9, 4), (11, 5)):
        wing += row(14 - 2 * n, j, n, 2)
    wing += row(7, 2, 3, 3) + row(7, 10, 3, 3)
    body = ([(15, j, 1, DEAL) for j in range(0, 15, 2)] + [(15, j, 2, DEAL) for j in range(1, 14, 2)]
            + [(15, j, 3, DEAL) for j in range(2, 13, 2)] + [(15, j, 4, DEAL) for j in range(3, 12, 2)]
            + [(15, j, 5, DEAL) for j in range(4, 11, 2)])
    return mirrored(wing) + body


def castle():
    p = rect(6, 2, 10, 6) + rect(8, 4, 8, 4, 2) + rect(12, 6, 4, 2, 3)
    for (ci, cj) in ((2, 0), (26, 0), (2, 12), (26, 12)):
        p += rect(ci, cj, 2, 2) + rect(ci, cj, 2, 2, 2)
    return p + row(6, 0, 10)[2:-2] + row(6, 14, 10)[2:-2]


def stepped_pyramid():
    return stagger([(10, 6), (9, 5), (8, 4), (7, 1)], i0=6)


def torii():
    p = []
    for i0 in (2, 24):
        p += rect(i0, 4, 3, 6) + rect(i0 + 1, 5, 2, 5, 2) + rect(i0 + 1, 6, 1, 4, 3)
    p += row(2, 0, 14) + row(3, 0, 13, 2) + row(4, 1, 12, 3) + row(5, 1, 11, 4)
    p += row(10, 2, 6) + row(13, 3, 3, 2)
    return p + row(8, 6, 8) + row(9, 6, 7, 2) + row(10, 6, 6, 3)


def compass():
    p = centred([(0, 2), (2, 4), (4, 14), (6, 16), (8, 16), (10, 14), (12, 4), (14, 2)], 1)
    p += centred([(3, 3), (5, 13), (7, 15), (9, 13), (11, 3)], 2)
    p += centred([(4, 2), (6, 10), (8, 10), (10, 2)], 3)
    return p + centred([(7, 1)], 4)


# --- Smaller boards --------------------------------------------------------------------------------

def small36(i0=10):
    return rect(i0, 2, 6, 4) + rect(i0 + 1, 3, 5, 2, 2) + row(i0 + 4, 4, 2, 3)


def small54(i0=8):
    return rect(i0, 2, 9, 4) + rect(i0 + 1, 3, 8, 2, 2) + row(i0 + 6, 4, 2, 3)


def steps72(i0=8):
    return rect(i0, 0, 8, 6) + rect(i0 + 2, 2, 6, 4, 2)


def wings72():
    return (rect(4, 2, 5, 5) + rect(20, 2, 5, 5) + rect(5, 3, 4, 2, 2) + rect(21, 3, 4, 2, 2)
            + row(14, 4, 1) + row(14, 8, 1) + [(6, 8, 2, DEAL), (22, 8, 2, DEAL), (14, 6, 1, DEAL), (14, 10, 1, DEAL)])


def hill108(i0=6):
    return rect(i0, 0, 10, 6) + rect(i0 + 2, 2, 8, 4, 2) + rect(i0 + 4, 4, 6, 2, 3) + rect(i0 + 8, 4, 2, 2, 4)


def cross108():
    return (rect(12, 0, 4, 8) + rect(4, 4, 4, 4) + rect(20, 4, 4, 4) + rect(13, 1, 3, 6, 2)
            + rect(5, 5, 3, 3, 2) + rect(21, 5, 3, 3, 2) + rect(14, 4, 2, 4, 3))


def triple96():
    return rect(6, 0, 10, 6) + rect(8, 2, 8, 4, 2) + row(14, 6, 2, 3) + row(14, 8, 2, 3)


# --- Specials beside a board -------------------------------------------------------------------------

def beside(board, codes, levels=None):
    """Puts each code in a column half a tile beside the board, alternating left and right, so
    that none touches a board tile or blocks one: each is free from the start."""
    lo = min(p[0] for p in board) - 3
    hi = max(p[0] for p in board) + 3
    out, left, right = [], 0, 0
    for n, code in enumerate(codes):
        if n % 2 == 0:
            out.append((lo, 2 * left, 1, code))
            left += 1
        else:
            out.append((hi, 2 * right, 1, code))
            right += 1
    return board + out


def bricks_on_top(board, count):
    """Bricks on the highest tiles, one per row, each covering tiles to deal and standing in no
    one's way on its own layer."""
    top = max(p[2] for p in board)
    tops = sorted({(p[0], p[1]) for p in board if p[2] == top}, key=lambda t: (t[1], t[0]))
    out, rows = [], set()
    for (i, j) in tops:
        if j in rows or len(out) == count:
            continue
        out.append((i, j, top + 1, BRICK))
        rows.update({j - 1, j, j + 1})
    assert len(out) == count
    return board + out


def shifted(board, di):
    return [(i + di, j, l, c) for (i, j, l, c) in board]


# --- The sets ------------------------------------------------------------------------------------------

PAIRS = 2, {36, 54, 72, 108, 144}
TRIPLES = 3, {96, 144}

CLASSIC = [
    ("classic01", "Terrace", terrace()),
    ("classic02", "Fortress", fortress()),
    ("classic03", "Bridge", bridge()),
    ("classic04", "Dragon", dragon()),
    ("classic05", "Diamond", diamond()),
    ("classic06", "Pagoda", pagoda()),
    ("classic07", "Lotus", lotus()),
    ("classic08", "Twin Peaks", twin_peaks()),
    ("classic09", "Rising Dragon", dragon_rising()),
    ("classic10", "Walled Garden", garden()),
    ("classic11", "Turtle", turtle()),
    ("classic12", "Butterfly", butterfly()),
    ("classic13", "Castle", castle()),
    ("classic14", "Stepped Pyramid", stepped_pyramid()),
    ("classic15", "Torii Gate", torii()),
    ("classic16", "Compass Star", compass()),
]

LOGIC = [
    ("logic01", "First Steps", first_steps(), PAIRS),
    ("logic02", "Up and Down", beside(small54(), [UP, DOWN]), PAIRS),
    ("logic03", "The Magic Wand", beside(steps72(), [MAGIC, CLONE]), PAIRS),
    ("logic04", "Typhoon Season", beside(wings72(), [TYPHOON, SWAPPER]), PAIRS),
    ("logic05", "Magnetic Hill", beside(hill108(), [MAGNET, DEEP]), PAIRS),
    ("logic06", "Brick by Brick", beside(bricks_on_top(cross108(), 2), [FUSE, FUSE]), PAIRS),
    ("logic07", "Threes", beside(triple96(), [CLONE, UP, FUSE]), TRIPLES),
    ("logic08", "Hidden Cells", beside(shifted(lotus(), 2)[:-8], [CELL] * 8 + [SWAPPER]), PAIRS),
    ("logic09", "All the Powers", beside(bricks_on_top(shifted(pagoda(), 2), 1),
                                         [FUSE, UP, DOWN, MAGIC, CLONE, TYPHOON, SWAPPER, MAGNET, DEEP]), PAIRS),
    ("logic10", "Hidden Harmony", beside(bury_yinyang(stagger([(13, 5), (12, 4), (11, 3)], i0=3)),
                                       [MAGNET, TYPHOON, MAGIC]), PAIRS),
    ("logic11", "Rank and File", beside(stagger([(8, 5), (7, 4), (4, 1)], i0=8), [UP, DOWN, MAGIC]), PAIRS),
    ("logic12", "Caged Butterfly", beside(bricks_on_top(butterfly(), 3), [FUSE, FUSE, FUSE]), PAIRS),
    ("logic13", "Triple Crown", beside(shifted(turtle(), 2), [SWAPPER, CLONE, DOWN]), TRIPLES),
    ("logic14", "Deep Roots", beside(stagger([(9, 6), (8, 5), (7, 2)], i0=7), [DEEP, MAGNET, SWAPPER]), PAIRS),
    ("logic15", "Secret Chambers", beside(stagger([(8, 5), (7, 3), (5, 1)], i0=8), [CELL] * 6 + [CLONE]), PAIRS),
    ("logic16", "Grand Finale", beside(bury_yinyang(stagger([(14, 5), (13, 4), (12, 2)], i0=3)), [SWAPPER, TYPHOON]), PAIRS),
]

def art(rows, level=1, i0=0, j0=0, code=DEAL):
    """One layer drawn as text: a row of whole tiles per string, '#' a tile, a space none; a
    leading '>' puts the row half a tile to the right."""
    out = []
    for r, text in enumerate(rows):
        shift = 0
        if text.startswith(">"):
            shift, text = 1, text[1:]
        for c, ch in enumerate(text):
            if ch == "#":
                out.append((i0 + shift + 2 * c, j0 + 2 * r, level, code))
    return out


def moved(board, di, dj):
    return [(i + di, j + dj, l, c) for (i, j, l, c) in board]


def with_yinyang(board, places):
    """The board with the Yin-Yang pair on the two places (i, j, level)."""
    assert all(any(p[:3] == place for p in board) for place in places)
    return [(i, j, l, YINYANG if (i, j, l) in places else c) for (i, j, l, c) in board]


# The quest's boards, each drawn for the scene it is played over. Each Yin-Yang pair sits where
# the tiles that must leave first are a third of the board, at the place (and with the board at
# the offset, which picks its fixed deal) that the boards report showed a player matching free
# pairs at random frees it soonest and wins most often, with four free pairs at the deal or more.

def spirit_flame():
    """The Spirit Wakes: a flame rising from its bowl."""
    p = art(["     #      ",
             "    ###     ",
             "    ####    ",
             "   #####    ",
             "  #######   ",
             " ########## ",
             "  ########  ",
             "    ####    "], 1, i0=4)
    p += art(["    ##  ", "   ###  ", "   #### ", "  ##### ", "  ###### ", "   ####  "], 2, i0=5, j0=3)
    p += art(["   ## ", "   ### ", "  ###  "], 3, i0=6, j0=8)
    return p


def peak(ci, cj, w, h, levels, start=1):
    """A pyramid centred on (ci, cj): each layer a tile narrower and shorter than the one under it."""
    out = []
    for n in range(levels):
        ww, hh = w - n, h - n
        if ww < 1 or hh < 1:
            break
        out += rect(ci - (ww - 1), cj - (hh - 1), ww, hh, start + n)
    return out


def free_of(p, q):
    """The tiles of p that stand clear of the tiles of q."""
    occ = Grid(q).state
    return [t for t in p if all((t[0] + a, t[1] + b, t[2] - 1) not in occ for a in (0, 1) for b in (0, 1))]


def river_road():
    """The River Road: the river bends down the valley, the road on its bank, a hill in the bend."""
    p = peak(23, 6, 4, 4, 3)
    p += free_of(art(["#######          ", " #######         ", "   ######        ", "     ####        ",
                      "       ####      ", "      #####      ", "    #######      ", "  ##             "], 1, i0=2), p)
    p += art(["####", " ###"], 2, i0=3, j0=1)
    return p


def rice_terraces():
    """Rice Terraces: curved strips step up the hill."""
    p = art(["#######        ", "  #########    ", "     ##########", "               ",
             "###############", " ############# ", "  ###########  "], 1, i0=2)
    p += art(["######", "  ########", "      ########"], 2, i0=3, j0=1)
    p += art([" ###########"], 2, i0=3, j0=9)
    p += art(["####", "  ######"], 3, i0=4, j0=2)
    p += art(["    ##"], 3, i0=4, j0=10)
    return p


def misty_mountain():
    """Mountain of Mist: a peak whose shoulders drift in bands of mist."""
    p = art(["        ##        ",
             "       ####       ",
             "      ######      ",
             "  ##  #######  ## ",
             "    #########     ",
             "  ##############  ",
             " ################ "], 1, i0=0)
    p += art(["       ##  ", "      ####  ", "     ######  ", "    ########  ", "   ##########  "], 2, i0=1, j0=1)
    p += art(["     ###", "     ####", "    ######"], 3, i0=2, j0=4)
    p += art(["      ##", "     ###"], 4, i0=3, j0=5)
    return p


def waterfall():
    """The Waterfall: two cliffs, the fall between them, the deep pool below."""
    p = art(["####       ####",
             "####  ##   ####",
             "####  ##   ####",
             "###   ##    ###",
             "              ",
             " ############# ",
             "  ###########  "], 1, i0=2)
    p += art(["###       ###", "###       ###", "##         ##"], 2, i0=3, j0=1)
    p += art(["##         ##", "#           #"], 3, i0=4, j0=2)
    p += art(["#", "#"], 2, i0=15, j0=3)
    p += art(["##########", " ########"], 2, i0=5, j0=11)
    p += art([" ########"], 3, i0=4, j0=12)
    return p


def lantern_garden():
    """The Lantern Garden: lanterns hang from a line over the garden path."""
    p = art(["###############"], 1, i0=0)
    p += art(["##############"], 2, i0=1, j0=0)
    p += art(["  ########"], 3, i0=2, j0=0)
    for c in (0, 8, 16, 24):
        p += art(["###", "###", "###", " # "], 1, i0=c, j0=2)
        p += art(["##", "##"], 2, i0=c + 1, j0=3)
    p += art(["###############", " ############# "], 1, i0=0, j0=12)
    p += art(["##############", ], 2, i0=1, j0=12)
    p += art([" ###########", ], 3, i0=2, j0=12)
    return p


def autumn_forest():
    """Autumn Forest: three crowns above a deep bank of fallen leaves."""
    p = []
    for c in (0, 12, 24):
        p += art([" ### ", "#####", " ### "], 1, i0=c, j0=0)
    p += art([" ##############", "#################", " ################", "  ##############"], 1, i0=0, j0=6)
    p += art(["  ############", " ############", "   ############"], 2, i0=1, j0=7)
    p += art(["   ########", "    ########"], 3, i0=2, j0=8)
    return p


def snowy_pass():
    """The Snowy Pass: two snowy mountains, the pass between them."""
    p = art(["  ##         ##  ", " ####       #### ", "######  #  ######", "######  #  ######",
             "#######   #######", "#################", "     #######     "], 1, i0=0, j0=2)
    p += art(["  ##       ##  ", " ####     #### ", "#####     #####", "######   ######"], 2, i0=1, j0=3)
    p += art(["  #       #  ", " ###     ### ", "####     ####", "####     ####"], 3, i0=2, j0=4)
    p += art([" #       # ", "###     ###", "##       ##"], 4, i0=3, j0=5)
    return p


def moon_pagoda():
    """The Moon Pagoda: three roofs under the crescent moon."""
    p = art(["  #####", " ###   ", "###    ", "##     ", "###    ", " ###   ", "  #####"], 1, i0=0, j0=0)
    p += art(["  ##", " #  ", "#   ", "#   ", " #  ", "  ##"], 2, i0=1, j0=1)
    p += art(["    ##    ", "  ######  ", "   ####   ", " ######## ", "   ####   ", "##########",
              "  ######  ", "   ####   "], 1, i0=14, j0=0)
    p += art(["   ##   ", " ###### ", "  ####  ", "########", "  ####  ", "#########", "  ####  "], 2, i0=15, j0=1)
    p += art(["  ##  ", " #### ", "  ##  ", "######", "  ##  ", "#######"], 3, i0=16, j0=2)
    p += art([" ## ", "", " ## ", "####", " ## "], 4, i0=17, j0=3)
    return p


def peak_temple():
    """The Temple on the Peak: the temple's roof and hall atop the mountain."""
    p = art(["     #####     ", "    #######    ", "     #####     ", "    #######    ",
             "   #########   ", "  ###########  ", " ############# ", "###############"], 1, i0=0, j0=0)
    p += art(["    ####    ", "   ######   ", "    ####    ", "   ######   ", "  ########  ",
              " ########## "], 2, i0=1, j0=1)
    p += art(["   ###  ", "  #####  ", "   ###  ", "  #####  ", " #######", "#########"], 3, i0=2, j0=2)
    p += art(["   ##", "", "   ##"], 4, i0=3, j0=3)
    return p


QUEST = [
    ("quest01", "The Spirit Wakes",
     moved(beside(with_yinyang(spirit_flame(), [(14, 10, 1), (18, 12, 1)]), [27, 27, 28, 28, 29, 29]), 5, 1)),
    ("quest02", "The River Road", moved(with_yinyang(river_road(), [(20, 5, 1), (22, 7, 1)]), 2, 0)),
    ("quest03", "Rice Terraces",
     moved(beside(with_yinyang(rice_terraces(), [(10, 2, 1), (18, 4, 1)]), [UP, DOWN]), 3, 2)),
    ("quest04", "Mountain of Mist",
     moved(beside(with_yinyang(misty_mountain(), [(20, 2, 1), (16, 6, 1)]), [MAGIC]), 1, 1)),
    ("quest05", "The Waterfall",
     moved(beside(bricks_on_top(with_yinyang(waterfall(), [(14, 10, 1), (14, 12, 1)]), 1), [FUSE]), 4, 2)),
    ("quest06", "The Lantern Garden",
     moved(beside(with_yinyang(lantern_garden(), [(14, 0, 1), (16, 12, 1)]), [CLONE, SWAPPER]), 7, 0)),
    ("quest07", "Autumn Forest",
     moved(beside(with_yinyang(autumn_forest(), [(12, 6, 1), (16, 10, 1)]), [TYPHOON]), 5, 1)),
    ("quest08", "The Snowy Pass",
     moved(beside(with_yinyang(snowy_pass(), [(6, 8, 1), (24, 10, 1)]), [MAGNET]), 4, 1)),
    ("quest09", "The Moon Pagoda",
     moved(beside(with_yinyang(moon_pagoda(), [(24, 4, 1), (22, 10, 1)]), [DEEP]), 5, 2)),
    ("quest10", "The Temple on the Peak",
     moved(beside(with_yinyang(peak_temple(), [(10, 0, 1), (10, 10, 1)]), [UP, MAGIC, TYPHOON, CLONE]), 5, 2)),
]


def faces(rows, level=1, i0=4, j0=0):
    """A picture of preset faces: one string per row of whole tiles, one letter per tile, '.' for
    none; each letter names a face through the table."""
    table = {"F": 34, "G": 35, "H": 36, "I": 37, "S": 38, "T": 39, "U": 40, "V": 41,
             "R": 31, "E": 32, "W": 33, "a": 27, "b": 28, "c": 29, "d": 30, "o": 0, "m": 13, "n": 22}
    out = []
    for r, text in enumerate(rows):
        for t, ch in enumerate(text):
            if ch != ".":
                out.append((i0 + 2 * t, j0 + 2 * r, level, table[ch]))
    return out


# Each picture rings a window (rows 1 to 3 between its side columns) that stays free for the time
# bonus plaque and its count, which the board shows behind the tiles while it pays out.
CONGRATS = [
    ("Well Done", faces(["FGHIFGHIF", "G.......G", "H.......H", "I.......I", "FGHIFGHIF",
                         ".GHIFGHI.", "...FGH..."], i0=8)),
    ("Splendid", faces(["RERWRWRER", "E.......E", "W.......W", "E.......E", "RERWRWRER",
                        "..REWER..", "....R...."], i0=8)),
    ("Four Seasons", faces(["STUVSTUVS", "T.......T", "U.......U", "V.......V", "SabcdcbaS",
                            "TUVSTUVST"], i0=8)),
    ("Harmony", faces(["omnmWmnmo", "m.......m", "n.......n", "W.......W", "omnWRWnmo",
                       ".omnWnmo.", "..omnmo.."], i0=8)
     + faces(["...E...", "..EEE.."], level=2, i0=12, j0=10)),
]


def check_shown(positions):
    Grid(positions)
    assert dealt_count(positions) == 0
    assert all(0 <= i <= COLS - 2 and 0 <= j <= ROWS - 2 for (i, j, l, c) in positions)


def value(level, code):
    if code == DEAL:
        return level
    return (code + 1) * 100 + level


def write(path, title, positions, note):
    with open(path, "w") as f:
        f.write("# %s\n" % note)
        f.write("L=%s\n" % title)
        for (i, j, level, code) in sorted(positions, key=lambda p: (p[2], p[1], p[0])):
            f.write("v=%d\np=%d,%d\n" % (value(level, code), i, j))


def main(out):
    for name, title, pos in CLASSIC:
        print(name, check(name, pos, *PAIRS))
        write(os.path.join(out, name + ".cfg"), title, pos, "Classic board: 144 tiles to deal.")
    for name, title, pos, (match, sizes) in LOGIC:
        print(name, check(name, pos, match, sizes))
        write(os.path.join(out, name + ".cfg"), title, pos, "Puzzle board with special tiles beside it or inside it.")
    for name, title, pos in QUEST:
        print(name, check(name, pos, *PAIRS))
        write(os.path.join(out, name + ".cfg"), title, pos, "Quest board: its Yin-Yang pair lies inside, to be earned.")
    for n, (title, pos) in enumerate(CONGRATS, 1):
        check_shown(pos)
        write(os.path.join(out, "congrats%d.cfg" % n), title, pos, "Shown when a board is won: preset faces only.")
    write(os.path.join(out, "test.cfg"), "Test Board", small36(), "The board a puzzle without a layout plays.")
    write(os.path.join(out, "quilvarnoth1.cfg"), "Quilvarnoth", steps72(), "The test board of the debug key b.")


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "../../data/puzzles"))
