#!/usr/bin/env bash
# Makes sure the Wine prefix given as $1 is booted and set up for MOKTU.EXE:
# a 32-bit prefix whose "ＭＳ Ｐゴシック" (the game's face) and the faces of the
# message boxes map to the IPA Gothic fonts. The first call boots it (about
# 10 s); later calls only compare a stamp and return. Concurrent callers wait
# for each other on a lock beside the prefix.
#
#   bash scripts/wineprefix.sh PREFIX
set -euo pipefail

prefix=${1:?usage: wineprefix.sh PREFIX}

# Bump when the set-up below changes, so that existing prefixes get it too.
SETUP_VERSION=1
REPLACEMENTS_KEY='HKCU\Software\Wine\Fonts\Replacements'
# face in the registry (UTF-16 value name) -> installed face
REPLACEMENTS=(
    'ＭＳ Ｐゴシック=IPAPGothic'
    'ＭＳ ゴシック=IPAGothic'
    'MS UI Gothic=IPAGothic'
)

export WINEPREFIX=$prefix
export WINEARCH=win32
export WINEDEBUG=-all
# No mono or gecko installer dialogs: the game needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
# reg.exe takes its arguments in the locale's charset: the Japanese value
# names need a UTF-8 one.
export LANG=ja_JP.UTF-8
unset LC_ALL LC_CTYPE LANGUAGE
# Booting needs no display, and must not open windows on the user's.
unset DISPLAY

stamp_file=$prefix/.murvalo-setup
stamp="$SETUP_VERSION $(wine --version)"

[[ -f $stamp_file && "$(cat "$stamp_file")" == "$stamp" ]] && exit 0

mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.boot-lock"
flock 9
[[ -f $stamp_file && "$(cat "$stamp_file")" == "$stamp" ]] && exit 0

# A boot that was cut short leaves a prefix without its stamp: start afresh
# unless the prefix got as far as its registry.
if [[ -d $prefix && ! -f $prefix/system.reg ]]; then
    rm -rf "$prefix"
fi

echo "wineprefix.sh: setting up the Wine prefix $prefix"
wineboot -i >/dev/null 2>&1 || { echo "wineprefix.sh: wineboot failed in $prefix" >&2; exit 1; }
for entry in "${REPLACEMENTS[@]}"; do
    wine reg add "$REPLACEMENTS_KEY" /v "${entry%%=*}" /t REG_SZ /d "${entry#*=}" /f >/dev/null 2>&1 \
        || { echo "wineprefix.sh: cannot set the font replacement ${entry%%=*}" >&2; exit 1; }
done
# The registry reaches the disk when the prefix's wineserver ends.
wineserver -w

grep -q '^#arch=win32' "$prefix/system.reg" \
    || { echo "wineprefix.sh: $prefix is not a 32-bit prefix" >&2; exit 1; }
grep -q 'IPAPGothic' "$prefix/user.reg" \
    || { echo "wineprefix.sh: the font replacements did not reach $prefix/user.reg" >&2; exit 1; }
echo "$stamp" >"$stamp_file"
