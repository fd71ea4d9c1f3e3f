#!/usr/bin/env python3
"""Fills every unfinished entry of vn274_en.ts with its source text.

The English translation keeps each text exactly as the program writes it, so
choosing English never changes a text. Run it after refreshing the .ts files
(cmake --build <builddir> --target vn274core_lupdate).
"""
import pathlib
import xml.etree.ElementTree as ET

ts = pathlib.Path(__file__).with_name("vn274_en.ts")
tree = ET.parse(ts)
filled = 0
for message in tree.getroot().iter("message"):
    translation = message.find("translation")
    if translation.get("type") in ("unfinished", None) and translation.text != message.find("source").text:
        translation.text = message.find("source").text
        translation.attrib.pop("type", None)
        filled += 1

body = ET.tostring(tree.getroot(), encoding="unicode")
ts.write_text('<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n' + body + "\n", encoding="utf-8")
print(f"{ts.name}: {filled} entries filled")
