#!/usr/bin/env python3
"""Draws the program's artwork: writes every SVG of resources/artwork/ (module pictures, lamps,
panel items, backgrounds, cursors, the program's icon and the tool bar icons) from one palette
and one line weight. Change a drawing here and run it again, then look at the result:

    python3 tools/draw_artwork.py resources/artwork
    build/tools/artwork_sheet resources/artwork build/artwork-sheet.png

Pictures are drawn on the pixel grid of their size in points: 2-pixel lines lie on whole
coordinates and 1-pixel lines on half coordinates, so that they stay sharp at 1x.
"""
import math, os, sys

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
    os.path.dirname(os.path.abspath(__file__)), "..", "resources", "artwork")

# One palette for everything.
INK = "#1b2631"      # outlines, dark strokes
FACE1 = "#3b536b"    # picture tile, top
FACE2 = "#1f2f3e"    # picture tile, bottom
HI = "#6a879f"       # tile's inner highlight
SIG = "#62d2ff"      # signals, waves
WARM = "#ffb23e"     # MIDI, control, focus
GO = "#5be07a"       # on, fits, start
STOP = "#ff5a4f"     # error, removal, stop, peak
YEL = "#ffe04a"      # level meter middle range
PAPER = "#eef2f6"    # bodies of symbols, keys, light outlines
MUTE = "#8fa3b6"     # secondary lines
LW = 2               # the one line weight

def num(v):
    s = f"{v:.2f}".rstrip("0").rstrip(".")
    return "0" if s == "-0" else s

def pts(points):
    return " ".join(f"{num(x)},{num(y)}" for x, y in points)

def write(name, w, h, body, defs=""):
    path = os.path.join(OUT, name + ".svg")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    d = f"  <defs>\n{defs}  </defs>\n" if defs else ""
    with open(path, "w") as f:
        f.write(f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" '
                f'viewBox="0 0 {w} {h}">\n{d}{body}</svg>\n')

def stroke(d, color, width=LW, extra=""):
    return (f'  <path d="{d}" fill="none" stroke="{color}" stroke-width="{num(width)}" '
            f'stroke-linecap="round" stroke-linejoin="round"{extra}/>\n')

def poly(points, color, width=LW):
    return (f'  <polyline points="{pts(points)}" fill="none" stroke="{color}" '
            f'stroke-width="{num(width)}" stroke-linecap="round" stroke-linejoin="round"/>\n')

def shape(d, fill, line=INK, width=1, extra=""):
    s = f' stroke="{line}" stroke-width="{num(width)}" stroke-linejoin="round"' if line else ""
    return f'  <path d="{d}" fill="{fill}"{s}{extra}/>\n'

def rect(x, y, w, h, fill, line=None, width=1, rx=0, extra=""):
    s = f' stroke="{line}" stroke-width="{num(width)}"' if line else ""
    r = f' rx="{num(rx)}"' if rx else ""
    return (f'  <rect x="{num(x)}" y="{num(y)}" width="{num(w)}" height="{num(h)}"{r} '
            f'fill="{fill}"{s}{extra}/>\n')

def circle(cx, cy, r, fill, line=None, width=1, extra=""):
    s = f' stroke="{line}" stroke-width="{num(width)}"' if line else ""
    return f'  <circle cx="{num(cx)}" cy="{num(cy)}" r="{num(r)}" fill="{fill}"{s}{extra}/>\n'

def vgrad(gid, top, bottom):
    return (f'    <linearGradient id="{gid}" x1="0" y1="0" x2="0" y2="1">\n'
            f'      <stop offset="0" stop-color="{top}"/>\n'
            f'      <stop offset="1" stop-color="{bottom}"/>\n'
            f'    </linearGradient>\n')

