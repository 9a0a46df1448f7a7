#!/usr/bin/python3
"""Writes the program's own pictures: SVG icons and cursors, the PNG background tile, and the Qt
resource file that lists them. Run from anywhere; the output goes to src/resources/.

    /usr/bin/python3 tools/make_pictures.py

Every picture is drawn here from simple shapes on a 32-unit grid (48 for the one large icon), so the
set stays consistent: the same tick, cross, bin and sheet appear wherever the meaning is the same.
Button faces come in three variants made from one drawing: the normal face, the pressed face (one
unit down and right, a little darker) and the disabled face (pale grey).
"""

import os
import random
import struct
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "src", "resources")
PICS = os.path.join(OUT, "pictures")

# --------------------------------------------------------------------------------------------------
# colour variants


def _rgb(h):
    h = h.lstrip("#")
    return int(h[0:2], 16), int(h[2:4], 16), int(h[4:6], 16)


def _hex(r, g, b):
    return "#%02x%02x%02x" % (max(0, min(255, int(r))), max(0, min(255, int(g))), max(0, min(255, int(b))))


def normal(c):
    return c


def darker(c):
    if c in ("none",):
        return c
    r, g, b = _rgb(c)
    return _hex(r * 0.82, g * 0.82, b * 0.82)


def greyed(c):
    if c in ("none",):
        return c
    r, g, b = _rgb(c)
    lum = 0.3 * r + 0.59 * g + 0.11 * b
    v = 120 + lum * 0.42  # pale greys between 120 and 227
    return _hex(v, v, v)


def black(c):
    return "none" if c == "none" else "#000000"


# --------------------------------------------------------------------------------------------------
# shapes; every function takes the colour mapper C first


def rect(C, x, y, w, h, fill, stroke=None, sw=1.0, rx=0):
    s = f' stroke="{C(stroke)}" stroke-width="{sw}"' if stroke else ""
    return f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="{rx}" fill="{C(fill)}"{s}/>'


def circle(C, cx, cy, r, fill, stroke=None, sw=1.0):
    s = f' stroke="{C(stroke)}" stroke-width="{sw}"' if stroke else ""
    return f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{C(fill)}"{s}/>'


def path(C, d, stroke=None, sw=2.0, fill="none", join="round"):
    s = f' stroke="{C(stroke)}" stroke-width="{sw}" stroke-linecap="round" stroke-linejoin="{join}"' if stroke else ""
    return f'<path d="{d}" fill="{C(fill) if fill != "none" else "none"}"{s}/>'


def poly(C, pts, fill, stroke=None, sw=1.0):
    p = " ".join(f"{x},{y}" for x, y in pts)
    s = f' stroke="{C(stroke)}" stroke-width="{sw}" stroke-linejoin="round"' if stroke else ""
    return f'<polygon points="{p}" fill="{C(fill)}"{s}/>'


def group(body, dx=0, dy=0, scale=1.0, opacity=None):
    t = []
    if dx or dy:
        t.append(f"translate({dx},{dy})")
    if scale != 1.0:
        t.append(f"scale({scale})")
    a = f' transform="{" ".join(t)}"' if t else ""
    o = f' opacity="{opacity}"' if opacity is not None else ""
    return f"<g{a}{o}>{body}</g>"


def shadowed(motif):
    """A motif with a soft grey copy behind it, down and to the right."""
    def draw(C):
        return group(motif(black), 1.5, 1.5, opacity=0.3) + motif(C)
    return draw


# --- marks


def tick(colour, w=4.5):
    return lambda C: path(C, "M7 17 L13 23 L25 9", colour, w)


def cross(colour, w=4.5):
    return lambda C: path(C, "M9 9 L23 23 M23 9 L9 23", colour, w)


def question(colour):
    return lambda C: (path(C, "M11 11.5 A5.2 5.2 0 1 1 18.5 16 C16.5 17.2 16 18.3 16 20.5", colour, 4)
                      + circle(C, 16, 26, 2.4, colour))


def arrow(direction, colour, outline=None):
    base = [(16, 4), (27, 15), (20, 15), (20, 28), (12, 28), (12, 15), (5, 15)]  # pointing up
    rot = {"up": lambda x, y: (x, y), "down": lambda x, y: (x, 32 - y),
           "left": lambda x, y: (y, x), "right": lambda x, y: (32 - y, x)}[direction]
    pts = [rot(x, y) for x, y in base]
    return lambda C: poly(C, pts, colour, outline or darker(colour), 1.2)


def plus(colour):
    return lambda C: path(C, "M16 6 V26 M6 16 H26", colour, 6, join="miter")


# --- objects


def sheet(paper="#ffffff", lines="#7f8c9a", x=7, y=3, w=18, h=26):
    def draw(C):
        fold = 6
        body = poly(C, [(x, y), (x + w - fold, y), (x + w, y + fold), (x + w, y + h), (x, y + h)],
                    paper, "#56606b", 1.2)
        body += poly(C, [(x + w - fold, y), (x + w - fold, y + fold), (x + w, y + fold)], "#d4dbe3", "#56606b", 1)
        for i in range(4):
            ly = y + 9 + i * 4
            body += path(C, f"M{x + 3} {ly} H{x + w - 4}", lines, 1.4)
        return body
    return draw


def lightning(colour, outline="#1b1b1b"):
    return lambda C: poly(C, [(19, 2), (8, 18), (15, 18), (11, 30), (25, 12), (18, 12), (22, 2)],
                          colour, outline, 1.1)


def magnifier(glass="#cfe8ff", rim="#3a4f66"):
    return lambda C: (path(C, "M19 19 L28 28", "#6b4a2b", 5) + circle(C, 13, 13, 9, glass, rim, 3))


def waste_bin(body_c="#8fa3b0", lid_open=False):
    def draw(C):
        s = poly(C, [(8, 10), (24, 10), (22, 29), (10, 29)], body_c, "#3d4a52", 1.4)
        for x in (12.5, 16, 19.5):
            s += path(C, f"M{x} 13 V26", "#3d4a52", 1.4)
        if lid_open:
            s += group(rect(C, 6, 6, 20, 3, body_c, "#3d4a52", 1.2) + rect(C, 13, 3.5, 6, 3, body_c, "#3d4a52", 1), 0, 0)
            s = s.replace('<g>', '<g transform="rotate(-18 6 9)">', 1)
        else:
            s += rect(C, 6, 6, 20, 3, body_c, "#3d4a52", 1.2) + rect(C, 13, 3.5, 6, 3, body_c, "#3d4a52", 1)
        return s
    return draw


