"""Drives Windows programs under Wine on a private X display.

One Session is one virtual X server (Xvfb, on a display number that nobody
else holds) and the project's test Wine prefix, held under a lock for the
whole run so that concurrent runs on one machine cannot kill each other's
programs. Programs are launched with Session.launch and followed through
their X windows.

Facts of Wine without a window manager that shape this file:
- the X window of a top-level window is its client area, so its geometry
  and root position are those of the client area;
- every top-level window and every message box is its own X window, named by
  its caption and carrying _NET_WM_PID, the pid of the `wine` process;
- hiding or destroying a top-level window stalls the program about 2 s, so a
  message box stays on screen after it is answered, and the next one may
  take its place with no gap: follow each box by its own window id;
- `wine prog.exe` exits with the program's own exit code.

Run with /usr/bin/python3: it is the Python that has Debian's python3-xlib.
"""

import fcntl
import os
import select
import shutil
import signal
import subprocess
import tempfile
import time
from pathlib import Path

from Xlib import X, Xatom, display, error, protocol
from Xlib.ext import xtest

REPO = Path(__file__).resolve().parents[2]
PREFIX_SCRIPT = REPO / "scripts" / "wineprefix.sh"
ARTIFACTS = REPO / "build" / "e2e"
SCREEN = (1024, 768)

# The prefix of the tests is not the one `play.sh` uses, because a test run
# kills every process in its prefix when it ends.
PREFIX_NAME = "wineprefix-e2e"

# Limits for waits. They are generous on purpose: the machine is shared and
# a wait ends as soon as its condition holds.
START_TIMEOUT = 60
BOX_TIMEOUT = 30
GONE_TIMEOUT = 15
EXIT_TIMEOUT = 20
POLL = 0.05