def picture(name, size, body):
    """A module picture: the symbol on a dark rounded tile, the same for every module."""
    w, h = size if isinstance(size, tuple) else (size, size)
    tile = (rect(0.5, 0.5, w - 1, h - 1, "url(#face)", INK, 1, rx=3) +
            rect(1.5, 1.5, w - 3, h - 3, "none", HI, 1, rx=2, extra=' stroke-opacity="0.55"'))
    write(name, w, h, tile + body, vgrad("face", FACE1, FACE2))

def wave(fn, x0, x1, y0, amp, n=32):
    return [(x0 + (x1 - x0) * i / n, y0 - amp * fn(i / n)) for i in range(n + 1)]

sine = lambda t: math.sin(2 * math.pi * t)

# ---- generators (23 x 23, signal colour) ------------------------------------------------
picture("BITMAP_SINUSGENERATOR", 23, poly(wave(sine, 4, 19, 12, 5.5), SIG))
picture("BITMAP_SAEGEZAHNGENERATOR", 23, poly([(4, 17), (11.5, 7), (11.5, 17), (19, 7), (19, 17)], SIG))
picture("BITMAP_DREIECKGENERATOR", 23,
        poly([(4, 16), (7.75, 7), (11.5, 16), (15.25, 7), (19, 16)], SIG))
picture("BITMAP_RECHTECKGENERATOR", 23,
        stroke("M4,16 H7 V7 H12 V16 H16 V7 H19", SIG))
noise = [(4, 12), (5.5, 7), (7, 15), (8.5, 9), (10, 18), (11.5, 6), (13, 14),
         (14.5, 10), (16, 17), (17.5, 8), (19, 13)]
picture("BITMAP_RAUSCHGENERATOR", 23, poly(noise, SIG))
def card(x, y, w, h, edge, fill="#172430"):
    return rect(x + 0.5, y + 0.5, w - 1, h - 1, fill, edge, 1, rx=1.5)
picture("BITMAP_WAVETABLE", 23,
        card(10, 3, 10, 9, MUTE) + card(7, 6, 10, 9, PAPER) + card(4, 10, 11, 10, SIG) +
        poly(wave(sine, 5.5, 13.5, 15, 2.5, 16), SIG))

# ---- constant: a fader (19 x 19, fits below the scroll bar of the constant) -------------
picture("BITMAP_KONSTANTE_FADER", 19,
        stroke("M9.5,4 V15", MUTE) +
        stroke("M12.5,5 H14 M12.5,9.5 H14 M12.5,14 H14", MUTE, 1) +
        rect(5.5, 9.5, 8, 4, WARM, INK, 1, rx=1))

# ---- mixers -----------------------------------------------------------------------------
picture("BITMAP_POLY_MONO", 23,
        stroke("M4,6 C9,6 9,12 13,12", SIG) + stroke("M4,12 H13", SIG) +
        stroke("M4,18 C9,18 9,12 13,12", SIG) + stroke("M13,12 H19", PAPER) +
        circle(13, 12, 2, PAPER))
picture("BITMAP_ADDIERER", 23,
        circle(12, 12, 7.5, "none", PAPER, LW) + stroke("M12,8 V16 M8,12 H16", SIG))
picture("BITMAP_LAUTSTAERKE", 23,
        stroke("M3,12 H6", SIG) + stroke("M6,5 L19,12 L6,19 Z", PAPER) +
        stroke("M12,20 V16", WARM))
picture("BITMAP_CROSSFADE_AMPL", 23, stroke("M4,6 L19,18", SIG) + stroke("M4,18 L19,6", WARM))
picture("BITMAP_CROSSFADE", 23,
        stroke("M4,6 C12,6 16,10 19,18", SIG) + stroke("M4,18 C7,10 11,6 19,6", WARM))
picture("BITMAP_POSITION", 23,
        stroke("M4,16 H19 M7,13 L4,16 L7,19 M16,13 L19,16 L16,19", PAPER) +
        shape("M8.5,5 H15.5 L12,10.5 Z", SIG, SIG, 1))
