"""Runs the end-to-end tests of MOKTU.EXE under Wine.

    /usr/bin/python3 tests/e2e/run.py BUILD/MOKTU.EXE [--pictures PROGRAM] [NAME...]

Every function test_* of every module test_*.py beside this file is a test,
run in file and definition order, all in one Xvfb and Wine prefix session.
A test takes the session and the path of the exe. NAME... runs only the tests
whose names contain one of them. PROGRAM is the host build's standin_pictures,
whose pictures some tests compare the screen with (by default the one in
build/host). Prints PASS or FAIL per test and exits non-zero when any failed;
the screen at a failure is kept in build/e2e/.
"""

import importlib.util
import shutil
import sys
import time
import traceback
from pathlib import Path

import harness

HERE = Path(__file__).resolve().parent
DEFAULT_PICTURES = harness.REPO / "build" / "host" / "tests" / "e2e" / "standin_pictures"


def discover(filters):
    tests = []
    for path in sorted(HERE.glob("test_*.py")):
        found = importlib.util.spec_from_file_location(path.stem, path)
        module = importlib.util.module_from_spec(found)
        found.loader.exec_module(module)
        for name, fn in vars(module).items():
            full = f"{path.stem}.{name}"
            if name.startswith("test_") and callable(fn) and fn.__module__ == path.stem:
                if not filters or any(f in full for f in filters):
                    tests.append((full, fn))
    return tests


def run_one(session, exe, name, fn):
    start = time.monotonic()
    try:
        fn(session, exe)
        ok = True
    except Exception:
        ok = False
        traceback.print_exc(file=sys.stdout)
        try:
            print(f"  screen at the failure: {session.save_screen(name)}")
        except Exception as e:
            print(f"  no picture of the screen: {e}")
        for program in session.programs:
            kept = harness.ARTIFACTS / f"{name}.{program.log_path.name}"
            shutil.copyfile(program.log_path, kept)
            print(f"  wine output: {kept}")
    finally:
        session.end_programs()
    print(f"{'PASS' if ok else 'FAIL'} {name} ({time.monotonic() - start:.1f} s)", flush=True)
    return ok


def main(argv):
    if len(argv) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    exe = Path(argv[1]).resolve()
    if not exe.is_file():
        print(f"e2e: no program at {exe}", file=sys.stderr)
        return 2
    rest = argv[2:]
    pictures = DEFAULT_PICTURES
    if "--pictures" in rest:
        i = rest.index("--pictures")
        if i + 1 == len(rest):
            print(__doc__.strip(), file=sys.stderr)
            return 2
        pictures = Path(rest[i + 1]).resolve()
        del rest[i:i + 2]
    tests = discover(rest)
    if not tests:
        print("e2e: no test matches", file=sys.stderr)
        return 2
    start = time.monotonic()
    with harness.Session(pictures_program=pictures) as session:
        results = [run_one(session, exe, name, fn) for name, fn in tests]
    failed = results.count(False)
    print(f"e2e: {len(results) - failed} passed, {failed} failed "
          f"in {time.monotonic() - start:.0f} s", flush=True)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
