#!/usr/bin/env python3
"""Generates the built-in pinyin tables from Debian's unicode-data package.

Outputs (paths relative to --out, the source tree by default):
  resources/rcdata/505_pinyin_chars.bin     the characters, UTF-16LE units, no terminator
  resources/rcdata/506_pinyin_readings.bin  per character one 32-bit little-endian entry:
                                            bits 0-15 toneless index, bits 16-31 toned index
  textlib/pinyin_syllables.cpp              the two syllable arrays those indexes point into

Each character's reading is the first kMandarin value of Unihan_Readings. The
characters are U+3007, CJK Extension A (U+3400-U+4DBF), CJK Unified Ideographs
(U+4E00-U+9FFF) and the CJK Compatibility Ideographs (U+F900-U+FAFF) that
have a reading, in ascending code order. Unihan has no reading for U+3007
(the ideographic zero is not an Unihan character), so it is given here;
U+FA1E has none of its own and takes the reading of the ideograph it is
canonically equivalent to, as the tables have always had it. Compatibility
ideographs outside the BMP (U+2F800 on) do not fit the one-unit character
list. Both syllable arrays are numbered by first use while walking the
characters.

The output depends only on the input files: rerunning it reproduces the
committed tables byte for byte.

Regenerate:  python3 tools/gen_pinyin_tables.py
"""
import argparse
import bz2
import os
import struct
import sys

RANGES = [(0x3007, 0x3007), (0x3400, 0x4DBF), (0x4E00, 0x9FFF), (0xF900, 0xFAFF)]
SUPPLEMENT = {0x3007: "l\u00edng"}  # 〇 líng
READ_AS_EQUIVALENT = {0xFA1E}  # 羽 reads as 羽
MAX_SYLLABLE = 6
TONE_MARKS = {0x0300, 0x0301, 0x0304, 0x030C}  # grave, acute, macron, caron
DIAERESIS = 0x0308


def read_kmandarin(unicode_dir):
    readings = {}
    version = ""
    path = os.path.join(unicode_dir, "Unihan_Readings.txt.bz2")
    with bz2.open(path, "rt", encoding="utf-8") as f:
        for line in f:
            if line.startswith("# Unicode version:"):
                version = line.split(":", 1)[1].strip()
            if line.startswith("#") or not line.strip():
                continue
            code, field, value = line.rstrip("\n").split("\t", 2)
            if field == "kMandarin":
                readings[int(code[2:], 16)] = value.split()[0]
    return readings, version


def read_decompositions(unicode_dir):
    """Canonical decompositions from UnicodeData.txt (compatibility ones left out)."""
    decomp = {}
    with open(os.path.join(unicode_dir, "UnicodeData.txt"), encoding="utf-8") as f:
        for line in f:
            fields = line.split(";")
            if fields[5] and not fields[5].startswith("<"):
                decomp[int(fields[0], 16)] = [int(x, 16) for x in fields[5].split()]
    return decomp


def full_decomposition(cp, decomp):
    if cp not in decomp:
        return [cp]
    out = []
    for part in decomp[cp]:
        out.extend(full_decomposition(part, decomp))
    return out


def toneless(syllable, decomp):
    """Lower-case ASCII form: tone marks dropped, ü written as v."""
    out = []
    for ch in syllable:
        parts = full_decomposition(ord(ch), decomp)
        base, marks = parts[0], set(parts[1:])
        if not marks <= TONE_MARKS | {DIAERESIS}:
            sys.exit("unexpected mark in %r" % syllable)
        if DIAERESIS in marks:
            if base != ord("u"):
                sys.exit("unexpected diaeresis in %r" % syllable)
            base = ord("v")
        if not (ord("a") <= base <= ord("z")):
            sys.exit("unexpected letter in %r" % syllable)
        out.append(chr(base))
    return "".join(out)


def check_toned(syllable, decomp):
    for ch in syllable:
        cp = ord(ch)
        if 0x0300 <= cp <= 0x036F:
            sys.exit("combining mark in %r" % syllable)
        if cp > 0x7F and full_decomposition(cp, decomp)[0] > 0x7F:
            sys.exit("unexpected letter in %r" % syllable)
        if cp > 0xFFFF:
            sys.exit("syllable outside the BMP: %r" % syllable)
    if not 0 < len(syllable) <= MAX_SYLLABLE:
        sys.exit("syllable length out of range: %r" % syllable)


