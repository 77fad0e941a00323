#!/usr/bin/env python3
"""Writes the external glyph metafiles (data/Font/NAME.emf) from tools/glyphs/marks.txt.

Usage: tools/make_glyphs.py [DESCRIPTION] [OUTPUT-FOLDER]
(defaults: tools/glyphs/marks.txt and data/Font beside this tool's folder).

Every glyph becomes an enhanced metafile whose picture frame is the em cell: logical
units 0..1000 mapped through an anisotropic window/viewport onto a 1000-pixel reference
device of 100 mm. Fills use a solid brush with no pen; outlines use a geometric pen with
no brush.
"""
import os
import re
import struct
import sys

CELL = 1000
MM_ANISOTROPIC = 8
WINDING = 2
NULL_PEN = 0x80000008
NULL_BRUSH = 0x80000005
BLACK_PEN = 0x80000007
WHITE_BRUSH = 0x80000000
PS_GEOMETRIC = 0x10000
PS_ENDCAP_ROUND, PS_ENDCAP_FLAT = 0x0, 0x200
PS_JOIN_ROUND, PS_JOIN_MITER = 0x0, 0x2000

EMR = dict(HEADER=1, POLYGON=3, POLYLINE=4, SETWINDOWEXTEX=9, SETVIEWPORTEXTEX=11, EOF=14,
           SETMAPMODE=17, SETPOLYFILLMODE=19, MOVETOEX=27, SELECTOBJECT=37,
           CREATEBRUSHINDIRECT=39, DELETEOBJECT=40, ELLIPSE=42, RECTANGLE=43, ROUNDRECT=44,
           LINETO=54, BEGINPATH=59, ENDPATH=60, CLOSEFIGURE=61, FILLPATH=62, STROKEPATH=64,
           POLYBEZIERTO16=88, POLYGON16=86, EXTCREATEPEN=95)


def record(kind, payload=b""):
    return struct.pack("<II", EMR[kind], 8 + len(payload)) + payload


def rectl(l, t, r, b):
    return struct.pack("<iiii", int(l), int(t), int(r), int(b))


