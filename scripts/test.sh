#!/usr/bin/env bash
# Builds MOKTU.EXE and the host build, runs the host tests, a one-minute fuzz
# of the program on the stand-in, then the tests of MOKTU.EXE under Wine on
# a virtual X display. Installs what is missing first
# (as root, with apt). Exits non-zero when anything failed.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

EXE=$PWD/build/win32/MOKTU.EXE
# The stand-in's pictures that the Wine tests compare the screen with.
PICTURES=$PWD/build/host/tests/e2e/standin_pictures
results=()
failed=0

# step NAME COMMAND...: runs one step and notes how it went.
step() {
    local name=$1 start=$SECONDS
    shift
    echo "==> $name"
    if "$@"; then
        results+=("ok      $name ($((SECONDS - start)) s)")
    else
        results+=("FAILED  $name ($((SECONDS - start)) s)")
        failed=1
        return 1
    fi
}

skip() {
    results+=("skipped $1 ($2)")
    failed=1
}

build_win32() { cmake --preset win32 && cmake --build --preset win32 -j 2; }
build_host() { cmake --preset host "-DMURVALO_EXE=$EXE" && cmake --build --preset host -j 2; }

step "dependencies" bash scripts/deps.sh || { printf '%s\n' "${results[@]}"; exit 1; }
step "win32 build" build_win32 && win32_ok=1 || win32_ok=0
if step "host build" build_host; then
    step "host tests" ctest --preset host
else
    skip "host tests" "no host build"
fi
step "fuzzing (60 s)" bash scripts/fuzz.sh 60
if [[ $win32_ok == 1 ]]; then
    step "Wine tests" /usr/bin/python3 tests/e2e/run.py "$EXE" --pictures "$PICTURES"
else
    skip "Wine tests" "no MOKTU.EXE"
fi

echo "==> summary"
printf '%s\n' "${results[@]}"
exit $failed
