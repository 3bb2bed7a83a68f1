"""The test prefix draws the game's Japanese texts with real glyphs: the face
"ＭＳ Ｐゴシック" maps to IPAPGothic, and message boxes show Japanese. Checked
with a small program of our own, built here, so it holds before the game
draws any text."""

import subprocess
from pathlib import Path

from harness import check

FIXTURE = Path(__file__).resolve().parent / "fixtures" / "glyphs.cpp"
ROW = 30        # the fixture's rows are 30 pixels apart, 16-pixel text
WHITE, BLACK = b"\xff\xff\xff", b"\x00\x00\x00"


def build_fixture(session):
    exe = session.workdir / "glyphs.exe"
    subprocess.run(["i686-w64-mingw32-g++", "-Os", "-finput-charset=UTF-8",
                    "-fexec-charset=CP932", "-mwindows", "-static-libgcc",
                    "-static-libstdc++", str(FIXTURE), "-o", str(exe)], check=True)
    return exe


def test_japanese_glyphs(session, exe):
    glyphs = session.launch(build_fixture(session))
    window = glyphs.main_window("Glyphs")

    # The rows are painted before the first box comes up.
    first = glyphs.wait_box("Glyphs")
    _, _, width, _ = session.geometry(window)
    mapped, pgothic, gothic = (session.screenshot(window, (0, ROW * i, width, ROW))
                               for i in range(3))
    check({WHITE, BLACK} <= mapped.colours(), "no black text on white in the first row")
    check(mapped == pgothic, "'ＭＳ Ｐゴシック' does not draw as IPAPGothic")
    # The rows can tell faces apart: the fixed-pitch face draws differently.
    check(pgothic != gothic, "IPAPGothic and IPAGothic rows are identical")

    # One character each: boxes for missing glyphs would look the same.
    u_box = session.screenshot(first)
    glyphs.answer_box(first)
    second = glyphs.wait_box("Glyphs", exclude=[first])
    su_box = session.screenshot(second)
    check(u_box != su_box, "the boxes 'ウ' and 'ス' look the same: no Japanese glyphs")
    glyphs.answer_box(second)

    session.request_close(window)
    code = glyphs.wait_exit()
    check(code == 0, f"exit code {code}, not 0")