class Metafile:
    def __init__(self):
        self.records = []
        self.bounds = [CELL, CELL, 0, 0]

    def touch(self, x, y, pad=0):
        b = self.bounds
        b[0], b[1] = min(b[0], x - pad), min(b[1], y - pad)
        b[2], b[3] = max(b[2], x + pad), max(b[3], y + pad)

    def add(self, kind, payload=b""):
        self.records.append(record(kind, payload))

    def brush(self):
        self.add("CREATEBRUSHINDIRECT", struct.pack("<IIII", 1, 0, 0x000000, 0))
        self.add("SELECTOBJECT", struct.pack("<I", 1))
        self.add("SELECTOBJECT", struct.pack("<I", NULL_PEN))

    def pen(self, width, style):
        pen = struct.pack("<IIIIII", PS_GEOMETRIC | style, int(width), 0, 0x000000, 0, 0)
        self.add("EXTCREATEPEN", struct.pack("<IIIII", 2, 0, 0, 0, 0) + pen)
        self.add("SELECTOBJECT", struct.pack("<I", 2))
        self.add("SELECTOBJECT", struct.pack("<I", NULL_BRUSH))

    def done_with(self, handle):
        self.add("SELECTOBJECT", struct.pack("<I", BLACK_PEN))
        self.add("SELECTOBJECT", struct.pack("<I", WHITE_BRUSH))
        self.add("DELETEOBJECT", struct.pack("<I", handle))

    def path(self, d, pad=0):
        """Path records for D (absolute M, L, C, Z)."""
        tokens = re.findall(r"[MLCZ]|-?\d+(?:\.\d+)?", d)
        self.add("BEGINPATH")
        i = 0
        while i < len(tokens):
            op = tokens[i]
            i += 1
            if op == "Z":
                self.add("CLOSEFIGURE")
                continue
            n = {"M": 2, "L": 2, "C": 6}[op]
            v = [int(round(float(t))) for t in tokens[i:i + n]]
            i += n
            for k in range(0, n, 2):
                self.touch(v[k], v[k + 1], pad)
            if op == "M":
                self.add("MOVETOEX", struct.pack("<ii", *v))
            elif op == "L":
                self.add("LINETO", struct.pack("<ii", *v))
            else:
                self.add("POLYBEZIERTO16", rectl(0, 0, 0, 0) + struct.pack("<I", 3) +
                         struct.pack("<6h", *v))
        self.add("ENDPATH")

    def command(self, words, mirror):
        def X(x):
            return CELL - x if mirror else x

        what = " ".join(words[:2]) if words[0] in ("fill", "stroke") else words[0]
        args = words[2:] if words[0] in ("fill", "stroke") else words[1:]
        if what == "fill ellipse":
            cx, cy, rx, ry = map(float, args)
            self.brush()
            box = (X(cx) - rx, cy - ry, X(cx) + rx, cy + ry)
            self.touch(box[0], box[1]); self.touch(box[2], box[3])
            self.add("ELLIPSE", rectl(*box))
            self.done_with(1)
        elif what == "ring":
            cx, cy, r, w = map(float, args)
            self.pen(w, PS_ENDCAP_ROUND | PS_JOIN_ROUND)
            box = (X(cx) - r, cy - r, X(cx) + r, cy + r)
            self.touch(box[0], box[1], w / 2); self.touch(box[2], box[3], w / 2)
            self.add("ELLIPSE", rectl(*box))
            self.done_with(2)
        elif what in ("fill polygon", "stroke polygon"):
            width = float(args.pop(0)) if what == "stroke polygon" else 0
            pts = [tuple(int(round(float(c))) for c in a.split(",")) for a in args]
            pts = [(int(X(x)), y) for x, y in pts]
            for x, y in pts:
                self.touch(x, y, width / 2)
            if width:
                self.pen(width, PS_ENDCAP_FLAT | PS_JOIN_MITER)
                payload = rectl(0, 0, 0, 0) + struct.pack("<I", len(pts))
                payload += b"".join(struct.pack("<ii", *p) for p in pts)
                self.add("POLYGON", payload)
                self.done_with(2)
            else:
                self.brush()
                payload = rectl(0, 0, 0, 0) + struct.pack("<I", len(pts))
                payload += b"".join(struct.pack("<hh", *p) for p in pts)
                self.add("POLYGON16", payload)
                self.done_with(1)
        elif what in ("fill rect", "fill roundrect"):
            l, t, r, b = map(float, args[:4])
            l, r = sorted((X(l), X(r)))
            self.touch(l, t); self.touch(r, b)
            self.brush()
            if what == "fill rect":
                self.add("RECTANGLE", rectl(l, t, r, b))
            else:
                self.add("ROUNDRECT", rectl(l, t, r, b) + struct.pack("<ii", *map(int, args[4:6])))
            self.done_with(1)
        elif what in ("fill path", "stroke path"):
            width = float(args.pop(0)) if what == "stroke path" else 0
            d = " ".join(args)
            if mirror:
                d = mirror_path(d)
            if width:
                self.pen(width, PS_ENDCAP_ROUND | PS_JOIN_ROUND)
                self.path(d, width / 2)
                self.add("STROKEPATH", rectl(0, 0, 0, 0))
                self.done_with(2)
            else:
                self.brush()
                self.path(d)
                self.add("FILLPATH", rectl(0, 0, 0, 0))
                self.done_with(1)
        else:
            raise ValueError("unknown command: " + " ".join(words))

    def bytes(self):
        prologue = [
            record("SETMAPMODE", struct.pack("<I", MM_ANISOTROPIC)),
            record("SETWINDOWEXTEX", struct.pack("<ii", CELL, CELL)),
            record("SETVIEWPORTEXTEX", struct.pack("<ii", CELL, CELL)),
            record("SETPOLYFILLMODE", struct.pack("<I", WINDING)),
        ]
        eof = record("EOF", struct.pack("<III", 0, 16, 20))
        body = b"".join(prologue + self.records) + eof
        count = len(prologue) + len(self.records) + 2
        b = [max(0, min(CELL - 1, int(v))) for v in self.bounds]
        header = rectl(*b) + rectl(0, 0, CELL * 10, CELL * 10)
        header += struct.pack("<IIIIHHIIIiiii", 0x464D4520, 0x10000, 88 + len(body), count, 3, 0,
                              0, 0, 0, CELL, CELL, 100, 100)
        return record("HEADER", header) + body


def mirror_path(d):
    out, tokens, i = [], re.findall(r"[MLCZ]|-?\d+(?:\.\d+)?", d), 0
    while i < len(tokens):
        op = tokens[i]
        out.append(op)
        i += 1
        n = {"M": 2, "L": 2, "C": 6, "Z": 0}[op]
        for k in range(n):
            v = float(tokens[i + k])
            out.append(str(CELL - v if k % 2 == 0 else v))
        i += n
    return " ".join(out)


def parse(text):
    glyphs, order, current = {}, [], None
    for raw in text.splitlines():
        line = raw.split("#", 1)[0].strip()
        if not line:
            continue
        words = line.split()
        if words[0] == "glyph":
            current = words[1]
            glyphs[current] = []
            order.append(current)
        elif current is None:
            raise ValueError("command outside a glyph: " + line)
        else:
            glyphs[current].append(words)
    return glyphs, order


def build(name, glyphs, mirror=False, depth=0):
    if depth > 4:
        raise ValueError("mirror chain too deep at " + name)
    mf = Metafile()
    for words in glyphs[name]:
        if words[0] == "mirror":
            inner = build(words[1], glyphs, not mirror, depth + 1)
            mf.records += inner.records
            mf.bounds = [min(mf.bounds[0], inner.bounds[0]), min(mf.bounds[1], inner.bounds[1]),
                         max(mf.bounds[2], inner.bounds[2]), max(mf.bounds[3], inner.bounds[3])]
        else:
            mf.command(list(words), mirror)
    return mf


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    source = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "glyphs", "marks.txt")
    folder = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "data", "Font")
    with open(source, encoding="utf-8") as f:
        glyphs, order = parse(f.read())
    os.makedirs(folder, exist_ok=True)
    for name in order:
        with open(os.path.join(folder, name + ".emf"), "wb") as f:
            f.write(build(name, glyphs).bytes())
    print("%d glyphs written to %s" % (len(order), os.path.normpath(folder)))


if __name__ == "__main__":
    main()
