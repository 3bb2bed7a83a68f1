#!/usr/bin/python3
"""Copies a C++ source with every non-ASCII character written as octal
escapes of its code page 932 bytes.

The game's Japanese texts are UTF-8 in the sources and code page 932 in the
program. GCC converts them with -fexec-charset; clang cannot, so the fuzz
build compiles copies made by this script. Octal escapes take at most three
digits, so a digit that follows one is never read as part of it. Comments
are escaped too, which does no harm.

usage: to_cp932.py SOURCE OUTPUT
"""
import os
import sys


def escaped(text):
    out = []
    for ch in text:
        if ord(ch) < 0x80:
            out.append(ch)
        else:
            out.extend("\\%03o" % b for b in ch.encode("cp932"))
    return "".join(out)


def main():
    source, output = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as f:
        text = f.read()
    os.makedirs(os.path.dirname(output) or ".", exist_ok=True)
    with open(output, "w", encoding="ascii", newline="") as f:
        f.write(escaped(text))


if __name__ == "__main__":
    main()
