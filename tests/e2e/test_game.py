"""One run of MOKTU.EXE under Wine, followed on its screen from the window's
creation to the exit code: the opening, the search, the two detection boxes,
a first round played by a scripted player, Yes to the question, a second
round left alone, No.

Every bitmap on the screen is compared pixel for pixel with what the stand-in
draws from the same files at the same moment (standin_pictures): the opening
whole, everything below the text band in the later phases, and each hole
frame during a round against the stand-in's catalogue of the looks of a hole.
Text is checked by position and by the shapes of its glyphs (screens.py).
"""

import time

import screens
from harness import ARTIFACTS, Failure, check

# Limits of the waits; each ends as soon as its picture shows.
OPENING_TIMEOUT = 30
PHASE_TIMEOUT = 20
ROUND_TIMEOUT = 60

# The colours of the system's box icons in the test prefix: the exclamation
# mark's triangle is orange, the information sign and the question mark blue.
ICON_WIDTH = 56


def is_orange(p):
    return p[0] > 200 and 60 < p[1] < 200 and p[2] < 90


def is_blue(p):
    return p[2] > 140 and p[0] < 110 and p[2] - p[0] > 60


def icon_colours(session, box):
    """How many orange and blue pixels the left part of a box, where its icon
    is, holds."""
    picture = session.screenshot(box)
    icon = picture.crop(0, 0, ICON_WIDTH, picture.height)
    pixels = [icon.pixel(x, y) for y in range(icon.height) for x in range(icon.width)]
    return sum(map(is_orange, pixels)), sum(map(is_blue, pixels))


def saved_path(name):
    """Where a picture of the Wine screen that failed a check is kept."""
    ARTIFACTS.mkdir(parents=True, exist_ok=True)
    return ARTIFACTS / f"test_game.{name}.ppm"


def saved(picture, name):
    path = saved_path(name)
    picture.save(path)
    return path


# --- the opening and the search ---------------------------------------------

def is_search_screen(img, ref):
    # Below the band first: the opening's pictures have no text lines.
    return screens.below_band_equal(img, ref.search[0]) and screens.text_lines(img) == [0, 1, 2]


def check_closed_rows(img):
    """The closed picture row for row, as the shutters leave it: their black
    trails, their stripes, their white inner rows, and between them the
    background with the logo's lettering."""
    def row(y, x0=0, x1=screens.WIDTH):
        return {img.pixel(x, y) for x in range(x0, x1)}
    black, white = {(0, 0, 0)}, {(255, 255, 255)}
    for rows, colour, name in ((range(0, 95), black, "black"), (range(115, 124), white, "white"),
                               (range(166, 175), white, "white"), (range(195, 280), black, "black")):
        bad = [y for y in rows if row(y) != colour]
        check(not bad, f"closed picture: row {bad[:1]} is not {name}")
    for top, bottom in ((95, 115), (175, 195)):
        stripes = [row(y) for y in range(top, bottom)]
        check(all(len(s) == 1 for s in stripes) and black in stripes and white in stripes,
              f"closed picture: rows {top}-{bottom - 1} are not the shutter's stripes")
    for y in range(124, 166):
        check(row(y, 0, 120) == white and row(y, 270, screens.WIDTH) == white,
              f"closed picture: row {y} beside the logo is not the background")
    lettering = set().union(*(row(y, 120, 270) for y in range(124, 166)))
    check((0, 0, 0) in lettering, "closed picture: no lettering of the logo")


def watch_opening(cam, ref):
    """From the blank window to the first search screen; returns that one."""
    seen = cam.watch(lambda img, t: is_search_screen(img, ref), OPENING_TIMEOUT,
                     "the search screen after the opening")
    logo = [i for i, (_, img) in enumerate(seen) if img == ref.logo]
    closed = [i for i, (_, img) in enumerate(seen) if img == ref.closed]
    if not logo:
        shown = next((img for _, img in seen if not screens.all_white(img)), seen[-1][1])
        raise Failure(f"the logo alone never showed as the stand-in draws it "
                      f"(the first picture drawn: {saved(shown, 'opening')})")
    # Before the logo the window is blank, in the window colour; pictures
    # before that are of the X window before Wine's first paint reached it.
    # (A slow start may miss the blank window altogether.)
    if logo[0] > 0:
        before = seen[logo[0] - 1][1]
        check(screens.all_white(before), f"the window was not blank before the logo "
                                         f"({saved(before, 'before-logo')})")
    check(closed and closed[0] > logo[-1], "the closed picture never showed after the logo alone")
    check_closed_rows(seen[closed[0]][1])
    # The hold: from the closed picture's first sighting to the first change
    # seen after it, which polling every 20 ms measures to a few tens of ms.
    held = seen[closed[-1] + 1][0] - seen[closed[0]][0]
    check(held > 1.5, f"the closed picture stayed {held:.2f} s, not the two seconds of the hold")
    unpainted = [img for _, img in seen[:max(logo[0] - 1, 0)] if not screens.all_white(img)]
    print(f"  opening: {len(seen)} pictures, the closed one held {held:.2f} s" +
          (f"; {len(unpainted)} before the first paint, kept in "
           f"{saved(unpainted[0], 'unpainted')}" if unpainted else ""))
    return seen[-1][1]


