#!/usr/bin/env python3
"""Makes stand-in faces for the font fallback tests from a proportional Japanese face: copies
named as the faces the fallback prefers, and one marked decorative.
Usage: make_test_fonts.py SOURCE.ttf OUTDIR"""
import os
import sys

from fontTools.ttLib import TTFont

# file, English family name, Japanese family name (None: the English one)
FACES = [
    ("yu_gothic_ui.ttf", "Yu Gothic UI", None),
    ("meiryo_ui.ttf", "Meiryo UI", None),
    ("ms_pgothic.ttf", "MS PGothic", "ＭＳ Ｐゴシック"),
    ("ms_ui_gothic.ttf", "MS UI Gothic", None),
    ("decorative.ttf", "AAA Tav Decorative", None),  # sorts first among the Japanese faces
]
JAPANESE = 0x411


def make(source, out, english, japanese, decorative):
    font = TTFont(source)
    for record in font["name"].names:
        local = japanese if (record.platformID == 3 and record.langID == JAPANESE and japanese) else english
        if record.nameID in (1, 4, 16, 18):
            record.string = local
        elif record.nameID == 6:
            record.string = english.replace(" ", "")
        elif record.nameID in (2, 17):
            record.string = "Regular"
    if decorative:
        os2 = font["OS/2"]
        os2.panose.bFamilyType = 4  # decorative
        os2.sFamilyClass = 9 << 8  # ornamentals
    font.save(out)


def main():
    source, outdir = sys.argv[1], sys.argv[2]
    os.makedirs(outdir, exist_ok=True)
    for name, english, japanese in FACES:
        make(source, os.path.join(outdir, name), english, japanese, name == "decorative.ttf")


if __name__ == "__main__":
    main()
