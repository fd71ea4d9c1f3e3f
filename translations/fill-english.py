#!/usr/bin/env python3
"""Fills every untranslated entry of vn274_en.ts with its source text.

The English translation keeps each text exactly as the program writes it, so
choosing English never changes a text. Run it after refreshing the .ts files
(cmake --build <builddir> --target vn274core_lupdate). The file is edited as
text, so lupdate's own formatting stays as it is.
"""
import pathlib
import re

ts = pathlib.Path(__file__).with_name("vn274_en.ts")
text = ts.read_text(encoding="utf-8")
filled = 0


def fill(message):
    global filled
    block = message.group(0)
    source = re.search(r"<source>(.*?)</source>", block, re.S).group(1)
    empty = re.search(r'<translation type="unfinished">(.*?)</translation>', block, re.S)
    if not empty:
        return block
    filled += 1
    return block[:empty.start()] + "<translation>" + source + "</translation>" + block[empty.end():]


text = re.sub(r"<message>.*?</message>", fill, text, flags=re.S)
ts.write_text(text, encoding="utf-8")
print(f"{ts.name}: {filled} entries filled")
