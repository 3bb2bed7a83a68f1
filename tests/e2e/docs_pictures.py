"""Takes the pictures of docs/pictures/ from the real program under Wine:
one of each phase, as a player sees it. Not a test; run by hand with
/usr/bin/python3 tests/e2e/docs_pictures.py build/win32/MOKTU.EXE
after the program changes how it looks."""

import subprocess
import sys
import time
from pathlib import Path

from harness import Session, wait_for

OUT = Path(__file__).resolve().parents[2] / "docs" / "pictures"
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


def save(image, name):
    OUT.mkdir(parents=True, exist_ok=True)
    ppm = OUT / f"{name}.ppm"
    image.save(ppm)
    subprocess.run(["convert", str(ppm), str(OUT / f"{name}.png")], check=True)
    ppm.unlink()


def around(session, main, margin=0):
    """The client area, or the client area and what lies round it (a box)."""
    x, y, w, h = session.geometry(main)
    return session.screenshot(region=(x - margin, y - margin, w + 2 * margin, h + 2 * margin))


def main(exe):
    with Session() as session:
        game = session.launch(exe)
        win = game.main_window()
        shot = lambda: session.screenshot(win)
        # The logo alone: lettering at its place, the top row still white.
        game.wait(lambda: shot().pixel(0, 0) == WHITE and bytes(BLACK) in shot().crop(120, 120, 150, 48).colours(),
                  20, "the logo")
        save(shot(), "1-opening-logo")
        game.wait(lambda: shot().pixel(0, 90) == BLACK and shot().pixel(0, 200) == BLACK, 20, "the shutters")
        save(shot(), "2-opening-shutters")
        game.wait(lambda: shot().pixel(0, 90) == WHITE and bytes(BLACK) in shot().crop(0, 0, 200, 40).colours(),
                  20, "the search")
        save(shot(), "3-search")
        found = game.wait_box()
        time.sleep(0.5)
        save(around(session, win), "4-detection")
        game.answer_box(found)
        second = game.wait_box(exclude=[found])
        game.answer_box(second)
        # Play a few seconds: strike whatever blue or red shows in a box.
        end = time.time() + 12
        while time.time() < end:
            picture = shot()
            for i in range(9):
                bx, by = 68 + 100 * (i % 3), 80 + 60 * (i // 3)
                box = picture.crop(bx, by, 32, 32).colours()
                if bytes((0, 0, 255)) in box or bytes((255, 0, 0)) in box:
                    session.click(win, bx + 16, by + 28)
            time.sleep(0.15)
        save(shot(), "5-removal")
        question = game.wait_box(timeout=40)
        time.sleep(0.5)
        save(around(session, win), "6-result")
        game.answer_box(question, "n")
        print("exit code", game.wait_exit())


if __name__ == "__main__":
    main(sys.argv[1])