picture("BITMAP_AUFLOESUNG", 23, stroke("M4,18 H7 V15 H10 V12 H13 V9 H16 V6 H19", SIG))

# ---- logic (23 x 23, gate bodies light, leads in signal colour) ---------------------------
leads = "M3,9 H7 M3,15 H7"
picture("BITMAP_AND", 23,
        stroke(leads, SIG) + stroke("M17,12 H20", SIG) +
        stroke("M7,6 H11 A6,6 0 0 1 11,18 H7 Z", PAPER))
picture("BITMAP_OR", 23,
        stroke(leads, SIG) + stroke("M18,12 H20", SIG) +
        stroke("M6,6 Q10,12 6,18 Q14,18 18,12 Q14,6 6,6 Z", PAPER))
picture("BITMAP_EXOR", 23,
        stroke("M3,9 H8 M3,15 H8", SIG) + stroke("M19,12 H20.5", SIG) +
        stroke("M8,6 Q12,12 8,18 Q15.5,18 19,12 Q15.5,6 8,6 Z", PAPER) +
        stroke("M5,6 Q9,12 5,18", PAPER))
picture("BITMAP_MODULA", 23,
        circle(7.5, 7.5, 2.5, "none", PAPER, LW) + circle(16.5, 16.5, 2.5, "none", PAPER, LW) +
        stroke("M17,5 L6,18", SIG))
picture("BITMAP_DIVISION", 23,
        stroke("M5,12 H19", PAPER) + circle(12, 6.5, 2, SIG) + circle(12, 17.5, 2, SIG))

# ---- delay: an impulse and its echoes ---------------------------------------------------
picture("BITMAP_DELAY", 23,
        stroke("M4,19 H19", MUTE) + stroke("M5,18 V5", SIG) +
        stroke("M10,18 V9 M14.5,18 V12 M18,18 V14.5", SIG, LW, ' stroke-opacity="0.75"'))

# ---- MIDI (amber) -----------------------------------------------------------------------
def keys(x0, y0, w, h, pressed):
    out = ""
    kw = w / 3
    for i in range(3):
        fill = WARM if i == pressed else PAPER
        out += rect(x0 + i * kw, y0, kw, h, fill, INK, 1)
    for i in (1, 2):
        out += rect(x0 + i * kw - 1.75, y0, 3.5, h * 0.58, INK)
    return out
picture("BITMAP_MIDI_TASTE", 23, keys(4, 4, 15, 15, 1))
# envelope: attack, decay, sustain, release (31 x 31)
picture("BITMAP_ADSR", 31,
        shape("M5,25 L10,6 L15,14 H21 L26,25 Z", WARM, None, extra=' fill-opacity="0.25"') +
        stroke("M4,25 H27", MUTE) + poly([(5, 25), (10, 6), (15, 14), (21, 14), (26, 25)], WARM) +
        circle(10, 6, 1.75, PAPER) + circle(15, 14, 1.75, PAPER) + circle(21, 14, 1.75, PAPER))
# a MIDI socket: five pins round a notch (31 x 31)
pins = ""
for ang in (180, 135, 90, 45, 0):
    a = math.radians(ang)
    pins += circle(15.5 + 6.5 * math.cos(a), 16 - 6.5 * math.sin(a), 1.7, WARM)
picture("BITMAP_MIDI_IN", 31,
        circle(15.5, 15.5, 11, INK, PAPER, LW) + pins + rect(13.5, 23, 4, 3.5, PAPER))
def wheel(x, y, w, h):
    out = rect(x, y, w, h, INK, PAPER, LW, rx=2)
    for i in range(1, 5):
        yy = y + h * i / 5
        out += stroke(f"M{num(x + 2)},{num(yy)} H{num(x + w - 2)}", MUTE, 1)
    return out
picture("BITMAP_PITCH", 23,
        wheel(4, 4, 7, 15) + stroke("M16,4.5 V18.5 M13.5,7 L16,4.5 L18.5,7 M13.5,16 L16,18.5 L18.5,16", WARM))
