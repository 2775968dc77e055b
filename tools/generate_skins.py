#!/usr/bin/env python3
"""Writes the 48 numbered skins resources/skin/1.skn ... 48.skn (Qt style sheets).

Twelve hues, each in four moods (light, pastel, deep, dark). Text colours are chosen so that every
text stands at a contrast of at least 4.5:1 against its background. Run again after changing it;
the files are committed.
"""
import colorsys
import os
import struct
import zlib

HUES = [210, 150, 30, 0, 270, 180, 45, 330, 120, 240, 15, 195]
HUE_NAMES = ["Sky", "Jade", "Amber", "Ruby", "Violet", "Teal", "Sand", "Rose", "Leaf", "Indigo", "Copper", "Ocean"]
MOODS = [  # name, (lightness, saturation) of window, panel, button, input
    ("Light", (0.94, 0.35), (0.88, 0.40), (0.80, 0.45), (0.99, 0.20)),
    ("Pastel", (0.85, 0.55), (0.78, 0.50), (0.68, 0.55), (0.97, 0.30)),
    ("Deep", (0.32, 0.55), (0.26, 0.50), (0.42, 0.55), (0.96, 0.15)),
    ("Dark", (0.14, 0.25), (0.19, 0.25), (0.28, 0.35), (0.24, 0.15)),
]


def rgb(h, l, s):
    r, g, b = colorsys.hls_to_rgb(h / 360.0, l, s)
    return tuple(round(c * 255) for c in (r, g, b))


def hexa(c):
    return "#%02x%02x%02x" % c


