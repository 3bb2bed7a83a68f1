#!/bin/bash
# Benchmarks and a short report in build/bench/report.md (also printed):
#   - the motion tick, a strike and a whole repaint on the stand-in: Google
#     Benchmark times and callgrind instruction counts (exact, run after run);
#   - the size of MOKTU.EXE against 32 KiB;
#   - under Wine on a virtual display, over one 30-second round: the CPU time
#     of the program's process and the wall time of the round's 300 ticks,
#     against 1 % of one core.
# Takes about a minute and a half.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/bench
mkdir -p "$out"

# The stand-in benchmarks, in a Release build of their own.
cmake -S "$root" -B "$out/host" -DCMAKE_BUILD_TYPE=Release -DMURVALO_BENCH=ON >/dev/null
cmake --build "$out/host" --target moktu_bench moktu_count -j2 >/dev/null
"$out/host/bench/moktu_bench" --benchmark_min_time=0.3 --benchmark_format=json >"$out/benchmark.json" 2>/dev/null

count=200
for op in motion strike repaint; do
    valgrind --tool=callgrind --callgrind-out-file="$out/callgrind.$op" --toggle-collect='Counted*' \
        "$out/host/bench/moktu_count" "$op" "$count" 2>"$out/callgrind.$op.log" >/dev/null
done

# MOKTU.EXE as the win32 preset builds it, in a directory of our own.
cmake -S "$root" -B "$out/win32" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build "$out/win32" -j2 >/dev/null
exe=$out/win32/MOKTU.EXE

/usr/bin/python3 "$root/bench/wine_round.py" "$exe" >"$out/wine.json"

/usr/bin/python3 "$root/bench/report.py" "$out" "$count" "$exe" >"$out/report.md"
cat "$out/report.md"
