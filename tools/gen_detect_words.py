#!/usr/bin/env python3
"""Generates tests/fixtures/detect_words.txt, real UTF-8 words for the
detection corpus test, from Debian's word lists.

Input: /usr/share/dict/{french,ngerman,spanish,portuguese,polish,ukrainian}
(packages wfrench, wngerman, wspanish, wportuguese, wpolish, wukrainian).

Only words with a non-ASCII letter are taken; ASCII reads the same in every
charset. How a word is detected depends on its non-ASCII letters and on where
ASCII runs break them, not on which ASCII letters they are, so from each
Latin-script list the file keeps one word per shape (the word with each ASCII
run written as one "a"), the first of the list. The Cyrillic words are all of
one shape kind, so the Ukrainian list gives a seeded sample: 2,000 words, and
2,000 more among those whose bytes are also a row of common GB2312 characters
(the only words a GBK reading could ever claim).

One word a line, after a line "# <list>" that names the list it comes from.
The output depends only on the input files: rerunning it reproduces the
committed fixture byte for byte.

Regenerate:  python3 tools/gen_detect_words.py
"""
import argparse
import os
import random
import re

LATIN_LISTS = ["french", "ngerman", "spanish", "portuguese", "polish"]
ASCII_RUN = re.compile(rb"[\x00-\x7f]+")


def read_words(path):
    with open(path, "rb") as f:
        for line in f:
            word = line.rstrip(b"\r\n")
            if word and any(b >= 0x80 for b in word):
                yield word


def common_gbk(word):
    """Whether every non-ASCII byte starts a GB2312 level-1 or punctuation pair."""
    i = 0
    while i < len(word):
        lead = word[i]
        if lead < 0x80:
            i += 1
            continue
        if i + 1 == len(word):
            return False
        trail = word[i + 1]
        level1 = 0xB0 <= lead <= 0xD7 and not (lead == 0xD7 and trail > 0xF9)
        if not (0xA1 <= trail <= 0xFE and (level1 or lead in (0xA1, 0xA3))):
            return False
        i += 2
    return True


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--dict", default="/usr/share/dict")
    parser.add_argument("--out", default=os.path.join(os.path.dirname(__file__), "..", "tests", "fixtures",
                                                      "detect_words.txt"))
    args = parser.parse_args()

    out = []
    for name in LATIN_LISTS:
        shapes = {}
        for word in read_words(os.path.join(args.dict, name)):
            shapes.setdefault(ASCII_RUN.sub(b"a", word), word)
        out.append(b"# " + name.encode())
        out.extend(shapes.values())

    words = sorted(set(read_words(os.path.join(args.dict, "ukrainian"))))
    rng = random.Random(41)
    risky = [w for w in words if common_gbk(w)]
    chosen = set(rng.sample(words, 2000)) | set(rng.sample(risky, 2000))
    out.append(b"# ukrainian")
    out.extend(sorted(chosen))

    with open(args.out, "wb") as f:
        f.write(b"\n".join(out) + b"\n")


if __name__ == "__main__":
    main()