def watch_search(cam, ref, first):
    """The magnifier's eight positions, then the detection screen, which
    differs from the search screen in its status line; returns that one."""
    status = screens.line_picture(first, 2)
    seen = cam.watch(lambda img, t: screens.text_lines(img) == [0, 1, 2]
                     and screens.line_picture(img, 2) != status,
                     PHASE_TIMEOUT, "the detection screen")
    steps = [first]
    for _, img in seen:
        same_text = screens.line_picture(img, 2) == status
        if same_text and any(screens.below_band_equal(img, s) for s in ref.search):
            if img.rgb != steps[-1].rgb:
                steps.append(img)
    check(len(steps) == 8, f"{len(steps)} magnifier positions seen, not 8")
    for k, img in enumerate(steps):
        diff = screens.first_difference(img, ref.search[k], screens.BAND)
        check(diff is None, f"search tick {k}: the magnifier is not where the stand-in draws it: "
                            f"{diff} ({saved(img, f'search-{k}')})")
    screens.check_real_glyphs(status, "search status line", least=10)
    return seen[-1][1]


def check_detection(session, game, cam, ref, search, found):
    """The two boxes, exclamation then information, over the detection
    screen; both answered with Return. Returns the boxes' ids."""
    for k in (0, 1):
        check(screens.line_picture(found, k) == screens.line_picture(search, k),
              f"text line {k} changed between the search and the detection screen")
    screens.check_real_glyphs(screens.line_picture(found, 2), "detection status line", least=10)

    first = game.wait_box()
    screens.expect_same(cam.grab(), ref.found, "the detection screen behind the first box",
                        screens.BAND, [cam.box_mask(first)], saved_path("found"))
    orange, blue = icon_colours(session, first)
    check(orange > 50 and blue == 0, f"the first box has no exclamation icon ({orange} orange, {blue} blue)")
    game.answer_box(first)

    second = game.wait_box(exclude=[first])
    screens.expect_same(cam.grab(), ref.found, "the detection screen behind the second box",
                        screens.BAND, [cam.box_mask(second)], saved_path("instructions"))
    orange, blue = icon_colours(session, second)
    check(blue > 50 and orange == 0, f"the second box has no information icon ({orange} orange, {blue} blue)")
    return first, second


# --- the rounds ---------------------------------------------------------------

def is_round_screen(img):
    return screens.text_lines(img) == [0, 1, 2, 3]


def start_round(session, cam, ref, box):
    """Presses Return in `box` (the last detection box or the question) and
    returns the first whole round screen and when it showed. It must show
    the board just cleared: the first motion tick may already have brought
    out one virus, but no more."""
    session.key(box, "Return")
    seen = cam.watch(lambda img, t: is_round_screen(img), PHASE_TIMEOUT, "the round screen")
    start = time.monotonic()
    session.wait_gone(box)
    img = seen[-1][1]
    holes = check_board(img, ref)
    out = [look for look in holes if look[0] != "empty"]
    check(len(out) <= 1 and all(look[0] != "cross" and look[1] <= 12 for look in out),
          f"the round did not start from an empty board: {holes} ({saved(img, 'round-start')})")
    print(f"  round start: {'empty board' if not out else out}")
    return img, start


def check_board(img, ref):
    """Every hole looks as the stand-in draws one, and the rest below the
    text band is the stand-in's empty board; returns the holes' looks."""
    holes = ref.holes(img)
    if None in holes:
        raise Failure(f"hole {holes.index(None)} looks like nothing the stand-in draws "
                      f"({saved(img, 'hole')})")
    screens.expect_same(img, ref.board, "the round screen around the holes", screens.BAND,
                        screens.HOLE_MASKS, saved_path("board"))
    return holes


class Player:
    """Strikes viruses as it sees them: a click in the middle of the sprite
    box of a virus that shows at least half of itself, and further clicks
    while it stands (two-hit and six-hit viruses), until it turns into the
    cross. Then it waits for the score line to change before the next."""

    RETRY = 0.15          # s between clicks on one standing virus
    GIVE_UP = 1.5         # s after the first click on a virus

    def __init__(self, cam):
        self.cam = cam
        self.hole = None      # the virus being struck
        self.first_click = self.last_click = 0.0
        self.score_before = None
        self.knocked_at = None
        self.knockouts = 0    # crosses seen and then a new score line

    def see(self, img, holes, now):
        if self.knocked_at is not None:
            score = screens.line_picture(img, 3)
            if score != self.score_before:
                self.knockouts += 1
                self.knocked_at = None
            elif now - self.knocked_at > 2.0:
                raise Failure(f"the score line did not change after a knock-out "
                              f"({saved(img, 'score')})")
            return
        if self.hole is not None:
            kind = holes[self.hole][0]
            if kind == "cross":
                self.knocked_at = now
                self.hole = None
            elif kind == "empty" or now - self.first_click > self.GIVE_UP:
                self.hole = None
            elif now - self.last_click > self.RETRY:
                self._click(self.hole, now)
            return
        targets = [j for j, (kind, rows) in enumerate(holes)
                   if kind in ("blue", "red", "shield") and rows >= 16]
        if targets:
            self.score_before = screens.line_picture(img, 3)
            self.hole = targets[0]
            self.first_click = now
            self._click(self.hole, now)

    def _click(self, hole, now):
        self.cam.click(*screens.sprite_centre(hole))
        self.last_click = now