def checkbox(x, y, ticked, frame="#2f5d8a"):
    def draw(C):
        s = rect(C, x, y, 13, 11, "#ffffff", frame, 1.6, 1.5)
        if ticked:
            s += path(C, f"M{x + 2.5} {y + 5.5} L{x + 5.5} {y + 8.5} L{x + 11} {y + 2}", "#1f9a3a", 2.4)
        return s
    return draw


def two_boxes(ticked):
    def draw(C):
        return (checkbox(4, 4, ticked)(C) + path(C, "M20 9.5 H29", "#55606a", 2)
                + checkbox(4, 17, ticked)(C) + path(C, "M20 22.5 H29", "#55606a", 2))
    return draw


def tree_play(play_colour):
    def draw(C):
        s = path(C, "M7 8 V24 M7 14 H13 M7 24 H13", "#4a5560", 1.8)
        s += rect(C, 3, 3, 8, 6, "#3d79c2", "#24486f", 1)
        s += rect(C, 12, 11, 7, 6, "#e8b341", "#8a6a1e", 1)
        s += rect(C, 12, 21, 7, 6, "#e8b341", "#8a6a1e", 1)
        s += poly(C, [(17, 9), (30, 18), (17, 27)], play_colour, "#202020", 1.3)
        return s
    return draw


def house(C, x, y, s, wall="#e9d2a6", roof="#b5412e"):
    return (poly(C, [(x, y + s * 0.45), (x + s / 2, y), (x + s, y + s * 0.45)], roof, "#5b2016", 1)
            + rect(C, x + s * 0.12, y + s * 0.45, s * 0.76, s * 0.55, wall, "#6b5430", 1)
            + rect(C, x + s * 0.42, y + s * 0.68, s * 0.18, s * 0.32, "#7a4a24"))


def crate(C, x, y, s, wood="#c98d47"):
    return (rect(C, x, y, s, s, wood, "#6e4519", 1)
            + path(C, f"M{x} {y} L{x + s} {y + s} M{x + s} {y} L{x} {y + s}", "#6e4519", 0.9))


def pencil(C, x1, y1, x2, y2):
    return (path(C, f"M{x1} {y1} L{x2} {y2}", "#f2b632", 4.2, join="miter")
            + path(C, f"M{x1} {y1} L{x2} {y2}", "#b77b12", 0.8)
            + circle(C, x2, y2, 1.3, "#333333"))


def cube(C, x, y, s, top="#8fc0ea", left="#4f8fcb", right="#2f6aa5"):
    h = s / 2
    return (poly(C, [(x, y + h / 2), (x + h, y), (x + s, y + h / 2), (x + h, y + h)], top, "#1e3f63", 0.8)
            + poly(C, [(x, y + h / 2), (x + h, y + h), (x + h, y + s), (x, y + s - h / 2)], left, "#1e3f63", 0.8)
            + poly(C, [(x + h, y + h), (x + s, y + h / 2), (x + s, y + s - h / 2), (x + h, y + s)], right, "#1e3f63", 0.8))


def calculator(C, x, y, w, h):
    s = rect(C, x, y, w, h, "#5d6975", "#262d33", 1, 1.5) + rect(C, x + 2, y + 2, w - 4, h * 0.22, "#c8f0c8")
    bw = (w - 4 - 2) / 3
    for r in range(3):
        for c in range(3):
            s += rect(C, x + 2 + c * (bw + 1), y + 3 + h * 0.25 + r * (bw + 0.8), bw, bw * 0.8, "#e8e8e8")
    return s


def blocks_stack(colour, dark):
    def draw(C):
        s = ""
        for (x, y) in [(3, 20), (12, 20), (21, 20), (7, 12), (16, 12), (11.5, 4)]:
            s += rect(C, x, y, 8, 8, colour, dark, 1.1, 1)
            s += path(C, f"M{x + 1.5} {y + 2} H{x + 6}", "#ffffff", 1)
        return s
    return draw


def disk(C):
    return (rect(C, 4, 4, 24, 24, "#2f5fa8", "#132c52", 1.4, 2)
            + rect(C, 9, 4, 14, 9, "#d9dee5", "#132c52", 1)
            + rect(C, 18, 5.5, 3, 6, "#2f5fa8")
            + rect(C, 8, 17, 16, 11, "#ffffff", "#132c52", 1)
            + path(C, "M10.5 21 H21.5 M10.5 24.5 H21.5", "#8a96a6", 1.2))


def printer(C):
    return (rect(C, 9, 3, 14, 9, "#ffffff", "#444444", 1.3)
            + rect(C, 3, 11, 26, 12, "#7b8690", "#2b3136", 1.4, 2)
            + circle(C, 24, 15, 1.5, "#4cd06b")
            + rect(C, 8, 19, 16, 10, "#ffffff", "#444444", 1.3)
            + path(C, "M11 23 H21 M11 26 H19", "#8a8a8a", 1.2))


def door(C):
    return (rect(C, 7, 3, 18, 26, "#8b5a2b", "#3e2610", 1.5)
            + rect(C, 10, 6, 12, 9, "#a8703c", "#3e2610", 0.8)
            + rect(C, 10, 17, 12, 9, "#a8703c", "#3e2610", 0.8)
            + circle(C, 21, 17, 1.6, "#f0c040", "#7a5a00", 0.6))


def cow(C):
    return (path(C, "M7 8 C4 6 3 4 4 2 M25 8 C28 6 29 4 28 2", "#e8e0c8", 2.5)
            + poly(C, [(6, 11), (3, 9), (2, 12), (7, 14)], "#ffffff", "#333333", 1)
            + poly(C, [(26, 11), (29, 9), (30, 12), (25, 14)], "#ffffff", "#333333", 1)
            + path(C, "M8 8 C8 5 24 5 24 8 L23 20 C23 22 9 22 9 20 Z", "#333333", 1.3, fill="#ffffff")
            + path(C, "M11 7 C14 6 15 10 12 13 C10 12 9 9 11 7 Z", fill="#333333")
            + path(C, "M8 19 C8 25 24 25 24 19 C24 16 8 16 8 19 Z", "#333333", 1.3, fill="#f3b3b8")
            + circle(C, 13, 21, 1.3, "#5a2a2a") + circle(C, 19, 21, 1.3, "#5a2a2a")
            + circle(C, 12, 14, 1.3, "#111111") + circle(C, 20, 14, 1.3, "#111111"))