picture("BITMAP_MODULATION", 23,
        wheel(4, 4, 7, 15) + poly(wave(sine, 13, 19.5, 11.5, 4, 16), WARM))
# aftertouch: a key pressed down further
picture("BITMAP_AFTERTOUCH", 23,
        rect(6.5, 12.5, 10, 7, PAPER, INK, 1) + stroke("M4,20 H19", MUTE) +
        stroke("M11.5,3.5 V9.5 M8.5,6.5 L11.5,9.5 L14.5,6.5", WARM))
picture("BITMAP_VOLUME", 23,
        stroke("M5,18 V16 M9,18 V13.5 M13,18 V10.5 M17,18 V7", WARM, LW + 1))

# ---- input, output and analysis ---------------------------------------------------------
picture("BITMAP_LAUTSPRECHER", 31,
        shape("M5.5,12 H9.5 L16,6 V25 L9.5,19 H5.5 Z", PAPER, INK, 1) +
        stroke("M19.5,12 Q21.5,15.5 19.5,19", SIG) + stroke("M22.5,9 Q26,15.5 22.5,22", SIG))
picture("BITMAP_MIKROPHON", 31,
        rect(11, 4, 9, 14, PAPER, INK, 1, rx=4.5) +
        stroke("M13,8 H18 M13,11 H18 M13,14 H18", MUTE, 1) +
        stroke("M8,13 V14 A7.5,7.5 0 0 0 23,14 V13", SIG) + stroke("M15.5,21.5 V26 M11.5,26.5 H19.5", PAPER))
grid = "".join(stroke(f"M{x},6 V22", HI, 1) for x in (11.5, 15.5, 19.5)) + \
       "".join(stroke(f"M6,{y} H25", HI, 1) for y in (10.5, 14.5, 18.5))
picture("BITMAP_SEHEN", 31,
        rect(4.5, 4.5, 22, 19, "#10202c", PAPER, 1.5, rx=2) + grid +
        poly(wave(lambda t: math.sin(2 * math.pi * t) * (1 - 0.6 * t), 6, 25, 14.5, 6, 40), GO) +
        stroke("M10,27 H21", PAPER))
picture("BITMAP_PROPERTY", 23,
        rect(7.5, 3.5, 8, 16, INK, MUTE, 1) +
        rect(9, 15, 5, 3, GO) + rect(9, 11, 5, 3, GO) + rect(9, 7, 5, 3, YEL) +
        rect(9, 5, 5, 1, STOP, extra=' fill-opacity="0.5"') +
        stroke("M4,19.5 H5 M4,11.5 H5 M18,19.5 H19 M18,11.5 H19", MUTE, 1))
# the macro: a box that holds modules
picture("BITMAP_MODUL", 23,
        rect(3.5, 3.5, 16, 16, "none", PAPER, 1, rx=1.5, extra=' stroke-dasharray="2,1.5"') +
        rect(6, 6, 5, 5, SIG) + rect(12, 12, 5, 5, WARM) + stroke("M11,8.5 H14.5 V12", PAPER, 1.5))

# ---- lamps (12 x 12, transparent) -------------------------------------------------------
lampdefs = lambda c0, c1: (f'    <radialGradient id="glass" cx="0.4" cy="0.35" r="0.65">\n'
                           f'      <stop offset="0" stop-color="{c0}"/>\n'
                           f'      <stop offset="1" stop-color="{c1}"/>\n'
                           f'    </radialGradient>\n')
write("LAMPE_AN", 12, 12,
      circle(6, 6, 5.5, "url(#glass)", INK, 1) + circle(4.5, 4.2, 1.4, "#ffffff", extra=' fill-opacity="0.85"'),
      lampdefs("#d8ffd0", GO))