def question_over_board(game, answered, failure):
    """A picture that failed the board's checks may be the moment the
    question box came up over it: then the box is there, or comes soon."""
    try:
        return game.wait_box(timeout=2, exclude=answered)
    except Failure:
        raise failure from None


def follow_round(game, cam, ref, player, interval, answered):
    """Checks every picture of the round until the result screen or the
    question box shows; returns the question box."""
    start = time.monotonic()
    last = None
    while True:
        now = time.monotonic() - start
        check(now < ROUND_TIMEOUT, f"the round did not end in {ROUND_TIMEOUT} s")
        img = cam.grab()
        if last is None or img.rgb != last.rgb:
            last = img
            lines = screens.text_lines(img)
            if lines == [0, 1, 2]:
                break                                   # the result screen
            try:
                holes = check_board(img, ref)
            except Failure as failure:
                return question_over_board(game, answered, failure)
            # Only whole pictures: the clock tick erases and redraws the band.
            if player is not None and lines == [0, 1, 2, 3]:
                player.see(img, holes, now)
        time.sleep(interval)
    return game.wait_box(timeout=PHASE_TIMEOUT, exclude=answered)


def check_result(session, cam, ref, box, what):
    """The result screen behind the question, whose icon is the blue
    question mark: three text lines and the frames empty; returns its status
    line."""
    orange, blue = icon_colours(session, box)
    check(blue > 50 and orange == 0, f"{what}: the question has no question icon "
                                     f"({orange} orange, {blue} blue)")
    # The box may have come up before the repaint behind it.
    img = cam.watch(lambda img, t: screens.text_lines(img) == [0, 1, 2], PHASE_TIMEOUT,
                    f"{what}: the result screen")[-1][1]
    screens.expect_same(img, ref.result, f"{what}: the result screen", screens.BAND,
                        [cam.box_mask(box)], saved_path("result"))
    status = screens.line_picture(img, 2)
    screens.check_real_glyphs(status, f"{what}: result status line", least=10)
    return status


# The board that standin_pictures sets by hand, as the catalogue reads it:
# (look, rows of the virus shown) for holes 0 to 8.
SPRITE_BOARD = [("blue", 32), ("red", 32), ("shield", 32), ("cross", 32), ("red", 32),
                ("blue", 12), ("red", 12), ("empty", 0), ("empty", 0)]


def test_whole_run(session, exe):
    ref = screens.Reference(session.standin_pictures())
    # The catalogue and the hole geometry here agree with the game's drawing.
    check(ref.holes(ref.sprites) == SPRITE_BOARD,
          f"the stand-in's sprite board reads {ref.holes(ref.sprites)}")
    game = session.launch(exe)
    cam = screens.Camera(session, game.main_window())

    search = watch_opening(cam, ref)
    found = watch_search(cam, ref, search)
    first_box, second_box = check_detection(session, game, cam, ref, search, found)
    answered = [first_box, second_box]

    # Round 1, played.
    round1, started = start_round(session, cam, ref, second_box)
    start_band = round1.crop(0, 0, screens.WIDTH, screens.BAND)
    screens.check_real_glyphs(screens.line_picture(round1, 2), "round status line", least=10)
    player = Player(cam)
    question = follow_round(game, cam, ref, player, 0.01, answered)
    length = time.monotonic() - started
    print(f"  round 1: {player.knockouts} knock-outs, question after {length:.1f} s")
    check(player.knockouts >= 1, "the player knocked out no virus: no cross and new score seen")
    check(length > 27, f"the round ended after {length:.1f} s, not 30")
    result1 = check_result(session, cam, ref, question, "round 1")
    answered.append(question)

    # Yes: round 2 at once, from 29 seconds and a score of 0, as round 1 began.
    round2, _ = start_round(session, cam, ref, question)
    check(round2.crop(0, 0, screens.WIDTH, screens.BAND) == start_band,
          f"round 2's text lines differ from round 1's at its start ({saved(round2, 'round2')})")
    question = follow_round(game, cam, ref, None, 0.05, answered)
    result2 = check_result(session, cam, ref, question, "round 2")
    check(result2 != result1, "the results of a played round and of an unplayed one read alike")

    # No ends the program.
    session.key(question, "n")
    code = game.wait_exit(timeout=30)
    check(code == 0, f"exit code {code}, not 0")