def sack(C, x, y, s, cloth="#d9b77a"):
    k = s / 24
    return (path(C, f"M{x + 8 * k} {y + 4 * k} L{x + 16 * k} {y + 4 * k} L{x + 14 * k} {y + 7 * k} "
                    f"C{x + 23 * k} {y + 11 * k} {x + 24 * k} {y + 24 * k} {x + 12 * k} {y + 24 * k} "
                    f"C{x} {y + 24 * k} {x + 1 * k} {y + 11 * k} {x + 10 * k} {y + 7 * k} Z",
                 "#6b4f1d", 1.2, fill=cloth)
            + path(C, f"M{x + 9 * k} {y + 7 * k} H{x + 15 * k}", "#6b4f1d", 1.4))


def pie(C):
    return (circle(C, 16, 16, 12, "#4f8fcb", "#1e3f63", 1.2)
            + path(C, "M16 16 L16 4 A12 12 0 0 1 27.4 19.7 Z", "#1e3f63", 1.2, fill="#f0b429")
            + path(C, "M16 16 L27.4 19.7 A12 12 0 0 1 10 26.4 Z", "#1e3f63", 1.2, fill="#48b05a"))


def flask(C):
    return (path(C, "M12 3 H20 M13.5 3 V12 L5 27 C4.5 28.5 5.5 29 7 29 H25 C26.5 29 27.5 28.5 27 27 L18.5 12 V3",
                 "#3a4f66", 1.6, fill="#eef6fb")
            + path(C, "M9 21 H23 L26 27 C26 28 25.5 28 25 28 H7 C6.5 28 6 28 6 27 Z", fill="#5cb85c")
            + circle(C, 14, 24, 1.4, "#ffffff") + circle(C, 19, 25.5, 1, "#ffffff"))


def grid(C, x, y, n, cell, fill="#ffffff", line="#5a6b7c", head="#cfe0f3"):
    s = rect(C, x, y, n * cell, n * cell, fill, line, 1.2)
    s += rect(C, x, y, n * cell, cell, head) + rect(C, x, y, cell, n * cell, head)
    for i in range(1, n):
        s += path(C, f"M{x + i * cell} {y} V{y + n * cell} M{x} {y + i * cell} H{x + n * cell}", line, 1)
    return s + rect(C, x, y, n * cell, n * cell, "none", line, 1.2)


def bars_chart(C):
    return (path(C, "M4 4 V28 H29", "#333333", 1.8)
            + rect(C, 7, 18, 5, 9, "#4f8fcb") + rect(C, 14, 12, 5, 15, "#48b05a") + rect(C, 21, 7, 5, 20, "#f0b429"))


def coin(C, cx, cy, r):
    return circle(C, cx, cy, r, "#f2c230", "#8a6a00", 1.3) + path(C, f"M{cx} {cy - r * 0.55} V{cy + r * 0.55}", "#8a6a00", 1.6)


def notepad(cover="#2e9a4a"):
    def draw(C):
        s = rect(C, 6, 5, 21, 25, cover, "#15502a", 1.4, 1.5)
        s += rect(C, 9, 8, 15, 19, "#f7fff7", "#15502a", 0.8)
        for i in range(4):
            s += path(C, f"M11 {12 + i * 4} H22", "#7aa88a", 1.3)
        for x in (10, 15, 20):
            s += path(C, f"M{x} 3 V8", "#444444", 1.8)
        return s
    return draw


def report_pad_motif(C):
    """A ruled report sheet on a spiral pad with a pencil across it."""
    s = rect(C, 5, 6, 32, 38, "#2f6aa5", "#1e3f63", 1.6, 2)
    s += rect(C, 8, 9, 26, 32, "#ffffff", "#1e3f63", 1)
    s += rect(C, 8, 9, 26, 5, "#dfe8f3", "#1e3f63", 0.8)
    for i in range(6):
        width = 18 if i % 3 == 2 else 22
        s += path(C, f"M11 {19 + i * 4} H{11 + width}", "#7f8c9a", 1.4)
    for x in (11, 17, 23, 29):
        s += path(C, f"M{x} 3 V10", "#444444", 2)
    s += pencil(C, 43, 15, 24, 40)
    return s


def spider(colour):
    def draw(C):
        s = ""
        for side in (-1, 1):
            for i, (ky, fy) in enumerate([(9, 4), (13, 10), (17, 20), (20, 27)]):
                kx = 16 + side * 9
                fx = 16 + side * (14 - abs(i - 1.5))
                s += path(C, f"M16 {15 + i * 1.2} L{kx} {ky} L{fx} {fy}", colour, 1.6)
        s += circle(C, 16, 20, 6, colour) + circle(C, 16, 12, 4, colour)
        s += circle(C, 14.5, 11, 0.9, "#ffffff") + circle(C, 17.5, 11, 0.9, "#ffffff")
        return s
    return draw


def carpet(C):
    s = rect(C, 4, 5, 24, 22, "#9b2335", "#4f0d18", 1.2) + rect(C, 7, 8, 18, 16, "#e4b363", "#4f0d18", 0.8)
    s += poly(C, [(16, 10), (22, 16), (16, 22), (10, 16)], "#2c5f8a", "#4f0d18", 0.8)
    s += poly(C, [(16, 13), (19, 16), (16, 19), (13, 16)], "#9b2335")
    for y in (5, 27):
        for x in range(5, 28, 3):
            s += path(C, f"M{x} {y} V{y + (-2 if y == 5 else 2)}", "#4f0d18", 0.8)
    return s


def carrot(C):
    return (path(C, "M16 9 C11 4 9 5 8 3 M16 9 C16 3 18 2 19 1 M16 9 C20 5 24 5 25 4", "#2f8f2f", 2.2)
            + poly(C, [(10, 9), (22, 9), (17, 30), (15, 30)], "#f08a24", "#a4520e", 1.2)
            + path(C, "M12 13 H15 M14 18 H17 M15 23 H17", "#a4520e", 1.1))


def pocket_knife(C):
    return (path(C, "M5 22 L22 8 C25 6 28 7 27 10 L11 26 Z", "#6b7b8a", 1.2, fill="#e3e8ee")
            + path(C, "M4 24 L12 17 L17 22 L10 29 C8 30 5 29 4 27 Z", "#5b0f0f", 1.2, fill="#c0392b")
            + path(C, "M7.5 25.5 L10 23 M9.5 27 L12 24.5", "#ffffff", 1.3))