write("LAMPE_AUS", 12, 12,
      circle(6, 6, 5.5, "url(#glass)", INK, 1) + circle(4.5, 4.2, 1.2, "#ffffff", extra=' fill-opacity="0.3"'),
      lampdefs("#5b6e66", "#26332e"))

# ---- panel items ------------------------------------------------------------------------
def knob(name, accent, edge, top="#f2f5f8", bottom="#a9b6c3"):
    body = (rect(0.5, 0.5, 22, 21, "url(#knob)", edge, 1, rx=2.5) +
            rect(1.5, 1.5, 20, 2, "#ffffff", extra=' fill-opacity="0.45"') +
            stroke("M4,6.5 H19 M4,15.5 H19", MUTE, 1) + stroke("M3,11 H20", accent))
    write(name, 23, 22, body, vgrad("knob", top, bottom))
knob("BITMAP_SCHIEBER", INK, INK)
knob("BITMAP_SCHIEBER_ACTIVE", "#8a4a00", "#8a4a00", "#fff3dc", WARM)

# The level meter: 1 % of level per pixel row, 0 % at row 108 and 100 % at row 8; the cover
# hides rows from the top. The rows below 108 are the meter's foot, never covered.
def meter(name, lit):
    green, yellow, red = (GO, YEL, STOP) if lit else ("#1d3f28", "#433d1c", "#45201d")
    out = rect(0, 0, 23, 125, "#121b24") + rect(0.5, 0.5, 22, 124, "none", INK, 1)
    for top in range(2, 107, 3):
        p = 108 - (top + 1)
        color = red if p >= 100 else yellow if p >= 80 else green
        out += rect(5, top, 13, 2, color)
    for y, long in ((8.5, True), (33.5, False), (58.5, True), (83.5, False), (108.5, True)):
        w = 3 if long else 2
        col = STOP if y == 8.5 else PAPER
        out += rect(1, y - 0.5, w, 1, col) + rect(22 - w, y - 0.5, w, 1, col)
    out += rect(3.5, 111.5, 16, 10, "#1f2f3e", MUTE, 1, rx=1.5)
    out += stroke("M6,118.5 L9,114.5 L12,118.5 L15,114.5 L17,116.5", GO if lit else MUTE, 1)
    write(name, 23, 125, out)
meter("BITMAP_LOUDNESS_FOREGROUND", True)
meter("BITMAP_LOUDNESS_BACKGROUND", False)

# Client-filling ground of faders and meters: brushed slate, tileable (64 x 64). White value
# text and dark limit texts both read on it.
lines = ""
for y in range(0, 64, 2):
    shade = ("#ffffff", 0.035) if (y * 7) % 5 < 2 else ("#000000", 0.04)
    lines += rect(0, y, 64, 1, shade[0], extra=f' fill-opacity="{shade[1]}"')
write("101", 64, 64, rect(0, 0, 64, 64, "#687b8c") + lines)

# Behind every canvas: a quiet mid-grey ground with a fine linen weave that tiles without seams,
# dark enough that the white audio wires, the blue frequency wires and the light panels stand out.
# Short dashes rather than dots, so that the weave is never taken for the canvas grid's dots.
weave = ""
for i, (x, y) in enumerate(((3, 5), (19, 13), (35, 29), (51, 45), (11, 37), (27, 53), (43, 21),
                            (57, 61), (7, 25), (23, 41), (39, 9), (53, 1), (15, 57), (31, 17),
                            (47, 49), (59, 33))):
    tone = "#7b838b" if i % 2 == 0 else "#939aa1"
    weave += rect(x, y, 4, 1, tone)
write("BITMAP_BACKGROUND", 64, 64, rect(0, 0, 64, 64, "#878e95") + weave)

# ---- cursors (24 x 24; dark with a light outline) ----------------------------------------
ARROW = "M1,1 V17.5 L5,13.8 L8,20.5 L10.8,19.3 L8,12.8 H13.5 Z"
def arrow():
    return shape(ARROW, INK, PAPER, 1.5)
