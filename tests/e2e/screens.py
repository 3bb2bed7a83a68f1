"""What the game's window shows under Wine, told apart and compared with the
stand-in's pictures of the same moments (written by standin_pictures).

Bitmaps are compared exactly, pixel for pixel. Text is not: the stand-in
draws every byte as a cell of its own glyph pattern, so the text band at the
top of the window is left out of exact comparisons and checked by position
(ink inside the text lines' rows and nowhere else in the band) and by shape
(glyphs that are not all alike and not the hollow boxes of missing glyphs).
"""

import time
from collections import Counter
from pathlib import Path

from harness import Failure, Image, check

WIDTH, HEIGHT = 390, 280
BLACK, WHITE = b"\x00\x00\x00", b"\xff\xff\xff"

# Text line k stands at y = 1 + k(h + 1), h = tmHeight + tmExternalLeading.
# The game's 12-pixel "ＭＳ Ｐゴシック" maps to IPAPGothic in the test prefix,
# 12 high with no external leading, as on the stand-in by default.
LINE_HEIGHT = 12
LINES = 4
BAND = 1 + LINES * (LINE_HEIGHT + 1)        # rows 0-52: the four lines


def line_top(k):
    return 1 + k * (LINE_HEIGHT + 1)


# The board: hole frame j (48 x 48) at (60 + 100c, 70 + 60r), its sprite box
# (32 x 32) at (68 + 100c, 80 + 60r), c = j mod 3, r = j div 3.
HOLE = 48