def key_on_cyan(C):
    return (rect(C, 1, 1, 30, 30, "#5fd3e0", "#1d7f8a", 1, 3)
            + circle(C, 10, 9, 5, "#d93025", "#6d120c", 1.2) + circle(C, 10, 9, 1.8, "#5fd3e0")
            + path(C, "M14 11 L26 15 M22 13.6 L21 17 M25 14.8 L24 18", "#d93025", 2.6)
            + rect(C, 6, 18, 20, 11, "#ffffff", "#333333", 1.2, 1.5)
            + path(C, "M13.5 21.5 A2.5 2.5 0 1 1 17 24 C16 24.5 16 25 16 26", "#1a3c9a", 1.6)
            + circle(C, 16, 27.3, 0.8, "#1a3c9a"))


def wheel_emblem(C, cx=16, cy=16, r=12):
    cols = ["#d93025", "#f0b429", "#48b05a", "#2f7fd0", "#8e44ad", "#16a3b5"]
    import math
    s = ""
    for i, col in enumerate(cols):
        a0 = math.radians(i * 60 - 90)
        a1 = math.radians((i + 1) * 60 - 90)
        x0, y0 = cx + r * math.cos(a0), cy + r * math.sin(a0)
        x1, y1 = cx + r * math.cos(a1), cy + r * math.sin(a1)
        s += path(C, f"M{cx} {cy} L{x0:.2f} {y0:.2f} A{r} {r} 0 0 1 {x1:.2f} {y1:.2f} Z", fill=col)
    s += circle(C, cx, cy, r, "none", "#1b2a3a", 1.4) + circle(C, cx, cy, r * 0.3, "#ffffff", "#1b2a3a", 1.2)
    return s


def swoosh(C):
    return (path(C, "M25 6 C14 2 5 8 11 14 C16 19 24 15 21 23 C18 30 8 28 6 25", "#1e5aa8", 6)
            + path(C, "M25 6 C14 2 5 8 11 14 C16 19 24 15 21 23 C18 30 8 28 6 25", "#f0b429", 2.6))


def factory_scene(C):
    s = rect(C, 0, 0, 48, 48, "#e9f3fc")
    s += rect(C, 3, 4, 42, 13, "#1e5aa8", "#0d2f5c", 1.2, 2)
    s += path(C, "M9 10.5 H39", "#ffffff", 2.4)
    s += path(C, "M9 14 H30", "#f0b429", 1.6)
    s += path(C, "M3 44 V30 L10 25 V30 L17 25 V30 L24 25 V44 Z", "#1b1b1b", 1, fill="#9aa7b3")
    s += rect(C, 19, 19, 3.5, 8, "#6b7785", "#1b1b1b", 0.8)
    for x in (6, 12, 18):
        s += rect(C, x, 35, 3.5, 3.5, "#f7e27a", "#1b1b1b", 0.6)
    s += house(C, 27, 24, 18)
    s += path(C, "M0 44.5 H48", "#4c8a3c", 2.5)
    return s


# --------------------------------------------------------------------------------------------------
# the picture table


def svg(body_fn, size, variant=normal, view=32, shift=False):
    body = body_fn(variant)
    if shift:
        body = group(body, 1, 1)
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" '
            f'viewBox="0 0 {view} {view}">{body}</svg>\n')


PICTURES = {}  # name -> svg text


def single(name, motif, size=32, view=32, variant=normal):
    PICTURES[name.upper()] = svg(motif, size, variant, view)


def faces(up, down, disabled, motif, size):
    """A normal face and, when named, its pressed and disabled faces."""
    PICTURES[up.upper()] = svg(motif, size)
    if down:
        PICTURES[down.upper()] = svg(motif, size, darker, shift=True)
    if disabled:
        PICTURES[disabled.upper()] = svg(motif, size, greyed)


def ok_motif(C):
    return circle(C, 16, 16, 13.5, "#e8f7ea", "#1f8a3a", 1.6) + tick("#1f9a3a", 4.5)(C)


def no_motif(C):
    return (circle(C, 16, 16, 12.5, "#ffffff", "#c62828", 4) + path(C, "M8 24 L24 8", "#c62828", 4))


def todo_motif(C):
    return (rect(C, 6, 5, 20, 25, "#f4e3c1", "#7a5a2a", 1.4, 2) + rect(C, 12, 3, 8, 5, "#9aa7b3", "#3d4a52", 1, 1)
            + checkbox(9, 11, True)(C).replace('width="13" height="11"', 'width="7" height="6"')
            + path(C, "M10 22 H22 M10 26 H19", "#7a5a2a", 1.4) + path(C, "M18 14 H23", "#7a5a2a", 1.4))


def interpol_motif(C):
    return (path(C, "M4 24 C6 8 24 6 26 20", "#1e5aa8", 3.6) + poly(C, [(21, 18), (30, 17), (26, 26)], "#1e5aa8")
            + rect(C, 2, 25, 6, 5, "#9aa7b3") + rect(C, 22, 25, 6, 5, "#9aa7b3"))


def formula_motif(C):
    return (sheet()(C) + path(C, "M19 12 C16 11 15 12 14.5 15 L13 25 C12.5 27 11 28 9 27 M11.5 17 H18", "#b5412e", 2.2))


def col_arith_motif(C):
    return (rect(C, 3, 3, 11, 26, "#ffffff", "#5a6b7c", 1.4) + rect(C, 3, 3, 11, 6, "#cfe0f3", "#5a6b7c", 1.2)
            + path(C, "M20 10 H30 M25 5 V15", "#1f8a3a", 3) + path(C, "M20 23 H30", "#c62828", 3))


def insert_motif(C):
    return (rect(C, 10, 3, 19, 7, "#ffffff", "#5a6b7c", 1.2) + rect(C, 10, 22, 19, 7, "#ffffff", "#5a6b7c", 1.2)
            + rect(C, 12, 12.5, 17, 7, "#fff3b0", "#b08a00", 1.2)
            + poly(C, [(2, 11), (10, 16), (2, 21)], "#8b1a1a"))


def calc_motif(C):
    return calculator(C, 6, 2, 20, 28)


def stock_motif(C):
    return crate(C, 3, 16, 12) + crate(C, 17, 16, 12) + crate(C, 10, 4, 12)


def run_motif(C):
    return circle(C, 16, 16, 14, "#e8f7ea", "#1f8a3a", 1.6) + poly(C, [(12, 8), (25, 16), (12, 24)], "#1f9a3a", "#0f5a22", 1.2)


def report_motif(C):
    return (sheet()(C) + path(C, "M22 18 V29", "#1e5aa8", 3) + poly(C, [(16.5, 24), (27.5, 24), (22, 31)], "#1e5aa8"))