def luminance(c):
    def lin(v):
        v /= 255.0
        return v / 12.92 if v <= 0.03928 else ((v + 0.055) / 1.055) ** 2.4
    r, g, b = (lin(v) for v in c)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    la, lb = sorted((luminance(a), luminance(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)


def text_for(background, hue):
    """A tinted text colour readable on the background, else plain black or white."""
    light_texts, dark_texts = [0.95, 0.98, 1.0], [0.15, 0.10, 0.0]
    order = light_texts + dark_texts if luminance(background) < 0.25 else dark_texts + light_texts
    for lightness in order:
        candidate = rgb(hue, lightness, 0.6 if lightness not in (0.0, 1.0) else 0.0)
        if contrast(candidate, background) >= 4.5:
            return candidate
    raise SystemExit("no readable text colour")


def skin(number):
    hue = HUES[(number - 1) % 12]
    mood = MOODS[(number - 1) // 12]
    name = "%s %s" % (HUE_NAMES[(number - 1) % 12], mood[0])
    window, panel, button, field = (rgb(hue, l, s) for l, s in mood[1:])
    accent = rgb((hue + 30) % 360, 0.40 if luminance(window) > 0.25 else 0.60, 0.65)
    hover = rgb(hue, min(0.97, colorsys.rgb_to_hls(*(v / 255 for v in button))[1] + 0.07), mood[3][1])
    border = rgb(hue, 0.35 if luminance(window) > 0.25 else 0.55, 0.45)
    c = {
        "window": hexa(window), "windowText": hexa(text_for(window, hue)),
        "panel": hexa(panel), "panelText": hexa(text_for(panel, hue)),
        "button": hexa(button), "buttonText": hexa(text_for(button, hue)),
        "hover": hexa(hover), "hoverText": hexa(text_for(hover, hue)),
        "field": hexa(field), "fieldText": hexa(text_for(field, hue)),
        "accent": hexa(accent), "accentText": hexa(text_for(accent, hue)),
        "border": hexa(border),
        # Disabled commands: their text halfway between the text and the button colour.
        "disabledText": hexa(tuple(round((a + b) / 2) for a, b in zip(text_for(button, hue), button))),
        # The rings of option buttons and check boxes are drawn in the window's text colour so that
        # they stand out on every skin, dark ones included.
        "indicator": hexa(text_for(window, hue)),
        # Scroll bar arrows, dark on light buttons and light on dark ones.
        "arrows": "dark" if luminance(button) > 0.25 else "light",
    }
    return """/* Velmora skin %(number)d: %(name)s */
QWidget { background-color: %(window)s; color: %(windowText)s; }
QFrame[skinPanel="true"] { background-color: %(panel)s; color: %(panelText)s; border: 1px solid %(border)s; border-radius: 6px; }
QFrame[skinPanel="true"] QLabel, QFrame[skinPanel="true"] QCheckBox, QFrame[skinPanel="true"] QRadioButton { background-color: %(panel)s; color: %(panelText)s; }
QGroupBox { background-color: %(panel)s; color: %(panelText)s; border: 1px solid %(border)s; border-radius: 6px; margin-top: 14px; }
QPushButton { background-color: %(button)s; color: %(buttonText)s; border: 1px solid %(border)s; border-radius: 5px; padding: 3px 8px; }
QPushButton:hover { background-color: %(hover)s; color: %(hoverText)s; }
QPushButton:pressed, QPushButton:default { border: 2px solid %(border)s; }
QPushButton:disabled { color: %(disabledText)s; border: 1px dashed %(border)s; }
QRadioButton::indicator, QCheckBox::indicator { width: 12px; height: 12px; border: 2px solid %(indicator)s; background-color: %(field)s; }
QRadioButton::indicator { border-radius: 8px; }
QCheckBox::indicator { border-radius: 3px; }
QRadioButton::indicator:checked, QCheckBox::indicator:checked { background-color: %(accent)s; }
QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top center; padding: 0px 6px; }
QLineEdit, QComboBox, QPlainTextEdit, QTextEdit, QAbstractItemView { background-color: %(field)s; color: %(fieldText)s; border: 1px solid %(border)s; selection-background-color: %(accent)s; selection-color: %(accentText)s; }
QLabel[hint="true"] { background-color: %(accent)s; color: %(accentText)s; border-radius: 4px; padding: 2px 6px; }
QScrollBar { background-color: %(panel)s; border: 1px solid %(border)s; }
QScrollBar:vertical { width: 16px; margin: 16px 0px 16px 0px; }
QScrollBar:horizontal { height: 16px; margin: 0px 16px 0px 16px; }
QScrollBar::handle { background-color: %(button)s; border: 1px solid %(border)s; border-radius: 4px; }
QScrollBar::handle:vertical { min-height: 20px; }
QScrollBar::handle:horizontal { min-width: 20px; }
QScrollBar::handle:hover { background-color: %(hover)s; }
QScrollBar::add-page, QScrollBar::sub-page { background: none; }
QScrollBar::add-line, QScrollBar::sub-line { background-color: %(button)s; border: 1px solid %(border)s; subcontrol-origin: margin; }
QScrollBar::add-line:vertical { height: 15px; subcontrol-position: bottom; }
QScrollBar::sub-line:vertical { height: 15px; subcontrol-position: top; }
QScrollBar::add-line:horizontal { width: 15px; subcontrol-position: right; }
QScrollBar::sub-line:horizontal { width: 15px; subcontrol-position: left; }
QScrollBar::up-arrow, QScrollBar::down-arrow, QScrollBar::left-arrow, QScrollBar::right-arrow { width: 9px; height: 9px; background: none; }
QScrollBar::up-arrow { image: url(:/velmora/skin/arrows/up-%(arrows)s.png); }
QScrollBar::down-arrow { image: url(:/velmora/skin/arrows/down-%(arrows)s.png); }
QScrollBar::left-arrow { image: url(:/velmora/skin/arrows/left-%(arrows)s.png); }
QScrollBar::right-arrow { image: url(:/velmora/skin/arrows/right-%(arrows)s.png); }
""" % dict(c, number=number, name=name)


def png(width, height, pixels):
    """A minimal RGBA PNG; pixels is a list of rows of (r, g, b, a)."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    raw = b"".join(b"\0" + bytes(v for px in row for v in px) for row in pixels)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def arrow(direction, colour):
    """A 9 x 9 triangle pointing up, down, left or right."""
    size = 9
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            # Distance from the tip along the arrow and across it, for an arrow pointing up.
            along, across = {"up": (y - 2, x - 4), "down": (6 - y, x - 4),
                             "left": (x - 2, y - 4), "right": (6 - x, y - 4)}[direction]
            inside = 0 <= along <= 4 and abs(across) <= along
            row.append(colour + ((255,) if inside else (0,)))
        rows.append(row)
    return png(size, size, rows)


def write_arrows(folder):
    os.makedirs(os.path.join(folder, "arrows"), exist_ok=True)
    for name, colour in (("dark", (20, 20, 20)), ("light", (245, 245, 245))):
        for direction in ("up", "down", "left", "right"):
            with open(os.path.join(folder, "arrows", "%s-%s.png" % (direction, name)), "wb") as out:
                out.write(arrow(direction, colour))


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "skin")
    os.makedirs(folder, exist_ok=True)
    write_arrows(folder)
    for number in range(1, 49):
        with open(os.path.join(folder, "%d.skn" % number), "w", encoding="utf-8", newline="\n") as out:
            out.write(skin(number))


if __name__ == "__main__":
    main()