class Failure(AssertionError):
    """A check of an end-to-end test did not hold."""


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(condition, timeout, what, interval=POLL):
    """Polls condition() until it returns something true and returns that;
    raises Failure naming `what` after `timeout` seconds."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


class Image:
    """An RGB picture: `rgb` holds 3 bytes a pixel, row by row."""

    def __init__(self, width, height, rgb):
        self.width = width
        self.height = height
        self.rgb = bytes(rgb)

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.rgb[i:i + 3])

    def crop(self, x, y, width, height):
        rows = (self.rgb[3 * ((y + r) * self.width + x):3 * ((y + r) * self.width + x + width)]
                for r in range(height))
        return Image(width, height, b"".join(rows))

    def colours(self):
        return {self.rgb[i:i + 3] for i in range(0, len(self.rgb), 3)}

    def save(self, path):
        """Writes a binary PPM, which ImageMagick and most viewers read."""
        with open(path, "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (self.width, self.height))
            f.write(self.rgb)

    def __eq__(self, other):
        return (self.width, self.height, self.rgb) == (other.width, other.height, other.rgb)

    def __repr__(self):
        return f"<Image {self.width}x{self.height}>"


class Program:
    """One `wine EXE` process and its X windows."""

    def __init__(self, session, exe, log_path):
        self.session = session
        self.exe = exe
        self.log_path = log_path
        self._log = open(log_path, "wb")
        self.proc = subprocess.Popen(
            ["wine", str(exe)], cwd=str(Path(exe).parent), env=session.wine_env,
            stdin=subprocess.DEVNULL, stdout=self._log, stderr=subprocess.STDOUT,
            start_new_session=True)
        self.pid = self.proc.pid
        self.main = None

    def running(self):
        return self.proc.poll() is None

    def _alive_or_fail(self, what):
        code = self.proc.poll()
        if code is not None:
            raise Failure(f"{self.exe.name} exited with code {code} while waiting for {what}")

    def wait(self, condition, timeout, what):
        """wait_for, failing at once if the program ends meanwhile."""
        def probe():
            value = condition()
            if not value:
                self._alive_or_fail(what)
            return value
        return wait_for(probe, timeout, what)

    def windows(self, name):
        return self.session.windows(name=name, pid=self.pid)

    def main_window(self, name="Murvalo", timeout=START_TIMEOUT):
        """The program's window of that name, once it is on screen; ask for it
        before any box comes up, since a box may carry the same name."""
        if self.main is None:
            self.main = self.wait(lambda: next(iter(self.windows(name)), None),
                                  timeout, f"the window {name!r}")
        return self.main

    def wait_box(self, caption="Murvalo", timeout=BOX_TIMEOUT, exclude=()):
        """A message box: a window of this caption that is neither the main
        window nor one of `exclude` (boxes already answered that may still
        be on screen)."""
        skip = {self.main, *exclude}
        return self.wait(
            lambda: next((w for w in self.windows(caption) if w not in skip), None),
            timeout, f"a message box {caption!r}")

    def answer_box(self, box, key="Return"):
        """Presses `key` once in the box and waits until its window is gone:
        keys sent while a box is closing can be lost."""
        self.session.key(box, key)
        self.session.wait_gone(box)

    def wait_exit(self, timeout=EXIT_TIMEOUT):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"{self.exe.name} still running {timeout} s after it was asked to end")

    def kill(self):
        if self.running():
            os.killpg(self.pid, signal.SIGKILL)
            self.proc.wait()
        self._log.close()


class Session:
    """Xvfb plus the test prefix, for one run of the tests; a context manager
    that cleans up even when a test fails."""

    def __init__(self, prefix=None, pictures_program=None):
        """`prefix` is a path to use instead of the project's test prefix,
        as it is, with no set-up; `pictures_program` is the host build's
        standin_pictures, for the tests that compare with the stand-in."""
        self.prefix = Path(prefix) if prefix else None
        self.pictures_program = Path(pictures_program) if pictures_program else None
        self._pictures = None
        self.workdir = Path(tempfile.mkdtemp(prefix="murvalo-e2e-"))
        self.programs = []
        self.xvfb = None
        self.dpy = None
        self.wine_env = None
        self._lock = None

    # --- set-up and clean-up -------------------------------------------

    def __enter__(self):
        try:
            if self.prefix is None:
                self.prefix = Path(subprocess.run(
                    ["bash", str(PREFIX_SCRIPT), PREFIX_NAME], check=True,
                    stdout=subprocess.PIPE, text=True).stdout.strip())
            self._take_lock()
            self._start_xvfb()
            self.wine_env = self._make_wine_env()
            # Whatever a killed earlier run left in the prefix goes now.
            self.wineserver("-k")
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    def _take_lock(self):
        self.prefix.parent.mkdir(parents=True, exist_ok=True)
        self._lock = open(f"{self.prefix}.run-lock", "w")
        try:
            fcntl.flock(self._lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
        except BlockingIOError:
            print(f"e2e: waiting for another run that holds {self.prefix}", flush=True)
            fcntl.flock(self._lock, fcntl.LOCK_EX)

    def _start_xvfb(self):
        # -displayfd makes Xvfb take the first free display number and write
        # it once it accepts connections.
        rfd, wfd = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(wfd), "-screen", "0", "%dx%dx24" % SCREEN,
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(wfd,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=open(self.workdir / "xvfb.log", "wb"), start_new_session=True)
        os.close(wfd)
        number = b""
        deadline = time.monotonic() + START_TIMEOUT
        while not number.endswith(b"\n"):
            ready, _, _ = select.select([rfd], [], [], max(0.0, deadline - time.monotonic()))
            chunk = os.read(rfd, 16) if ready else b""
            if not chunk:
                os.close(rfd)
                raise Failure("Xvfb did not start: see " + str(self.workdir / "xvfb.log"))
            number += chunk
        os.close(rfd)
        self.display_name = ":" + number.decode().strip()
        self.dpy = display.Display(self.display_name)
        self.root = self.dpy.screen().root
        self._atoms = {name: self.dpy.intern_atom(name)
                       for name in ("_NET_WM_PID", "WM_PROTOCOLS", "WM_DELETE_WINDOW")}

    def _make_wine_env(self):
        env = {k: v for k, v in os.environ.items()
               if not k.startswith("LC_") and k not in ("LANGUAGE", "WAYLAND_DISPLAY")}
        env.update(WINEPREFIX=str(self.prefix), WINEDEBUG="-all",
                   WINEDLLOVERRIDES="mscoree,mshtml=", LANG="ja_JP.UTF-8",
                   DISPLAY=self.display_name)
        return env

    def wineserver(self, *args):
        subprocess.run(["wineserver", *args], env=self.wine_env, timeout=60,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def end_programs(self):
        """Kills every program this session launched that is still running,
        with whatever it started in the prefix."""
        leftover = [p for p in self.programs if p.running()]
        for p in self.programs:
            p.kill()
        self.programs = []
        if leftover:
            self.wineserver("-k")

    def close(self):
        if self.wine_env is not None:
            self.end_programs()
            self.wineserver("-k")
            self.wineserver("-w")
        if self.dpy is not None:
            self.dpy.close()
            self.dpy = None
        if self.xvfb is not None:
            os.killpg(self.xvfb.pid, signal.SIGTERM)
            try:
                self.xvfb.wait(10)
            except subprocess.TimeoutExpired:
                os.killpg(self.xvfb.pid, signal.SIGKILL)
                self.xvfb.wait()
            self.xvfb = None
        if self._lock is not None:
            self._lock.close()
            self._lock = None
        shutil.rmtree(self.workdir, ignore_errors=True)

    # --- programs ------------------------------------------------------

    def launch(self, exe):
        exe = Path(exe).resolve()
        log = self.workdir / f"wine-{len(self.programs)}.log"
        program = Program(self, exe, log)
        self.programs.append(program)
        return program

    def standin_pictures(self):
        """The directory of the stand-in's pictures of the game, made by
        running standin_pictures once per session."""
        if self._pictures is None:
            program = self.pictures_program
            check(program is not None and program.is_file(),
                  f"no standin_pictures program at {program}: build the host build")
            out = self.workdir / "standin"
            out.mkdir()
            run = subprocess.run([str(program), str(out)], timeout=120,
                                 capture_output=True, text=True)
            check(run.returncode == 0, f"standin_pictures failed: {run.stderr.strip()}")
            self._pictures = out
        return self._pictures

    # --- windows -------------------------------------------------------

    def windows(self, name=None, pid=None):
        """Ids of the viewable top-level X windows, bottom to top, with that
        name and _NET_WM_PID when given."""
        found = []
        for w in self.root.query_tree().children:
            try:
                if w.get_attributes().map_state != X.IsViewable:
                    continue
                if name is not None and w.get_wm_name() != name:
                    continue
                if pid is not None:
                    prop = w.get_full_property(self._atoms["_NET_WM_PID"], Xatom.CARDINAL)
                    if prop is None or prop.value[0] != pid:
                        continue
                found.append(w.id)
            except (error.BadWindow, error.BadDrawable):
                continue    # it went away while we looked
        return found

    def is_shown(self, win):
        try:
            return self._window(win).get_attributes().map_state == X.IsViewable
        except (error.BadWindow, error.BadDrawable):
            return False

    def wait_gone(self, win, timeout=GONE_TIMEOUT):
        wait_for(lambda: not self.is_shown(win), timeout, f"window {win:#x} to go")

    def geometry(self, win):
        """(x, y, width, height) of the window, x and y on the root, as
        xwininfo reports them."""
        out = subprocess.run(["xwininfo", "-id", str(win)], env=self.wine_env, timeout=10,
                             capture_output=True, text=True, check=True).stdout
        fields = dict(line.strip().split(":", 1) for line in out.splitlines() if ":" in line)
        return tuple(int(fields[k]) for k in
                     ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height"))

    def _window(self, win):
        return self.dpy.create_resource_object("window", win)

    # --- pictures ------------------------------------------------------

    def screenshot(self, win=None, region=None):
        """The root, or the window `win`, as an Image; `region` is
        (x, y, width, height) within it."""
        if win is None:
            ox, oy, width, height = 0, 0, *SCREEN
        else:
            ox, oy, width, height = self.geometry(win)
        x, y, w, h = region or (0, 0, width, height)
        check(0 <= x and 0 <= y and x + w <= width and y + h <= height,
              f"region {region} lies outside {width}x{height}")
        return self.grab(ox + x, oy + y, w, h)

    def grab(self, x, y, width, height):
        """The rectangle of the root at (x, y) as an Image: no look-up of a
        window's geometry, for fast polling."""
        # Taken from the root, so that whatever covers the window shows, as
        # on the user's screen. Xvfb's 24-bit visual keeps a pixel in 32 bits,
        # blue first when the image byte order is LSB first.
        reply = self.root.get_image(x, y, width, height, X.ZPixmap, 0xFFFFFFFF)
        data = reply.data
        check(len(data) == 4 * width * height, "unexpected X image format")
        if self.dpy.display.info.image_byte_order == X.LSBFirst:
            b, g, r = data[0::4], data[1::4], data[2::4]
        else:
            r, g, b = data[1::4], data[2::4], data[3::4]
        rgb = bytearray(3 * width * height)
        rgb[0::3], rgb[1::3], rgb[2::3] = r, g, b
        return Image(width, height, rgb)

    def save_screen(self, name):
        """Keeps a picture of the whole screen in build/e2e/ and returns
        its path."""
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        path = ARTIFACTS / f"{name}.ppm"
        self.grab(0, 0, *SCREEN).save(path)
        return path

    # --- input ---------------------------------------------------------

    def click(self, win, x, y, button=1):
        """A press and release of `button` at client point (x, y), through
        XTEST, as a real mouse would make them."""
        ox, oy, _, _ = self.geometry(win)
        self.click_root(ox + x, oy + y, button)

    def click_root(self, x, y, button=1):
        """A press and release at (x, y) of the root, through XTEST."""
        xtest.fake_input(self.dpy, X.MotionNotify, x=x, y=y)
        xtest.fake_input(self.dpy, X.ButtonPress, button)
        xtest.fake_input(self.dpy, X.ButtonRelease, button)
        self.dpy.sync()

    def key(self, win, keysym):
        """One key (an X keysym name such as Return or n) sent to the window."""
        subprocess.run(["xdotool", "key", "--window", str(win), keysym],
                       env=self.wine_env, timeout=10, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def request_close(self, win):
        """Asks the window to close as a window manager would: a
        WM_DELETE_WINDOW client message, which Wine turns into WM_CLOSE while
        the window is enabled."""
        event = protocol.event.ClientMessage(
            window=self._window(win), client_type=self._atoms["WM_PROTOCOLS"],
            data=(32, [self._atoms["WM_DELETE_WINDOW"], X.CurrentTime, 0, 0, 0]))
        self._window(win).send_event(event, event_mask=0)
        self.dpy.sync()