def matrix_turn_motif(C):
    return (grid(C, 3, 3, 4, 5.5) + path(C, "M26 10 C31 15 30 24 22 28", "#d2691e", 2.6)
            + poly(C, [(19, 24), (25, 31), (25, 24)], "#d2691e"))


def ratio_motif(C):
    return (circle(C, 9, 9, 5, "#f0b429", "#8a6a00", 1.4) + circle(C, 23, 23, 5, "#4f8fcb", "#1e3f63", 1.4)
            + path(C, "M26 4 L6 28", "#333333", 3))


def group_motif(C):
    return (rect(C, 3, 15, 12, 12, "#48b05a", "#1f5a2a", 1.3, 1.5) + rect(C, 17, 15, 12, 12, "#48b05a", "#1f5a2a", 1.3, 1.5)
            + rect(C, 10, 3, 12, 12, "#48b05a", "#1f5a2a", 1.3, 1.5))


def group_define_motif(C):
    return (rect(C, 2, 15, 10, 10, "#48b05a", "#1f5a2a", 1.2, 1.5) + rect(C, 13, 15, 10, 10, "#48b05a", "#1f5a2a", 1.2, 1.5)
            + rect(C, 7.5, 4, 10, 10, "#48b05a", "#1f5a2a", 1.2, 1.5)
            + path(C, "M19 22 L23 27 L30 16", "#1e5aa8", 3.2))


def econ_motif(C):
    return bars_chart(C) + coin(C, 24, 9, 6)


def similar_motif(C):
    return sack(C, 1, 6, 18) + sack(C, 13, 6, 18, "#c9a464") + path(C, "M11 28 C13 26.5 15 29.5 17 28 M11 31 C13 29.5 15 32.5 17 31", "#1e5aa8", 1.6)


def bin_cross_motif(C):
    return waste_bin()(C) + path(C, "M17 17 L29 29 M29 17 L17 29", "#c62828", 3.4)


def nutrient_view_motif(C):
    return flask(C)


def contrib_motif(C):
    return pie(C)


def light_bulb(C):
    import math
    s = ""
    for i in range(8):
        if i == 2:
            continue  # no ray into the base
        a = math.radians(45 * i + 90)
        s += path(C, f"M{16 + 10 * math.cos(a):.2f} {12 + 10 * math.sin(a):.2f} L{16 + 12.5 * math.cos(a):.2f} {12 + 12.5 * math.sin(a):.2f}",
                  "#e6aa00", 1.2)
    s += path(C, "M12.5 20.5 C9 18 8 15.5 8 12 A8 8 0 0 1 24 12 C24 15.5 23 18 19.5 20.5 Z", "#966e00", 0.8, fill="#ffe650")
    s += circle(C, 13.5, 9.5, 2.6, "#fffbe0")
    for i in range(3):
        s += rect(C, 12, 21 + 2.5 * i, 8, 2.5, "#9696a0", "#50505a", 0.8, 1)
    return s + rect(C, 14, 28.2, 4, 2.5, "#3c3c46", None, 0, 1.2)


def padlock(opened):
    def draw(C):
        shackle = "M15.5 14 V6 A5.5 5.5 0 0 1 26.5 6 V9" if opened else "M10.5 14 V9.5 A5.5 5.5 0 0 1 21.5 9.5 V14"
        return (path(C, shackle, "#5a5a5a", 3)
                + rect(C, 5, 14, 22, 16, "#3cA03c" if opened else "#c8a028", "#5a4a10" if not opened else "#1f5a2a", 1.2, 2.5)
                + circle(C, 16, 20.5, 2.4, "#2b2b2b") + rect(C, 15, 21, 2, 5, "#2b2b2b"))
    return draw


def splash_scene():
    """The start-up picture, 504 x 378: a field under a green sky, a ring of grains and the name."""
    import math
    s = ('<defs><linearGradient id="sky" x1="0" y1="0" x2="0" y2="1">'
         '<stop offset="0" stop-color="#164a3e"/><stop offset="1" stop-color="#3c825a"/></linearGradient></defs>')
    s += '<rect x="0" y="0" width="504" height="378" fill="url(#sky)"/>'
    s += '<path d="M0 300 C160 270 340 330 504 290 L504 378 L0 378 Z" fill="#c4a850" fill-opacity="0.8"/>'
    cols = ["#ecc454", "#c48c3c", "#96be50", "#e6a05a", "#d2d278"]
    for i in range(15):
        a = i * 2 * math.pi / 15
        x, y = 252 + 62 * math.cos(a), 118 + 62 * math.sin(a)
        s += (f'<ellipse cx="0" cy="0" rx="6" ry="11" fill="{cols[i % 5]}" stroke="#ffffff" stroke-opacity="0.3" '
              f'stroke-width="1.5" transform="translate({x:.2f},{y:.2f}) rotate({math.degrees(a) + 90:.1f})"/>')
    s += '<circle cx="252" cy="118" r="40" fill="#ffffff" fill-opacity="0.16"/>'
    text = 'font-family="DejaVu Sans, Arial, sans-serif" text-anchor="middle"'
    s += f'<text x="255" y="258" {text} font-size="58" font-weight="bold" fill="#000000" fill-opacity="0.35">VEXO_Zud</text>'
    s += f'<text x="252" y="255" {text} font-size="58" font-weight="bold" fill="#ffffff">VEXO_Zud</text>'
    s += f'<text x="252" y="292" {text} font-size="24" fill="#fff0c8">S&#252;r&#252;m 2.6</text>'
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="504" height="378" viewBox="0 0 504 378">'
            + s + '</svg>\n')


def raw_def_motif(C):
    return sack(C, 2, 4, 24) + rect(C, 8, 17, 10, 7, "#ffffff", "#6b4f1d", 1) + path(C, "M10 20.5 H16", "#6b4f1d", 1.2)


