#!/usr/bin/env bash
# Makes sure the project's Wine prefix NAME is booted and set up for
# MOKTU.EXE, and prints its path: a 32-bit prefix in which "ＭＳ Ｐゴシック"
# (the game's face) and the faces of the message boxes map to the IPA Gothic
# fonts. Prefixes live in the user's cache, so that every clone shares them.
# The first call boots one (about 10 s); later calls compare a stamp and
# return. Concurrent callers wait for each other on a lock beside the prefix.
#
#   bash scripts/wineprefix.sh NAME    (play.sh: wineprefix; tests: wineprefix-e2e)
set -euo pipefail

name=${1:?usage: wineprefix.sh NAME}

# Bump when the set-up below changes, so that existing prefixes get it too.
SETUP_VERSION=1
REPLACEMENTS_KEY='HKCU\Software\Wine\Fonts\Replacements'
# face asked for (a UTF-16 value name in the registry) = installed face
REPLACEMENTS=(
    'ＭＳ Ｐゴシック=IPAPGothic'
    'ＭＳ ゴシック=IPAGothic'
    'MS UI Gothic=IPAGothic'
)

if [[ -n ${XDG_CACHE_HOME:-} ]]; then
    base=$XDG_CACHE_HOME/murvalo
elif [[ -n ${HOME:-} ]]; then
    base=$HOME/.cache/murvalo
else
    base=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/wine
fi
prefix=$base/$name
stamp_file=$prefix/.murvalo-setup

export WINEPREFIX=$prefix
export WINEARCH=win32
export WINEDEBUG=-all
# No mono or gecko installer dialogs: the game needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
# reg.exe reads its arguments in the locale's charset: the Japanese value
# names need a UTF-8 one.
export LANG=ja_JP.UTF-8
unset LC_ALL LC_CTYPE LANGUAGE
# Booting needs no display, and must open no window on the user's.
unset DISPLAY

fail() { echo "wineprefix.sh: $*" >&2; exit 1; }

stamp="$SETUP_VERSION $(wine --version)"

is_ready() {
    [[ -f $stamp_file && "$(cat "$stamp_file")" == "$stamp" ]]
}

set_up() {
    # A boot cut short before the registry was written starts afresh.
    if [[ -d $prefix && ! -f $prefix/system.reg ]]; then
        rm -rf "$prefix"
    fi
    echo "wineprefix.sh: setting up the Wine prefix $prefix" >&2
    wineboot -i >/dev/null 2>&1 || fail "wineboot failed in $prefix"
    local entry
    for entry in "${REPLACEMENTS[@]}"; do
        wine reg add "$REPLACEMENTS_KEY" /v "${entry%%=*}" /t REG_SZ /d "${entry#*=}" /f \
            >/dev/null 2>&1 || fail "cannot set the font replacement ${entry%%=*}"
    done
    # The registry reaches the disk when the prefix's wineserver ends.
    wineserver -w
    grep -q '^#arch=win32' "$prefix/system.reg" || fail "$prefix is not a 32-bit prefix"
    grep -q '=\"IPAPGothic\"' "$prefix/user.reg" \
        || fail "the font replacements did not reach $prefix/user.reg"
    echo "$stamp" >"$stamp_file"
}

if ! is_ready; then
    mkdir -p "$base"
    exec 9>"$prefix.boot-lock"
    flock 9
    is_ready || set_up
fi
echo "$prefix"
