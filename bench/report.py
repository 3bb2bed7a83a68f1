#!/usr/bin/python3
"""Writes the benchmark report (Markdown) from what scripts/bench.sh measured.

usage: report.py OUTDIR COUNT EXE
"""
import json
import re
import sys
from pathlib import Path

SIZE_GOAL = 32 * 1024
CPU_GOAL = 0.01   # of one core, on average over the round


def callgrind_instructions(path):
    with open(path) as f:
        for line in f:
            m = re.match(r"(summary|totals):\s+(\d+)", line)
            if m:
                return int(m.group(2))
    raise SystemExit(f"no instruction total in {path}")


def main():
    out, count, exe = Path(sys.argv[1]), int(sys.argv[2]), Path(sys.argv[3])
    bench = {b["name"]: b for b in json.loads((out / "benchmark.json").read_text())["benchmarks"]}
    wine = json.loads((out / "wine.json").read_text())
    size = exe.stat().st_size

    lines = ["# Benchmarks", "",
             "## On the stand-in (Release build, logging off)", "",
             "| operation | time per call | instructions per call (callgrind) |",
             "|---|---|---|"]
    for label, name, op in (("motion tick, nine busy holes", "BM_MotionTick", "motion"),
                            ("strike (virus stands)", "BM_Strike", "strike"),
                            ("whole repaint in the round", "BM_WholeRepaint", "repaint")):
        b = bench[name]
        ns = b["cpu_time"] if b["time_unit"] == "ns" else b["cpu_time"] * {"us": 1e3, "ms": 1e6}[b["time_unit"]]
        instructions = callgrind_instructions(out / f"callgrind.{op}") / count
        lines.append(f"| {label} | {ns / 1000:.1f} µs | {instructions:,.0f} |")
    lines += ["",
              "Both count the stand-in's pixel-by-pixel drawing together with the game's own work.", "",
              "## MOKTU.EXE", ""]
    verdict = "met" if size <= SIZE_GOAL else f"missed by {size - SIZE_GOAL:,} bytes"
    lines.append(f"{size:,} bytes as built, resources linked in; goal at most {SIZE_GOAL:,} bytes (32 KiB): "
                 f"{verdict}, {SIZE_GOAL - size:,} bytes to spare." if size <= SIZE_GOAL else
                 f"{size:,} bytes; goal {SIZE_GOAL:,}: {verdict}.")
    cpu, wall = wine["cpu_s"], wine["wall_s"]
    share = cpu / wall
    lines += ["", "## Under Wine, one round on a virtual display", "",
              f"- wall time of the round's 300 ticks (second detection box answered to the question "
              f"shown): {wall:.2f} s against a nominal 30 s. The round's timer starts only once the "
              f"box has returned, and Wine stalls a program about 2 s when one of its windows is "
              f"hidden (noted in the test harness); the harness also polls every 50 ms.",
              f"- CPU time of the program's process over the round (utime + stime from /proc): "
              f"{cpu:.2f} s, {share * 100:.2f} % of one core"]
    if wine.get("wineserver_cpu_s") is not None:
        lines.append(f"- wineserver, not included above: {wine['wineserver_cpu_s']:.2f} s")
    else:
        lines.append("- wineserver: not found, so not measured and not included")
    if share < CPU_GOAL:
        lines.append(f"- goal under 1 % of one core: met, {(CPU_GOAL - share) * 100:.2f} points to spare")
    else:
        lines.append(f"- goal under 1 % of one core: missed by {(share - CPU_GOAL) * 100:.2f} points: "
                     "Wine's own work for each timer message, drawing call and X request, "
                     "which the program's 10 ticks a second and their direct drawing cause")
    lines.append(f"- exit code after No: {wine['exit_code']}")
    print("\n".join(lines))


if __name__ == "__main__":
    main()
