"""Copies a TrueType font under the product's family name "Quorbel".

Usage: rename_font.py <source.ttf> <target.ttf>

Only the naming records change: the family, full, unique and PostScript
names. Copyright and licence records stay as they are (the licence asks for
a new name on any changed copy; Quorbel-LICENSE.txt travels beside it).
"""
import os
import sys

from fontTools.ttLib import TTFont

FAMILY = "Quorbel"
RENAMED = {1: FAMILY, 3: FAMILY, 4: FAMILY, 6: FAMILY, 16: FAMILY, 2: "Regular", 17: "Regular"}


def main(source, target):
    font = TTFont(source, recalcTimestamp=False)
    names = font["name"]
    for record in names.names:
        if record.nameID in RENAMED:
            record.string = RENAMED[record.nameID]
    partial = target + ".partial"
    font.save(partial)
    os.replace(partial, target)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2])