def build():
    # icons and the bitmap of the first set
    def aa(C):
        return house(C, 2, 4, 20) + crate(C, 19, 19, 10) + crate(C, 21, 9, 8) + crate(C, 8, 24, 7)
    single("ICON_AA", aa)

    def comptes(C):
        return (rect(C, 16, 3, 14, 18, "#ffffff", "#56606b", 1.2) + path(C, "M18.5 7 H27.5 M18.5 10.5 H27.5 M18.5 14 H24", "#7f8c9a", 1.3)
                + cube(C, 2, 14, 12) + cube(C, 12, 20, 10, "#f3d27a", "#d9a834", "#b4861b") + pencil(C, 29, 17, 20, 29))
    single("ICON_COMPTES", comptes)

    def depense(C):
        s = rect(C, 5, 3, 19, 26, "#2f6aa5", "#173a5e", 1.3, 1.5) + rect(C, 8, 5, 15, 22, "#ffffff", "#173a5e", 0.8)
        for y in range(7, 27, 4):
            s += circle(C, 6, y, 1.3, "#dddddd", "#333333", 0.7)
        for y in range(10, 24, 4):
            s += path(C, f"M11 {y} H20", "#9bb0c6", 1.2)
        return s + pencil(C, 29, 4, 18, 24)
    single("ICON_DEPENSE", depense)

    def new_page(C):
        return (sheet(x=5, y=5, w=18, h=25)(C) + poly(C, [(24, 1), (26, 6), (31, 6), (27, 9.5), (28.5, 15), (24, 12), (19.5, 15), (21, 9.5), (17, 6), (22, 6)],
                                                       "#f5c518", "#8a6a00", 1))
    single("ICON_NEW", new_page, 16)
    single("ICON_RECETTE", blocks_stack("#48b05a", "#1f5a2a"))
    single("HAVUCH", carrot)
    single("MAYMUNCUK", pocket_knife)
    single("SPREDIT", spider("#8b1a1a"))
    single("SPREDITD", spider("#808080"))
    single("HALICO", carpet)
    single("RUNMODE", tree_play("#2fb344"))
    single("RUNMODE2", tree_play("#f5d000"))
    single("RUNMODE3", tree_play("#e0301e"))
    single("RUNMODE4", tree_play("#ffffff"))
    single("SPOROLOG", lambda C: circle(C, 16, 16, 13.5, "#9aa3ab", "#4b535a", 1.6)
           + path(C, "M16 8 V19", "#ffffff", 4.2) + circle(C, 16, 24.5, 2.4, "#ffffff"))
    single("HEPSEC", two_boxes(True))
    single("HEPKAL", two_boxes(False))
    single("OKCVAR", lambda C: circle(C, 16, 16, 13.5, "#1f63c6", "#0d3470", 1.6) + tick("#ffffff", 4.2)(C))
    single("EXIS", lambda C: poly(C, [(11, 3), (21, 3), (29, 11), (29, 21), (21, 29), (11, 29), (3, 21), (3, 11)], "#d62828", "#7a0d0d", 1.4)
           + cross("#ffffff", 4)(C))
    single("VXONEW", lambda C: wheel_emblem(C))
    single("PSWICO", key_on_cyan)
    single("VXOIPTAL", cross("#d62828", 2))
    single("VXOYILDIRIM2", lambda C: rect(C, 1, 1, 30, 30, "#000000", None, 0, 2) + lightning("#3fe0f0", "#3fe0f0")(C))
    single("VXOYILDIRIM3", lightning("#3fe0f0", "#137a85"))
    single("VXOYILDIRIM", lambda C: sheet()(C) + group(lightning("#f5c518", "#6b5400")(C), 8, 6, 0.6))
    single("VXOYILDIRIM4", lambda C: sheet("#fff3a0", "#b39a2a")(C) + group(lightning("#e0209e", "#5a0c40")(C), 8, 6, 0.6))
    single("ASOK", arrow("down", "#2fb344"))
    single("YUKOK", arrow("up", "#e0301e"))
    single("SOLAOK", lambda C: rect(C, 1, 1, 30, 30, "#000000", None, 0, 2) + arrow("left", "#2fb344", "#2fb344")(C))
    single("VXOOK", tick("#1f9a3a", 2.2))
    single("SAGAOK", arrow("right", "#222222"))
    single("VXOIPTAL2", shadowed(cross("#d62828")))
    single("VXOOK2", shadowed(tick("#1f9a3a")))
    single("VXOATLA", swoosh)
    single("VXOMAIN", lambda C: path(C, "M3 29 V14 A13 13 0 0 1 29 14 V29", "#1b2a3a", 2.4)
           + group(wheel_emblem(C), 4.5, 7.5, 0.72))
    single("COPKUTU", waste_bin())
    single("KAYEKLE", plus("#8b1a1a"))
    single("ARAYAGIR", lambda C: path(C, "M6 5 V18 H21", "#8b1a1a", 4.5, join="round") + poly(C, [(20, 11), (29, 18), (20, 25)], "#8b1a1a"))
    single("VXOICON", factory_scene, 48, 48)
    single("VXOOK2D", lambda C: path(C, "M7 17 L13 23 L25 9", "#1f9a3a", 6.5) + path(C, "M7 17 L13 23 L25 9", "#a8a8a8", 3.5))
    single("RSEARCH", lambda C: magnifier()(C) + path(C, "M9.5 9.5 L16.5 16.5 M16.5 9.5 L9.5 16.5", "#d62828", 2.6))
    single("ICOCANCELUP", shadowed(cross("#d62828")))
    single("ICOCANCELDOWN", shadowed(cross("#8b1a1a")))
    single("ICOCANCELDISABLED", shadowed(cross("#5a5a5a")))
    single("ICOHELPUP", shadowed(question("#17a9c2")))
    single("ICOHELPDOWN", lambda C: group(question("#17a9c2")(C), 1.5, 1.5))
    single("ICOHELPDISABLED", question("#9a9a9a"))

    # button faces of the second set
    faces("ICOOKUP", "ICOOKDOWN", "ICOOKDISABLED", ok_motif, 32)
    faces("ICONOUP", "ICONODOWN", "ICONODISABLED", no_motif, 32)
    single("VXOTOD", todo_motif)
    single("LIGHTBULB", light_bulb)
    single("LOCKEDBITMAP", padlock(False))
    single("UNLOCKEDBITMAP", padlock(True))
    PICTURES["SPLASH_BMP"] = splash_scene()
    faces("HepSecUp", "HepSecDown", "HepSecDisable", two_boxes(True), 32)
    faces("HepKalUp", "HepKalDown", "HepKalDisable", two_boxes(False), 32)
    faces("INTERPOLUP", "INTERPOLDOWN", None, interpol_motif, 16)
    faces("BmMuht", "BmMuhtDown", None, nutrient_view_motif, 16)
    single("Search", magnifier(), 16)
    single("COPKUTUX", bin_cross_motif)
    faces("COPKUTUUP", "COPKUTUDOWN", "COPKUTUDISABLE", waste_bin(), 16)
    single("COPKUTUBMP", waste_bin("#c0ccd4", lid_open=True), 16)
    # The report pad's icon is 46 x 48, as the pad's icon resource.
    PICTURES["IDI_COCPADICON"] = (
        '<svg xmlns="http://www.w3.org/2000/svg" width="46" height="48" viewBox="0 0 46 48">'
        + report_pad_motif(normal) + "</svg>\n")
    faces("COWCOW", "COWCOWDOWN", "COWCOWDISABLE", cow, 16)
    faces("HTANIUP", "HTANIDOWN", "HTANIDISABLE", raw_def_motif, 16)
    faces("CKATILIM", "CKATILIMDOWN", "CKATILIMDISABLE", contrib_motif, 16)
    faces("FORMUP", "FORMDOWN", None, formula_motif, 16)
    faces("COARITMEUP", "COARITMEDOWN", None, col_arith_motif, 16)
    faces("ARGIRUP", "ARGIRDOWN", "ARGIRDISABLED", insert_motif, 16)
    faces("KAPIUP", "KAPIDOWN", None, door, 16)
    faces("greenNotepad", "greenNotepadDown", "greenNotepadDisable", notepad(), 32)
    faces("PRINTERUP", "PRINTERDOWN", "PRINTERDISABLE", printer, 16)
    faces("HESMAK", "HESMAKDOWN", None, calc_motif, 16)
    faces("STKUP", "STKDOWN", None, stock_motif, 16)
    faces("RunRun", "RunRunDown", "RunRunDisable", run_motif, 32)
    faces("RAPORALUP", "RAPORALDOWN", None, report_motif, 32)
    faces("AMDonUp", "AMDonDown", None, matrix_turn_motif, 32)
    faces("NOUP", "NODOWN", "NODISABLED", no_motif, 32)
    faces("DiskUp", "DiskDown", "DiskDisabled", disk, 32)
    faces("PYPYDUP", "PYPYDDOWN", None, ratio_motif, 16)
    faces("GRPUP", "GRPDOWN", None, group_motif, 16)
    faces("GrupBelirUp", "GrupBelirDown", None, group_define_motif, 32)
    faces("MEkoAnal", "MEkoAnalDown", None, econ_motif, 32)
    faces("BENZHMOUP", "BENZHMODOWN", None, similar_motif, 32)

    # the stock tool-bar strip: picture number n is "TB<n>", drawn at 16 pixels, one image per number
    def folder_open(C):
        return (poly(C, [(3, 9), (12, 9), (14, 12), (27, 12), (27, 27), (3, 27)], "#e8b84a", "#7a5a10", 1.3)
                + poly(C, [(7, 16), (30, 16), (26, 27), (3, 27)], "#f6d27a", "#7a5a10", 1.3))

    def scissors(C):
        return (circle(C, 9, 24, 4.5, "#ffffff", "#c62828", 2.4) + circle(C, 23, 24, 4.5, "#ffffff", "#c62828", 2.4)
                + path(C, "M11.5 20.5 L22 4 M20.5 20.5 L10 4", "#3d4a52", 2.6))

    def two_sheets(C):
        return sheet(x=3, y=2, w=16, h=21)(C) + sheet(x=13, y=9, w=16, h=21)(C)

    def clipboard(C):
        return (rect(C, 5, 5, 18, 24, "#c98d47", "#6b4a20", 1.3, 2) + rect(C, 10, 3, 8, 5, "#9aa7b3", "#3d4a52", 1, 1)
                + sheet(x=13, y=11, w=16, h=19)(C))

    def bar_arrow(direction, bar):
        def draw(C):
            s = arrow(direction, "#1e5aa8")(C)
            if bar == "top":
                s += rect(C, 5, 1, 22, 3.5, "#1e3f63")
            elif bar == "bottom":
                s += rect(C, 5, 27.5, 22, 3.5, "#1e3f63")
            return s
        return draw

    def new_sheet(C):
        return sheet()(C) + path(C, "M25 3 L27 7 L31 8 L27 9 L25 13 L23 9 L19 8 L23 7 Z", "#f0b429", 1.2, fill="#f7d36a")

    def font_letters(C):
        # a large and a small letter A over a red base line: the font
        return (path(C, "M3 25 L11 4 L19 25 M6 18 H16", "#1e3f63", 3.2)
                + path(C, "M19 25 L24 13 L29 25 M20.8 21 H27.2", "#1e5aa8", 2.4)
                + path(C, "M3 29 H29", "#c62828", 2))

    def aligned_lines(where):
        # text lines of different lengths set against the left edge, the middle or the right edge
        lengths = (24, 16, 22, 12, 20)
        def draw(C):
            d = ""
            for i, n in enumerate(lengths):
                x = {"left": 4, "centre": 16 - n / 2, "right": 28 - n}[where]
                d += f"M{x} {5 + i * 5.5} H{x + n} "
            return path(C, d, "#1e3f63", 2.6)
        return draw

    def add_row(C):
        # a list with a green plus: a row is added
        return (rect(C, 2, 3, 20, 24, "#ffffff", "#5a6b7c", 1.2)
                + path(C, "M5 9 H19 M5 14 H19 M5 19 H15", "#7f8c9a", 1.6)
                + group(plus("#1f8a3a")(C), 13, 13, 0.6))

    def tick_list(C):
        # two ticked boxes beside their lines: members chosen for a group
        return two_boxes(True)(C)

    def window_close(C):
        # a window with its title bar, and a red cross: the window closes
        return (rect(C, 2, 4, 28, 24, "#ffffff", "#3d4a52", 1.4, 1.5) + rect(C, 2, 4, 28, 6, "#1e5aa8", "#3d4a52", 1.4)
                + path(C, "M11 14 L21 24 M21 14 L11 24", "#c62828", 3.4))

    def chain_link(C):
        # two links of a chain: one nutrient linked to another
        return rect(C, 2, 9, 17, 10, "none", "#3d4a52", 3, 5) + rect(C, 13, 13, 17, 10, "none", "#1e5aa8", 3, 5)

    stock = {
        1: new_sheet,
        2: folder_open,
        3: lambda C: folder_open(C) + path(C, "M18 17 L28 27 M28 17 L18 27", "#c62828", 3.2),
        4: disk,
        5: printer,
        6: notepad(),
        12: font_letters,
        21: aligned_lines("left"),
        22: aligned_lines("centre"),
        23: aligned_lines("right"),
        31: two_sheets,
        42: add_row,
        81: tick_list,
        48: calc_motif,
        69: lambda C: grid(C, 2, 2, 3, 6) + group(plus("#1f8a3a")(C), 14, 14, 0.55),
        89: col_arith_motif,
        90: lambda C: sheet()(C) + group(lightning("#f5c518", "#6b5400")(C), 8, 6, 0.6),
        100: new_sheet,
        101: scissors,
        102: clipboard,
        120: lambda C: circle(C, 16, 16, 14, "#e6f6fa", "#17a9c2", 1.6) + question("#17a9c2")(C),
        121: lambda C: grid(C, 2, 2, 3, 6) + group(cross("#c62828", 5)(C), 14, 14, 0.55),
        127: bar_arrow("left", None),
        128: bar_arrow("right", None),
        129: bar_arrow("up", "top"),
        130: bar_arrow("down", "bottom"),
    }
    for number, motif in stock.items():
        single(f"TB{number}", motif, 16)
    # Where one number serves commands that do different things, a command has its own drawing,
    # "TB<number>_<command>", which the tool bar takes before the number's.
    by_command = {
        (3, "CLOSE"): window_close,
        (90, "BMBAGLA"): chain_link,
    }
    for (number, command), motif in by_command.items():
        single(f"TB{number}_{command}", motif, 16)

    # the split bars' pointers: a black figure outlined in white on a transparent ground
    def vcursor(C):
        d = "M3 10 H21 M2.5 10 L7 5.5 M2.5 10 L7 14.5 M21.5 10 L17 5.5 M21.5 10 L17 14.5 M10.5 3 V17 M13.5 3 V17"
        return path(C, d, "#ffffff", 3.6) + path(C, d, "#000000", 1.4)

    def hcursor(C):
        d = "M10 3 V21 M10 2.5 L5.5 7 M10 2.5 L14.5 7 M10 21.5 L5.5 17 M10 21.5 L14.5 17 M3 10.5 H17 M3 13.5 H17"
        return path(C, d, "#ffffff", 3.6) + path(C, d, "#000000", 1.4)
    single("JOVVSPLITBARCURSOR", vcursor)
    single("JOVHSPLITBARCURSOR", hcursor)