def badge(fill):
    return circle(17.5, 17.5, 5.5, fill, PAPER, 1.5) + circle(17.5, 17.5, 4.75, "none", INK, 0.75)
write("cursors/CROKCURSOR", 24, 24, arrow() + badge(GO) + stroke("M15,17.5 L17,19.5 L20.5,15.5", INK))
write("cursors/CRENTFERNENCURSOR", 24, 24, arrow() + badge(WARM) + stroke("M14.5,17.5 H20.5", INK))
write("cursors/CRFEHLERCURSOR", 24, 24,
      arrow() + circle(17.5, 17.5, 5.5, PAPER, INK, 0.75) + circle(17.5, 17.5, 4, "none", STOP, 2) +
      stroke("M14.7,20.3 L20.3,14.7", STOP))
fingers = [(6.5, 4, 3, 10), (9.5, 2.5, 3, 11), (12.5, 3, 3, 10.5), (15.5, 5, 3, 9)]
def hand(layer):
    out = ""
    for (x, y, w, h) in fingers:
        out += rect(x, y, w, h, layer[0], layer[1], layer[2], rx=1.5)
    out += shape("M6.5,11 H18.5 V15 Q18.5,21.5 12.5,21.5 H11 Q8,21.5 6.5,18.5 L2.8,12.8 "
                 "Q2.2,11 4,10.8 Q5.2,10.8 6.5,13 Z", layer[0], layer[1], layer[2])
    return out
write("cursors/HANDCURSOR", 24, 24,
      hand((INK, INK, 3)) + hand((PAPER, None, 0)) + stroke("M9.5,8 V12.5 M12.5,8 V12.5 M15.5,8 V12.5", INK, 1))
write("cursors/GUMMIBANDCURSOR", 24, 24,
      rect(8.5, 9.5, 14, 12, "none", PAPER, 3) +
      rect(8.5, 9.5, 14, 12, "none", INK, 1, extra=' stroke-dasharray="2,2"') + arrow())

# ---- the program's icon -----------------------------------------------------------------
icon = (rect(2, 2, 44, 44, "url(#face)", INK, 2, rx=9) +
        rect(4, 4, 40, 40, "none", HI, 1, rx=7.5, extra=' stroke-opacity="0.6"') +
        poly(wave(sine, 11, 37, 24, 9, 40), SIG, 5) +
        circle(11, 24, 4, WARM, INK, 1.5) + circle(37, 24, 4, WARM, INK, 1.5))
write("zelmar", 48, 48, icon, vgrad("face", FACE1, FACE2))

# ---- tool bar icons (24 x 24): dark lines with a light halo, so they read on light and dark
# tool bars alike --------------------------------------------------------------------------
def line(d, color=INK):
    return stroke(d, PAPER, LW + 2, ' stroke-opacity="0.9"') + stroke(d, color)
def body(d, fill, color=INK):
    return shape(d, PAPER, PAPER, LW + 2) + shape(d, fill, color, LW)
def icon24(name, content):
    write("action-" + name, 24, 24, content)

icon24("new", body("M5,2.5 H14 L19,7.5 V21.5 H5 Z", "#ffffff") + line("M14,2.5 V7.5 H19") +
       poly(wave(sine, 8, 16, 14.5, 3, 16), "#1b8fc4"))
icon24("open", body("M2.5,19.5 V4.5 H8.5 L10.5,6.5 H17.5 V9.5", "#d7dee5") +
       body("M2.5,19.5 L6,10 H21.5 L18,19.5 Z", WARM))
icon24("save", body("M3.5,3.5 H17.5 L20.5,6.5 V20.5 H3.5 Z", FACE1) +
       rect(7, 3.5, 9, 6, PAPER, INK, 1.5) + rect(12.5, 4.75, 2, 3.5, INK) +
       rect(6.5, 13, 11, 7.5, PAPER, INK, 1.5))