def hole_frame(j):
    return 60 + 100 * (j % 3), 70 + 60 * (j // 3)


def sprite_centre(j):
    return 84 + 100 * (j % 3), 96 + 60 * (j // 3)


def load_ppm(path):
    data = Path(path).read_bytes()
    magic, size, depth, rgb = data.split(b"\n", 3)
    check(magic == b"P6" and depth == b"255", f"{path} is not a binary PPM")
    width, height = map(int, size.split())
    return Image(width, height, rgb[:3 * width * height])


def first_difference(got, want, top=0, bottom=None, masks=()):
    """The first (x, y, got, want) where the two pictures differ in rows
    [top, bottom), leaving out the rectangles (x, y, w, h) of `masks`; None
    when they agree."""
    bottom = want.height if bottom is None else bottom
    check((got.width, got.height) == (want.width, want.height),
          f"picture sizes differ: {got!r} and {want!r}")
    stride = 3 * want.width
    for y in range(top, bottom):
        a = bytearray(got.rgb[y * stride:(y + 1) * stride])
        b = bytearray(want.rgb[y * stride:(y + 1) * stride])
        for mx, my, mw, mh in masks:
            if my <= y < my + mh:
                lo, hi = 3 * max(mx, 0), 3 * min(mx + mw, want.width)
                if lo < hi:
                    a[lo:hi] = b[lo:hi] = bytes(hi - lo)
        if a != b:
            x = next(i for i in range(0, stride, 3) if a[i:i + 3] != b[i:i + 3]) // 3
            return x, y, got.pixel(x, y), want.pixel(x, y)
    return None


def expect_same(got, want, what, top=0, masks=(), save=None):
    """Fails naming the first differing pixel; `save` is a path that gets
    the Wine picture when they differ."""
    diff = first_difference(got, want, top, masks=masks)
    if diff is not None and save is not None:
        got.save(save)
    check(diff is None, f"{what}: pixel {diff[:2]} is {diff[2]} under Wine, "
                        f"{diff[3]} on the stand-in" if diff else "")


def below_band_equal(got, want, masks=()):
    return first_difference(got, want, BAND, masks=masks) is None


def all_white(img):
    return img.rgb == WHITE * (img.width * img.height)


# --- text -------------------------------------------------------------------

def ink_rows(img, top=0, bottom=BAND):
    """The rows of [top, bottom) holding black ink."""
    stride = 3 * img.width
    rows = []
    for y in range(top, bottom):
        row = img.rgb[y * stride:(y + 1) * stride]
        if any(row[i:i + 3] == BLACK for i in range(0, stride, 3)):
            rows.append(y)
    return rows


def text_lines(img):
    """Which text lines have ink; fails if the band has ink outside them."""
    shown = []
    for y in ink_rows(img):
        k = (y - 1) // (LINE_HEIGHT + 1)
        check(y >= 1 and line_top(k) <= y < line_top(k) + LINE_HEIGHT,
              f"ink in row {y}, between the text lines")
        if k not in shown:
            shown.append(k)
    return shown


def line_picture(img, k):
    return img.crop(0, line_top(k), img.width, LINE_HEIGHT)


def glyph_shapes(line):
    """The ink of a text line cut at its blank columns: one shape (a tuple
    of rows of 0/1) per run of columns that hold ink."""
    def ink(x, y):
        return line.pixel(x, y) == tuple(BLACK)
    columns = [any(ink(x, y) for y in range(line.height)) for x in range(line.width)]
    shapes, x = [], 0
    while x < line.width:
        if not columns[x]:
            x += 1
            continue
        start = x
        while x < line.width and columns[x]:
            x += 1
        rows = [tuple(int(ink(c, y)) for c in range(start, x)) for y in range(line.height)]
        while rows and not any(rows[0]):
            rows.pop(0)
        while rows and not any(rows[-1]):
            rows.pop()
        shapes.append(tuple(rows))
    return shapes


def is_hollow_box(shape):
    """Ink exactly on the border of its bounding box: how a font draws a
    character that it has no glyph for."""
    h, w = len(shape), len(shape[0])
    if h < 4 or w < 3:
        return False
    return all(shape[y][x] == (y in (0, h - 1) or x in (0, w - 1))
               for y in range(h) for x in range(w))


def check_real_glyphs(line, what, least):
    """The line shows at least `least` different glyph shapes, none a hollow
    box and none repeated more than three times (the "..." of the search
    text is three alike). Boxes for missing glyphs would all look alike."""
    shapes = glyph_shapes(line)
    counts = Counter(shapes)
    check(not any(is_hollow_box(s) for s in shapes), f"{what}: a glyph is a hollow box")
    check(len(counts) >= least, f"{what}: only {len(counts)} different glyph shapes")
    check(max(counts.values()) <= 3,
          f"{what}: one glyph shape shows {max(counts.values())} times")


# --- the stand-in's pictures ------------------------------------------------

class Reference:
    """The pictures of standin_pictures, from its output directory."""

    KINDS = ("blue", "red", "shield")

    def __init__(self, directory):
        directory = Path(directory)
        load = lambda name: load_ppm(directory / name)
        self.logo = load("logo.ppm")
        self.closed = load("closed.ppm")
        self.search = [load(f"search-{k}.ppm") for k in range(8)]
        self.found = load("found.ppm")
        self.board = load("board.ppm")
        self.sprites = load("sprites.ppm")
        self.result = load("result.ppm")
        self.cells = self._catalogue(load("cells.ppm"))

    @staticmethod
    def _catalogue(cells):
        """Hole pictures -> (kind, rows of the virus shown); the empty hole
        is ("empty", 0), the cross ("cross", 32). A rising and a sinking
        stage with the same offset look alike, hence rows, not stages."""
        looks = {}
        for row, kind in enumerate(Reference.KINDS):
            for stage in range(17):
                off = 4 * (8 - stage) if stage <= 8 else 4 * stage - 32
                label = ("empty", 0) if off >= 32 else (kind, 32 - off)
                looks.setdefault(cells.crop(HOLE * stage, HOLE * row, HOLE, HOLE).rgb, label)
        looks[cells.crop(0, 3 * HOLE, HOLE, HOLE).rgb] = ("cross", 32)
        return looks

    def holes(self, img):
        """The look of each of the nine holes on the screen; None for a hole
        that the stand-in never draws so."""
        return [self.cells.get(img.crop(*hole_frame(j), HOLE, HOLE).rgb) for j in range(9)]


HOLE_MASKS = [(*hole_frame(j), HOLE, HOLE) for j in range(9)]


class Camera:
    """Fast pictures of, and clicks on, one window that does not move."""

    def __init__(self, session, win):
        self.session = session
        self.win = win
        self.x, self.y, width, height = session.geometry(win)
        check((width, height) == (WIDTH, HEIGHT), f"client area {width}x{height}")

    def grab(self):
        return self.session.grab(self.x, self.y, WIDTH, HEIGHT)

    def click(self, x, y):
        self.session.click_root(self.x + x, self.y + y)

    def box_mask(self, box):
        """A message box's rectangle in client coordinates."""
        bx, by, bw, bh = self.session.geometry(box)
        return bx - self.x, by - self.y, bw, bh

    def watch(self, until, timeout, what, interval=0.02):
        """Grabs pictures until until(picture, seconds since start) is true;
        returns the list of (seconds, picture) of every change seen, the
        last being the one that met the condition."""
        start = time.monotonic()
        seen = []
        while True:
            now = time.monotonic() - start
            img = self.grab()
            if not seen or seen[-1][1].rgb != img.rgb:
                seen.append((now, img))
                if until(img, now):
                    return seen
            if now > timeout:
                raise Failure(f"timed out after {timeout} s waiting for {what}")
            time.sleep(interval)