# --------------------------------------------------------------------------------------------------
# the date and search fields' partner buttons: small bitmaps, not square, released and pressed


def sized_svg(body, width, height):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}">{body}</svg>\n')


def button_face(C, width, height, pressed):
    """A raised (or, pressed, sunken) button face filling the picture."""
    light, dark = ("#808080", "#ffffff") if pressed else ("#ffffff", "#808080")
    return (rect(C, 0, 0, width, height, "#d4d0c8")
            + path(C, f"M0.5 {height - 0.5} V0.5 H{width - 0.5}", light, 1, join="miter")
            + path(C, f"M{width - 0.5} 0.5 V{height - 0.5} H0.5", dark, 1, join="miter"))


def calendar_sheet(C):
    s = rect(C, 6, 4, 14, 13, "#ffffff", "#3a4f66", 1)
    s += rect(C, 6, 4, 14, 4, "#c62828")
    s += path(C, "M9.5 2.5 V6 M16.5 2.5 V6", "#3a4f66", 1.4)
    for row in range(2):
        for col in range(4):
            s += rect(C, 7.5 + col * 3, 10 + row * 3, 2, 2, "#3a4f66")
    return s


def magnifier_small(C):
    return path(C, "M12.5 12.5 L17.5 17.5", "#6b4a2b", 3) + circle(C, 9, 9, 5.2, "#cfe8ff", "#3a4f66", 1.8)