def build(unicode_dir):
    readings, version = read_kmandarin(unicode_dir)
    decomp = read_decompositions(unicode_dir)
    chars = []
    for lo, hi in RANGES:
        for cp in range(lo, hi + 1):
            reading = SUPPLEMENT.get(cp) or readings.get(cp)
            if reading is None and cp in READ_AS_EQUIVALENT and len(decomp.get(cp, [])) == 1:
                reading = readings.get(decomp[cp][0])
            if reading is not None:
                chars.append((cp, reading))

    toneless_index, toned_index = {}, {}
    toneless_list, toned_list = [], []
    entries = []
    for cp, reading in chars:
        check_toned(reading, decomp)
        plain = toneless(reading, decomp)
        if plain not in toneless_index:
            toneless_index[plain] = len(toneless_list)
            toneless_list.append(plain)
        if reading not in toned_index:
            toned_index[reading] = len(toned_list)
            toned_list.append(reading)
        entries.append(toneless_index[plain] | (toned_index[reading] << 16))
    if len(toneless_list) > 0xFFFF or len(toned_list) > 0xFFFF:
        sys.exit("too many syllables for 16-bit indexes")

    char_bytes = b"".join(struct.pack("<H", cp) for cp, _ in chars)
    entry_bytes = b"".join(struct.pack("<I", e) for e in entries)
    return char_bytes, entry_bytes, toneless_list, toned_list, version, chars


def cpp_literal(text):
    out = []
    for ch in text:
        cp = ord(ch)
        out.append(ch if 0x20 <= cp < 0x7F and ch not in '"\\' else "\\u%04X" % cp)
    return 'u"' + "".join(out) + '"'


def syllable_source(toneless_list, toned_list, version):
    lines = [
        "// Generated by tools/gen_pinyin_tables.py from Unihan %s (kMandarin); do not edit." % version,
        "// The pinyin syllables the entries of resource 506 point into, numbered by",
        "// first use along the character list of resource 505.",
        '#include "textlib/pinyin_syllables.h"',
        "",
        "namespace rg_Tavelkin_MingLingJi {",
        "",
    ]
    for name, items in (("kPinyinTonelessSyllables", toneless_list), ("kPinyinTonedSyllables", toned_list)):
        lines.append("const char16_t* const %s[] = {" % name)
        row = ""
        for item in items:
            piece = cpp_literal(item) + ","
            if row and len(row) + 1 + len(piece) > 96:
                lines.append(row)
                row = ""
            row = (row + " " + piece) if row else "    " + piece
        if row:
            lines.append(row)
        lines.append("};")
        lines.append("const int %sCount = %d;" % (name, len(items)))
        lines.append("")
    lines.append("}  // namespace rg_Tavelkin_MingLingJi")
    return "\n".join(lines) + "\n"


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    mode = "wb" if isinstance(data, bytes) else "w"
    with open(path, mode, **({} if mode == "wb" else {"encoding": "ascii", "newline": "\n"})) as f:
        f.write(data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--unicode-dir", default="/usr/share/unicode", help="where unicode-data installs its files")
    parser.add_argument("--out", default=os.path.dirname(here), help="root of the tree to write into")
    args = parser.parse_args()

    char_bytes, entry_bytes, toneless_list, toned_list, version, chars = build(args.unicode_dir)
    write(os.path.join(args.out, "resources", "rcdata", "505_pinyin_chars.bin"), char_bytes)
    write(os.path.join(args.out, "resources", "rcdata", "506_pinyin_readings.bin"), entry_bytes)
    write(os.path.join(args.out, "textlib", "pinyin_syllables.cpp"),
          syllable_source(toneless_list, toned_list, version))
    print("%d characters, %d toneless and %d toned syllables (Unihan %s)"
          % (len(chars), len(toneless_list), len(toned_list), version))


if __name__ == "__main__":
    main()
