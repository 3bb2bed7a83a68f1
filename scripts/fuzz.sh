#!/bin/bash
# Builds the fuzz target with clang (AddressSanitizer, UndefinedBehaviorSanitizer,
# libFuzzer) in build/fuzz and fuzzes the whole program on the stand-in for
# a bounded time, starting from fuzz/corpus/. Fails on any crash, breach of
# the game's invariants or sanitizer report; the input that found it is left
# in build/fuzz/findings/.
#
# usage: scripts/fuzz.sh [seconds]     (default 60)
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz

cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMURVALO_FUZZ=ON >/dev/null
cmake --build "$build" --target moktu_fuzz -j2 >/dev/null

# New inputs go to a scratch corpus; the committed seeds stay as they are.
work=$build/corpus
findings=$build/findings
mkdir -p "$work" "$findings"
rm -f "$findings"/*

cd "$build"
set +e
"$build/fuzz/moktu_fuzz" -max_total_time="$seconds" -max_len=256 -timeout=20 -rss_limit_mb=1500 \
    -artifact_prefix="$findings/" -print_final_stats=1 "$work" "$root/fuzz/corpus" 2>"$build/fuzz.log"
status=$?
set -e
tail -n 25 "$build/fuzz.log"
if [ $status -ne 0 ] || [ -n "$(ls -A "$findings")" ]; then
    echo "fuzz: FAILED (exit $status); findings in $findings, log in $build/fuzz.log" >&2
    exit 1
fi
echo "fuzz: no crash in ${seconds} s"