def partner_button_pictures():
    for name, width, motif in (("IBM_CAL", 26, calendar_sheet), ("IBM_MAGNIF", 22, magnifier_small)):
        height = 21
        PICTURES[name + "UP"] = sized_svg(button_face(normal, width, height, False) + motif(normal), width, height)
        PICTURES[name + "DN"] = sized_svg(button_face(normal, width, height, True)
                                          + group(motif(darker), 1, 1), width, height)


# --------------------------------------------------------------------------------------------------
# the background tile: a pale blue-white weave, 74 x 74, 24 bits per pixel


def write_png(file_name, width, height, rows):
    raw = b"".join(b"\x00" + bytes(r) for r in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
    with open(file_name, "wb") as f:
        f.write(png)


def background_tile():
    rnd = random.Random(74)
    rows = []
    for y in range(74):
        row = []
        for x in range(74):
            weave = 6 if ((x // 6) + (y // 6)) % 2 == 0 else 0
            grain = rnd.randint(-5, 5)
            r = 228 + weave + grain
            g = 238 + weave + grain
            b = 250 + min(weave, 5) + grain // 2
            row += [max(0, min(255, v)) for v in (r, g, b)]
        rows.append(row)
    return rows


# --------------------------------------------------------------------------------------------------
# the hyperlink's pointer: a white pointing hand outlined in black, the fingertip at 12,1


def hand_cursor_picture():
    def hand(C):
        d = ("M10.5 3 Q12 0.6 13.5 3 V12 Q15 10.6 16.5 12 V13 Q18 11.6 19.5 13 V14 Q21 12.6 22.5 14 V22 "
             "Q22.5 27 19 29.5 H12.5 Q10 27 6.5 21.5 L5 18.5 Q5.5 16.2 8 17.6 L10.5 20.5 Z")
        knuckles = "M13.5 12 V17 M16.5 13 V17 M19.5 14 V17"
        return (path(C, d, "#000000", 1.3, fill="#ffffff", join="round")
                + path(C, knuckles, "#000000", 1.0))
    single("CURSOR_HAND", hand)


def main():
    build()
    hand_cursor_picture()
    partner_button_pictures()
    os.makedirs(PICS, exist_ok=True)
    for old in os.listdir(PICS):
        os.remove(os.path.join(PICS, old))
    for name, text in PICTURES.items():
        with open(os.path.join(PICS, name + ".svg"), "w", encoding="ascii") as f:
            f.write(text)
    write_png(os.path.join(PICS, "BMPBACK.png"), 74, 74, background_tile())
    files = sorted(os.listdir(PICS))
    with open(os.path.join(OUT, "resources.qrc"), "w", encoding="ascii") as f:
        f.write("<!DOCTYPE RCC>\n<!-- Written by tools/make_pictures.py -->\n<RCC version=\"1.0\">\n")
        f.write("  <qresource prefix=\"/vexo\">\n")
        for name in files:
            f.write(f"    <file>pictures/{name}</file>\n")
        f.write("  </qresource>\n</RCC>\n")
    print(f"{len(files)} pictures written to {PICS}")


if __name__ == "__main__":
    main()
