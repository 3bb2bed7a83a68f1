#!/usr/bin/python3
"""Runs MOKTU.EXE under Wine on a virtual display for one round and prints,
as JSON, the CPU time that its process used over the round and the wall
time of the round's 300 ticks.

The round runs from the answer to the second detection box to the moment
the replay question appears. CPU time is utime + stime from /proc/<pid>/stat
of the Wine process that runs the program (its own threads included, not
its children); wineserver's, found by the prefix named in its environment,
is reported apart and not included.

usage: wine_round.py MOKTU.EXE
"""
import json
import os
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "e2e"))
import harness  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    """utime + stime of the process, in seconds."""
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def wineserver_pid(prefix):
    """The wineserver of this prefix: a process named wineserver (Debian's
    32-bit one is wineserver32) whose environment names the prefix."""
    want = b"WINEPREFIX=" + str(prefix).encode()
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/comm", "rb") as f:
                if not f.read().strip().startswith(b"wineserver"):
                    continue
            with open(f"/proc/{entry}/environ", "rb") as f:
                if want in f.read().split(b"\0"):
                    return int(entry)
        except OSError:
            continue
    return None


def main():
    exe = Path(sys.argv[1]).resolve()
    with harness.Session() as session:
        game = session.launch(exe)
        game.main_window()
        found = game.wait_box()
        game.answer_box(found)
        instructions = game.wait_box(exclude=[found])
        server = wineserver_pid(session.prefix)
        session.key(instructions, "Return")
        start_wall = time.monotonic()
        start_cpu = cpu_seconds(game.pid)
        start_server = cpu_seconds(server) if server else None
        question = game.wait_box(exclude=[found, instructions], timeout=90)
        wall = time.monotonic() - start_wall
        cpu = cpu_seconds(game.pid) - start_cpu
        server_cpu = cpu_seconds(server) - start_server if server else None
        game.answer_box(question, "n")
        code = game.wait_exit()
    print(json.dumps({"wall_s": wall, "cpu_s": cpu, "wineserver_cpu_s": server_cpu, "exit_code": code}))


if __name__ == "__main__":
    main()
