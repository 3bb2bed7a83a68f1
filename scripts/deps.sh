#!/usr/bin/env bash
# Installs what building, playing and testing Murvalo need on Debian 12, as
# root, and only what is missing: the host and cross toolchains, Wine with its
# 32-bit loader, the X tools of the Wine tests, the Japanese font and locale.
# Quiet when everything is there; fails loudly when an install fails.
set -euo pipefail

PACKAGES=(
    cmake g++ libgtest-dev
    g++-mingw-w64-i686 binutils-mingw-w64-i686
    wine wine32:i386
    xvfb xdotool imagemagick x11-utils icoutils
    fonts-ipafont-gothic locales
    python3 python3-xlib
    clang libclang-rt-14-dev valgrind libbenchmark-dev
)
LOCALE_NAME=ja_JP.UTF-8

fail() { echo "deps.sh: $*" >&2; exit 1; }

# dpkg-query knows a removed package too ("rc"): only "ii" counts.
is_installed() {
    [[ "$(dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null)" == ii* ]]
}

has_locale() {
    locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'
}

as_root() {
    if [[ $(id -u) -eq 0 ]]; then
        "$@"
    elif command -v sudo >/dev/null; then
        sudo "$@"
    else
        fail "need root to run: $*"
    fi
}

missing=()
for p in "${PACKAGES[@]}"; do
    is_installed "$p" || missing+=("$p")
done

if [[ ${#missing[@]} -gt 0 ]]; then
    echo "deps.sh: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386 || fail "cannot add the i386 architecture"
    fi
    as_root apt-get update -q >/dev/null || fail "apt-get update failed"
    as_root apt-get install -y -q "${missing[@]}" >/dev/null \
        || fail "apt-get install failed for: ${missing[*]}"
    for p in "${missing[@]}"; do
        is_installed "$p" || fail "$p is still not installed"
    done
fi

if ! has_locale; then
    echo "deps.sh: generating the $LOCALE_NAME locale"
    if [[ -f /etc/locale.gen ]] && grep -q "^# *$LOCALE_NAME UTF-8" /etc/locale.gen; then
        as_root sed -i "s/^# *\($LOCALE_NAME UTF-8\)/\1/" /etc/locale.gen
        as_root locale-gen >/dev/null || fail "locale-gen failed"
    else
        as_root localedef -i ja_JP -f UTF-8 "$LOCALE_NAME" || fail "localedef failed"
    fi
    has_locale || fail "the $LOCALE_NAME locale is still missing"
fi
