#!/usr/bin/env bash
# Builds MOKTU.EXE and plays it under Wine on this display, installing what
# is missing first (as root, with apt).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/deps.sh

if [[ -z ${DISPLAY:-} ]] || ! xdpyinfo >/dev/null 2>&1; then
    echo "play.sh: no usable X display (DISPLAY='${DISPLAY:-}'); run it from a graphical session." >&2
    exit 1
fi

cmake --preset win32 >/dev/null
cmake --build --preset win32 -j 2

prefix=$(bash scripts/wineprefix.sh wineprefix)
unset LC_ALL LC_CTYPE LANGUAGE
WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=ja_JP.UTF-8 \
    exec wine build/win32/MOKTU.EXE