icon24("undo", line("M8.5,5 L3.5,10 L8.5,15") + line("M3.5,10 H14.5 A5.5,5.5 0 0 1 14.5,21 H10"))
icon24("redo", line("M15.5,5 L20.5,10 L15.5,15") + line("M20.5,10 H9.5 A5.5,5.5 0 0 0 9.5,21 H14"))
icon24("cut", line("M9,14.5 L16.5,2.5") + line("M15,14.5 L7.5,2.5") +
       circle(7, 17.5, 3.25, "#ffffff", INK, LW) + circle(17, 17.5, 3.25, "#ffffff", INK, LW))
icon24("copy", body("M8.5,8.5 H20.5 V21.5 H8.5 Z", "#ffffff") + body("M3.5,2.5 H15.5 V5.5", "none") +
       line("M3.5,2.5 V15.5 H5.5"))
icon24("paste", body("M4.5,4.5 H19.5 V21.5 H4.5 Z", WARM) + body("M8.5,2.5 H15.5 V6.5 H8.5 Z", MUTE) +
       body("M8,9.5 H17 V19.5 H8 Z", "#ffffff"))
icon24("delete", line("M5.5,5.5 L18.5,18.5 M18.5,5.5 L5.5,18.5", STOP))
icon24("start", body("M6.5,3.5 L20,12 L6.5,20.5 Z", GO))
icon24("stop", body("M5.5,5.5 H18.5 V18.5 H5.5 Z", STOP))
dots = "".join(rect(x - 1, y - 1, 2, 2, INK) for x in (4, 12, 20) for y in (4, 12, 20))
icon24("align-grid", rect(0, 0, 24, 24, "none") + dots + body("M6.5,6.5 H13.5 V13.5 H6.5 Z", SIG))
icon24("align-left", line("M3.5,2.5 V21.5") + body("M6.5,5.5 H19.5 V10.5 H6.5 Z", SIG) +
       body("M6.5,13.5 H14.5 V18.5 H6.5 Z", WARM))
icon24("align-right", line("M20.5,2.5 V21.5") + body("M4.5,5.5 H17.5 V10.5 H4.5 Z", SIG) +
       body("M9.5,13.5 H17.5 V18.5 H9.5 Z", WARM))
icon24("align-top", line("M2.5,3.5 H21.5") + body("M5.5,6.5 H10.5 V19.5 H5.5 Z", SIG) +
       body("M13.5,6.5 H18.5 V14.5 H13.5 Z", WARM))
icon24("align-bottom", line("M2.5,20.5 H21.5") + body("M5.5,4.5 H10.5 V17.5 H5.5 Z", SIG) +
       body("M13.5,9.5 H18.5 V17.5 H13.5 Z", WARM))
icon24("modules", body("M3.5,3.5 H8.5 V8.5 H3.5 Z", SIG) + line("M11.5,6 H20.5") +
       body("M3.5,10 H8.5 V15 H3.5 Z", WARM) + line("M11.5,12.5 H20.5") +
       body("M3.5,16.5 H8.5 V21.5 H3.5 Z", GO) + line("M11.5,19 H20.5"))
icon24("help", circle(12, 12, 10, PAPER) + circle(12, 12, 9, SIG, INK, LW) +
       stroke("M8.8,9.2 A3.3,3.3 0 1 1 13.4,12.2 Q12,12.9 12,14.5", INK, 2.25) + circle(12, 17.6, 1.5, INK))
gear = []
for i in range(32):
    a = 2 * math.pi * i / 32 - math.pi / 32
    r = 10 if (i // 2) % 2 == 0 else 7.2
    gear.append((12 + r * math.cos(a), 12 + r * math.sin(a)))
gear_d = "M" + " L".join(f"{num(x)},{num(y)}" for x, y in gear) + " Z"
icon24("options", body(gear_d, MUTE) + circle(12, 12, 3, PAPER, INK, LW))
