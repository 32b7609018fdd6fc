#!/usr/bin/env python3
"""Draws the program's bitmap buttons and the side-bar logo.

Writes one SVG per bitmap into resources/bitmaps/svg/, renders each to
resources/bitmaps/<name>.png (1x) and <name>@2x.png (2x) with rsvg-convert
(Debian package librsvg2-bin), and lists the PNG files in
resources/bitmaps.qrc. Run it after changing a drawing; the build only reads
the PNG files and the list.

The frames use the four reference colours that the tool button replaces by
the desktop palette when it loads a bitmap: light grey #c0c0c0 (button face),
white #ffffff (highlight), dark grey #808080 (shadow) and black #000000
(button text). Interiors are left transparent so that the face the button
paints first shows through; coloured glyph parts keep their own colours.
Geometry sits on the pixel grid so that both scales render sharp.
"""

import os
import subprocess
import sys

FACE = "#c0c0c0"
HIGHLIGHT = "#ffffff"
SHADOW = "#808080"
TEXT = "#000000"

# Glyph colours: fixed, they do not follow the palette.
BLUE = "#2f6db5"
BLUE_DARK = "#1d4b86"
GREEN = "#2e9d48"
RED = "#d23a2a"
ORANGE = "#e0841e"
YELLOW = "#eebc3a"
PAPER = "#fbfbfb"
STEEL = "#5d6874"
INK = TEXT

FONT = "DejaVu Sans"
FONT_NARROW = "DejaVu Sans Condensed"

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.normpath(os.path.join(HERE, "..", "bitmaps"))
SVG_OUT = os.path.join(OUT, "svg")


# --- glyphs: SVG fragments in a 20 x 20 box -------------------------------

def axes():
    return (f'<path d="M2.5,1 V17.5 H19" fill="none" stroke="{INK}" '
            f'stroke-opacity="0.75" stroke-width="1"/>')


def text_glyph(lines, size=7.0, weight="bold"):
    parts = []
    n = len(lines)
    for i, line in enumerate(lines):
        y = 10 + (i - (n - 1) / 2) * (size + 1.2) + size * 0.36
        parts.append(f'<text x="10" y="{y:.2f}" font-family="{FONT}" font-size="{size}" '
                     f'font-weight="{weight}" text-anchor="middle" fill="{BLUE_DARK}">{line}</text>')
    return "".join(parts)


def g_file_new():
    return (f'<path d="M4.5,1.5 H12.5 L16.5,5.5 V18.5 H4.5 Z" fill="{PAPER}" stroke="{INK}" stroke-opacity="0.7"/>'
            f'<path d="M12.5,1.5 V5.5 H16.5" fill="none" stroke="{INK}" stroke-opacity="0.7"/>'
            f'<circle cx="14" cy="15" r="4" fill="{RED}" stroke="#8e1f14" stroke-width="0.8"/>')


def g_file_open():
    return (f'<path d="M1.5,4.5 H7.5 L9.5,6.5 H17.5 V16.5 H1.5 Z" fill="{YELLOW}" stroke="#9a7420"/>'
            f'<path d="M1.5,16.5 L4.5,9.5 H19.5 L17.5,16.5 Z" fill="#f6d67a" stroke="#9a7420" stroke-linejoin="round"/>')


def g_file_save():
    return (f'<path d="M2.5,2.5 H15.5 L17.5,4.5 V17.5 H2.5 Z" fill="{BLUE}" stroke="{BLUE_DARK}"/>'
            f'<rect x="5" y="3" width="9" height="5" fill="{PAPER}"/>'
            f'<rect x="11" y="4" width="2" height="3" fill="{BLUE_DARK}"/>'
            f'<rect x="5" y="11" width="10" height="6" fill="#d7e3f3"/>')


def g_print():
    return (f'<rect x="5.5" y="1.5" width="9" height="6" fill="{PAPER}" stroke="{INK}" stroke-opacity="0.6"/>'
            f'<rect x="1.5" y="7.5" width="17" height="7" rx="1" fill="{STEEL}" stroke="#39414a"/>'
            f'<rect x="5.5" y="12.5" width="9" height="6" fill="{PAPER}" stroke="{INK}" stroke-opacity="0.6"/>'
            f'<rect x="15" y="9" width="2" height="1" fill="#7ee07e"/>')


def g_time_series():
    return (axes() +
            f'<path d="M3,9 C5,2 7,2 9,9 S13,16 15,9 S18,4 19,6" fill="none" stroke="{BLUE}" stroke-width="1.6"/>')


def g_spectrum():
    bars = [(4, 6), (6, 13), (8, 9), (10, 11), (12, 4), (14, 9), (16, 12), (18, 14)]
    out = axes()
    for x, top in bars:
        out += f'<rect x="{x}" y="{top}" width="1.4" height="{17 - top}" fill="{BLUE}"/>'
    return out


def g_phase():
    return (axes() +
            f'<path d="M3,14 L9,3 M9,14 L15,3 M15,14 L19,7" fill="none" stroke="{ORANGE}" stroke-width="1.6"/>')


def g_gram():
    colours = ["#1d3a8a", "#2f6db5", "#2aa198", "#9ccf3c", "#f2c230", "#e0841e", "#d23a2a"]
    rows = [[0, 1, 5, 2, 0], [0, 2, 6, 3, 1], [1, 3, 5, 2, 0], [0, 2, 4, 1, 0], [0, 1, 3, 1, 0]]
    out = ""
    for r, row in enumerate(rows):
        for c, level in enumerate(row):
            out += f'<rect x="{2 + c * 3.4:.1f}" y="{2 + r * 3.4:.1f}" width="3.4" height="3.4" fill="{colours[level]}"/>'
    return out + f'<rect x="1.5" y="1.5" width="18" height="18" fill="none" stroke="{INK}" stroke-opacity="0.6"/>'


def g_surface():
    out = ""
    for i in range(4):
        dx, dy = 4 - i * 1.2, i * 3.4
        out += (f'<path d="M{dx},{15 - dy} l2,-1 l2,-5 l2,5 l2,-2 l2,1 l2,-3 l2,4" '
                f'fill="#d7e3f3" stroke="{BLUE}" stroke-width="1.1" stroke-linejoin="round"/>')
    return out


def g_settings():
    # A gear: eight teeth around a ring.
    import math
    pts = []
    for i in range(16):
        a = math.pi * 2 * i / 16
        r = 8.5 if i % 2 == 0 else 6.3
        a0 = a - math.pi / 16 * 0.55
        a1 = a + math.pi / 16 * 0.55
        pts.append((10 + r * math.cos(a0), 10 + r * math.sin(a0)))
        pts.append((10 + r * math.cos(a1), 10 + r * math.sin(a1)))
    d = "M" + " L".join(f"{x:.2f},{y:.2f}" for x, y in pts) + " Z"
    return (f'<path d="{d}" fill="{STEEL}" stroke="#39414a" stroke-width="0.8" stroke-linejoin="round"/>'
            f'<circle cx="10" cy="10" r="2.8" fill="{PAPER}" stroke="#39414a" stroke-width="0.8"/>')


def g_scaling():
    out = f'<path d="M5.5,2 V18" stroke="{INK}" stroke-opacity="0.75"/>'
    for y, length in [(3, 5), (5, 3), (7, 3), (9, 5), (11, 3), (13, 3), (15, 5)]:
        out += f'<path d="M5.5,{y + 0.5} h{length}" stroke="{INK}" stroke-opacity="0.75"/>'
    out += (f'<path d="M15.5,3 V16" stroke="{BLUE}" stroke-width="1.5"/>'
            f'<path d="M12.5,6 L15.5,2.5 L18.5,6 M12.5,13 L15.5,16.5 L18.5,13" fill="none" stroke="{BLUE}" stroke-width="1.5"/>')
    return out


def g_calibrate():
    return (f'<rect x="6" y="1.5" width="8" height="9" rx="4" fill="{STEEL}" stroke="#39414a"/>'
            f'<path d="M7,5.5 H13 M7,7.5 H13" stroke="#9aa4ae" stroke-width="0.8"/>'
            f'<path d="M4.5,8 V9 A5.5,5 0 0 0 15.5,9 V8" fill="none" stroke="{INK}" stroke-opacity="0.75" stroke-width="1.2"/>'
            f'<path d="M10,14 V18 M6.5,18.5 H13.5" stroke="{INK}" stroke-opacity="0.75" stroke-width="1.2"/>'
            f'<path d="M15.5,13 L19,16 L15.5,19 Z" fill="{ORANGE}"/>')


def g_trigger():
    return (axes() +
            f'<path d="M3,14.5 H9 V4.5 H19" fill="none" stroke="{BLUE}" stroke-width="1.6"/>'
            f'<path d="M6.5,8 L9,10.5 L11.5,8" fill="none" stroke="{ORANGE}" stroke-width="1.5"/>'
            f'<path d="M2,9.5 H18" stroke="{ORANGE}" stroke-width="0.9" stroke-dasharray="1.5 1.5"/>')


def g_run_opts():
    return (f'<circle cx="10" cy="11" r="7.5" fill="{PAPER}" stroke="{INK}" stroke-opacity="0.75" stroke-width="1.2"/>'
            f'<rect x="8" y="1" width="4" height="2" fill="{INK}" fill-opacity="0.75"/>'
            f'<path d="M10,11 V6 M10,11 L13.5,13" stroke="{INK}" stroke-opacity="0.8" stroke-width="1.3"/>'
            f'<path d="M14,14 L19,17 L14,20 Z" fill="{GREEN}"/>')


def g_device():
    return (f'<rect x="1.5" y="5.5" width="17" height="10" rx="1.5" fill="{BLUE}" stroke="{BLUE_DARK}"/>'
            f'<circle cx="6" cy="10.5" r="2.3" fill="#d9dde2" stroke="#39414a" stroke-width="0.8"/>'
            f'<circle cx="12" cy="10.5" r="2.3" fill="#d9dde2" stroke="#39414a" stroke-width="0.8"/>'
            f'<rect x="16" y="8" width="1.5" height="1.5" fill="#7ee07e"/>'
            f'<path d="M10,15.5 V19" stroke="{INK}" stroke-opacity="0.7" stroke-width="1.5"/>')


def g_generate():
    return (f'<rect x="1.5" y="5.5" width="7" height="10" rx="1" fill="{STEEL}" stroke="#39414a"/>'
            f'<circle cx="5" cy="10.5" r="1.8" fill="#d9dde2"/>'
            f'<path d="M9.5,10.5 C11,5 12.5,5 14,10.5 S17,16 18.5,10.5" fill="none" stroke="{GREEN}" stroke-width="1.6"/>')


def peak_curve():
    return (f'<path d="M3,16 C6,15.5 7,14 8.5,9 C9.5,4 10.5,4 11.5,9 C13,14 15,15.5 19,16" '
            f'fill="none" stroke="{BLUE}" stroke-width="1.5"/>')


def g_peak_freq():
    return (axes() + peak_curve() +
            f'<path d="M10,5 V17" stroke="{RED}" stroke-width="1" stroke-dasharray="1.5 1"/>'
            f'<path d="M8,19.5 L10,17.2 L12,19.5 Z" fill="{RED}"/>')


def g_peak_amp():
    return (axes() + peak_curve() +
            f'<path d="M3,5.5 H17" stroke="{RED}" stroke-width="1" stroke-dasharray="1.5 1"/>'
            f'<path d="M0.5,3.5 L2.8,5.5 L0.5,7.5 Z" fill="{RED}"/>')


def g_total_pwr():
    return (f'<path d="M15.5,3.5 H4.5 L10,10 L4.5,16.5 H15.5" fill="none" stroke="{BLUE_DARK}" '
            f'stroke-width="2" stroke-linejoin="miter"/>')


def g_thd_freq():
    return (axes() +
            f'<path d="M3,6 C6,12 9,14 12,13 S17,9 19,5" fill="none" stroke="{BLUE}" stroke-width="1.5"/>'
            f'<text x="12" y="8" font-family="{FONT}" font-size="5" font-weight="bold" '
            f'text-anchor="middle" fill="{BLUE_DARK}">THD</text>')


def g_macro():
    return (f'<rect x="1.5" y="2.5" width="17" height="15" rx="1" fill="#2b3138" stroke="#1b1f24"/>'
            f'<path d="M4,7 L7,9.5 L4,12" fill="none" stroke="#7ee07e" stroke-width="1.3"/>'
            f'<path d="M8.5,13.5 H13" stroke="#7ee07e" stroke-width="1.3"/>')


def g_data_log():
    out = f'<rect x="2.5" y="1.5" width="13" height="17" fill="{PAPER}" stroke="{INK}" stroke-opacity="0.7"/>'
    for y in (5.5, 8.5, 11.5, 14.5):
        out += f'<path d="M4,{y} H14" stroke="{BLUE}" stroke-opacity="0.8"/>'
    out += f'<path d="M7.5,3 V17" stroke="{BLUE}" stroke-opacity="0.5"/>'
    out += (f'<path d="M12,17 L18,9 L19.8,10.4 L13.8,18.4 L11.5,19 Z" fill="{ORANGE}" stroke="#8a4f0e" '
            f'stroke-width="0.7" stroke-linejoin="round"/>')
    return out


def g_delay():
    return (axes() +
            f'<path d="M3,16.5 H5 V6 H6.5 V16.5 H13 V10 H14.5 V16.5 H19" fill="none" stroke="{BLUE}" stroke-width="1.2"/>'
            f'<path d="M7,3.5 H13" stroke="{RED}" stroke-width="1.1"/>'
            f'<path d="M8.5,1.5 L6.5,3.5 L8.5,5.5 M11.5,1.5 L13.5,3.5 L11.5,5.5" fill="none" stroke="{RED}" stroke-width="1.1"/>')


def g_reverb():
    return (axes() +
            f'<path d="M3.5,10 L4.5,2 L5.5,16 L6.5,4.5 L7.5,14 L8.5,6.5 L9.5,12.5 L10.5,8 L11.5,11.5 '
            f'L12.5,9 L13.5,10.8 L14.5,9.6 L16,10.3 L19,10" fill="none" stroke="{BLUE}" stroke-width="1" '
            f'stroke-linejoin="round"/>'
            f'<path d="M4.5,2 Q8,9 19,9.5" fill="none" stroke="{RED}" stroke-width="0.9" stroke-dasharray="1.4 1"/>')


def g_phase_scope():
    return (f'<circle cx="10" cy="10" r="8.5" fill="#2b3138" stroke="#1b1f24"/>'
            f'<path d="M2,10 H18 M10,2 V18" stroke="#55606b" stroke-width="0.6"/>'
            f'<ellipse cx="10" cy="10" rx="7" ry="3" transform="rotate(-40 10 10)" fill="none" '
            f'stroke="#7ee07e" stroke-width="1.3"/>')


# --- the spectrum plot's tool strip ------------------------------------------

def magnifier(inner=""):
    """A lens at the top left with its handle to the bottom right; inner is
    drawn inside the lens."""
    return (f'<path d="M12.5,12.5 L18,18" stroke="{STEEL}" stroke-width="3" stroke-linecap="round"/>'
            f'<circle cx="8.5" cy="8.5" r="6" fill="none" stroke="{BLUE_DARK}" stroke-width="1.6"/>'
            + inner)


def g_zoom_in_mode():
    # A dragged frequency range under the lens: the zoom-by-selection mode.
    return (f'<path d="M1.5,17.5 H12.5" stroke="{INK}" stroke-opacity="0.75"/>'
            + magnifier(f'<path d="M5.5,5.5 V11.5 M11.5,5.5 V11.5" stroke="{ORANGE}" stroke-width="1.2"/>'
                        f'<path d="M6,8.5 H11" stroke="{ORANGE}" stroke-width="1" stroke-dasharray="1 1"/>'))


def g_zoom_2x_in():
    return magnifier(f'<path d="M5,8.5 H12 M8.5,5 V12" stroke="{GREEN}" stroke-width="1.8"/>')


def g_zoom_2x_out():
    return magnifier(f'<path d="M5,8.5 H12" stroke="{RED}" stroke-width="1.8"/>')


def g_zoom_full():
    return (f'<path d="M1.5,4 V16 M18.5,4 V16" stroke="{INK}" stroke-opacity="0.75" stroke-width="1.2"/>'
            f'<path d="M3.5,10 H16.5" stroke="{BLUE}" stroke-width="1.6"/>'
            f'<path d="M7,6.5 L3.5,10 L7,13.5 M13,6.5 L16.5,10 L13,13.5" fill="none" stroke="{BLUE}" '
            f'stroke-width="1.6" stroke-linejoin="round"/>')


def g_graph_line():
    return (axes() +
            f'<path d="M3.5,14 L6,12 L8,13 L10,5 L12,12 L14,10.5 L16.5,13 L19,12" fill="none" '
            f'stroke="{GREEN}" stroke-width="1.5" stroke-linejoin="round"/>')


def g_graph_step_bar():
    return (axes() +
            f'<path d="M3,17 V12.5 H6.5 V9.5 H10 V4.5 H13.5 V10.5 H17 V13.5 H19" fill="none" '
            f'stroke="{GREEN}" stroke-width="1.4"/>')


def g_graph_bar():
    out = axes()
    for x, top in [(4, 12), (7.5, 9), (11, 4), (14.5, 10), (18, 13)]:
        out += f'<rect x="{x - 0.5}" y="{top}" width="2.5" height="{17 - top}" fill="{GREEN}"/>'
    return out


def g_options():
    out = ""
    for y, knob in [(4.5, 13), (10.5, 6), (16.5, 11)]:
        out += (f'<path d="M2,{y} H18" stroke="{INK}" stroke-opacity="0.7" stroke-width="1.2"/>'
                f'<rect x="{knob - 2}" y="{y - 2.5}" width="4" height="5" rx="1" fill="{BLUE}" '
                f'stroke="{BLUE_DARK}" stroke-width="0.8"/>')
    return out


def g_marker():
    # The plot's own marker: a triangle with a stem standing on a peak.
    return (axes() +
            f'<path d="M3,16 C6,15.5 7.5,14 9,11 C10,8.5 11,8.5 12,11 C13.5,14 15,15.5 19,16" '
            f'fill="none" stroke="{GREEN}" stroke-width="1.3"/>'
            f'<path d="M10.5,8 L8,3.5 H13 Z" fill="{RED}" stroke="#8e1f14" stroke-width="0.8" '
            f'stroke-linejoin="round"/>'
            f'<path d="M10.5,3.5 V0.5" stroke="#8e1f14" stroke-width="1"/>')


def g_auto_scale():
    return (axes() +
            f'<path d="M5,15 C7,14 8,12 9.5,7 C10.5,4.5 11.5,4.5 12.5,7 C14,12 15,14 17,15" fill="none" '
            f'stroke="{GREEN}" stroke-width="1.3"/>'
            f'<path d="M16.5,2 V12 M14,4.5 L16.5,2 L19,4.5 M14,9.5 L16.5,12 L19,9.5" fill="none" '
            f'stroke="{ORANGE}" stroke-width="1.3" stroke-linejoin="round"/>')


# The tool strip names its bitmaps with its own suffixes: (glyph, up, down,
# grey or None).
PLOT_TOOL_GLYPHS = {
    "ZoomIn": (g_zoom_in_mode, "ZoomInUp", "ZoomInDn", "ZoomInGry"),
    "Zoom2XIn": (g_zoom_2x_in, "Zoom2XInUp", "Zoom2XInDn", "Zoom2XInGry"),
    "Zoom2XOut": (g_zoom_2x_out, "Zoom2XOutUp", "Zoom2XOutDn", "Zoom2XOutGry"),
    "ZoomFull": (g_zoom_full, "ZoomFullUp", "ZoomFullDn", "ZoomFullGry"),
    "GraphLine": (g_graph_line, "GraphLineUp", "GraphLineDn", None),
    "GraphStepBar": (g_graph_step_bar, "GraphStepBarUp", "GraphStepBarDn", None),
    "GraphBar": (g_graph_bar, "GraphBarUp", "GraphBarDn", None),
    "Options": (g_options, "OptionsUp", "OptionsDn", None),
    "Marker": (g_marker, "MarkerUp", "MarkerDown", None),
    "AutoScale": (g_auto_scale, "AutoScaleUp", "AutoScaleDn", "AutoGr"),
}


# --- frames ----------------------------------------------------------------

def tile_frame(w, h, down):
    """A raised (up) or pressed (down) tile covering the whole bitmap."""
    r = 2.5
    frame = (f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="{r}" '
             f'fill="{SHADOW if down else "none"}" fill-opacity="{0.28 if down else 0}" stroke="{SHADOW}"/>')
    if down:
        inner = (f'<path d="M2,1.5 H{w - 2} M1.5,2 V{h - 2}" stroke="{SHADOW}" stroke-opacity="0.9"/>')
    else:
        inner = (f'<path d="M2,1.5 H{w - 2} M1.5,2 V{h - 2}" stroke="{HIGHLIGHT}"/>'
                 f'<path d="M2,{h - 1.5} H{w - 2} M{w - 1.5},2 V{h - 2}" stroke="{SHADOW}" stroke-opacity="0.45"/>')
    return frame + inner


GREY_FILTERS = (
    '<defs>'
    f'<filter id="greyInk" x="0" y="0" width="1" height="1" filterUnits="objectBoundingBox">'
    f'<feFlood flood-color="{SHADOW}" result="ink"/>'
    '<feComposite in="ink" in2="SourceAlpha" operator="in"/></filter>'
    f'<filter id="greyEmboss" x="0" y="0" width="1" height="1" filterUnits="objectBoundingBox">'
    f'<feFlood flood-color="{HIGHLIGHT}" result="ink"/>'
    '<feComposite in="ink" in2="SourceAlpha" operator="in"/></filter>'
    '</defs>')


def placed_glyph(glyph, x, y, state):
    """The glyph at (x, y); pressed glyphs move one pixel down and right, grey
    ones become a shadow-coloured silhouette over a highlight emboss."""
    if state == "down":
        return f'<g transform="translate({x + 1},{y + 1})">{glyph}</g>'
    if state == "grey":
        return (f'<g filter="url(#greyEmboss)"><g transform="translate({x + 1},{y + 1})">{glyph}</g></g>'
                f'<g filter="url(#greyInk)"><g transform="translate({x},{y})">{glyph}</g></g>')
    return f'<g transform="translate({x},{y})">{glyph}</g>'


def svg(w, h, body, defs=""):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" viewBox="0 0 {w} {h}">'
            f'{defs}{body}</svg>\n')


def tool_tile(glyph, state):
    body = tile_frame(28, 28, state == "down") + placed_glyph(glyph, 4, 4, state)
    return svg(28, 28, body, GREY_FILTERS if state == "grey" else "")


def shortcut_button(glyph, label, state):
    """An 80 x 28 side-bar shortcut: a 28 x 28 tile and its caption. The tool
    bar shows the same bitmap in a 28 x 28 button, which then shows the tile."""
    down = state == "down"
    body = tile_frame(28, 28, down) + placed_glyph(glyph, 4, 4, state)
    shift = 1 if down else 0
    body += (f'<text x="{32 + shift}" y="{18 + shift}" font-family="{FONT_NARROW}" font-size="10.5" '
             f'fill="{TEXT}">{label}</text>')
    return svg(80, 28, body)


def lamp_button(glyph_off, glyph_on, state):
    down = state == "down"
    body = tile_frame(40, 28, down) + placed_glyph(glyph_on if down else glyph_off, 10, 4, state)
    return svg(40, 28, body)


def transport_button(glyph, state):
    """A 40 x 32 recorder transport button: the tile and a centred glyph."""
    body = tile_frame(40, 32, state == "down") + placed_glyph(glyph, 10, 6, state)
    return svg(40, 32, body, GREY_FILTERS if state == "grey" else "")


def g_record():
    return f'<circle cx="10" cy="10" r="6" fill="{RED}" stroke="{INK}" stroke-opacity="0.6"/>'


def g_play():
    return f'<path d="M6,4 L16,10 L6,16 Z" fill="{GREEN}" stroke="{INK}" stroke-opacity="0.6" stroke-linejoin="round"/>'


def g_stop_transport():
    return f'<rect x="5.5" y="5.5" width="9" height="9" fill="{STEEL}" stroke="{INK}" stroke-opacity="0.6"/>'


def g_rewind():
    return (f'<path d="M3.5,4 V16" stroke="{INK}" stroke-width="1.5"/>'
            f'<path d="M11,4 L5,10 L11,16 Z M17,4 L11,10 L17,16 Z" fill="{BLUE}" stroke="{INK}" '
            f'stroke-opacity="0.6" stroke-linejoin="round"/>')


def g_fast_forward():
    return (f'<path d="M16.5,4 V16" stroke="{INK}" stroke-width="1.5"/>'
            f'<path d="M3,4 L9,10 L3,16 Z M9,4 L15,10 L9,16 Z" fill="{BLUE}" stroke="{INK}" '
            f'stroke-opacity="0.6" stroke-linejoin="round"/>')


# The recorder's transport: glyph, then the up, down and grey names.
TRANSPORT_GLYPHS = {
    "Rec": (g_record, "RecUp", "RecDown", "RecGrey"),
    "Play": (g_play, "PlayUp", "PlayDown", "PlayGrey"),
    "Stop": (g_stop_transport, "StopUp_Rec", "StopDown_Rec", "StopGrey_Rec"),
    "Rwd": (g_rewind, "RwdUp", "RwdDown", "RwdGrey"),
    "Fwd": (g_fast_forward, "FwdUp", "FwdDown", "FwdGrey"),
}


def run_glyph(fill, edge, glow):
    halo = (f'<path d="M6,4 L17,10 L6,16 Z" fill="none" stroke="{glow}" stroke-width="3.5" '
            f'stroke-opacity="0.35" stroke-linejoin="round"/>') if glow else ""
    return halo + f'<path d="M6,4 L17,10 L6,16 Z" fill="{fill}" stroke="{edge}" stroke-linejoin="round"/>'


def stop_glyph(fill, edge, glow):
    halo = (f'<rect x="4.5" y="4.5" width="11" height="11" rx="1" fill="none" stroke="{glow}" '
            f'stroke-width="3.5" stroke-opacity="0.35"/>') if glow else ""
    return halo + f'<rect x="4.5" y="4.5" width="11" height="11" rx="1" fill="{fill}" stroke="{edge}"/>'


def logo():
    """Side-bar logo, 98 x 81; the bar shows its left 89 columns."""
    heights = [6, 9, 14, 24, 31, 22, 16, 27, 19, 12, 9, 7, 5]
    colours = ["#1d4b86", "#215a98", "#2568a9", "#2a77b9", "#2f86c6", "#2f93c9",
               "#2aa0c4", "#25a9b8", "#22b0a8", "#27b596", "#33b982", "#43bb6e", "#55bd5c"]
    body = ""
    x0 = 7.0
    for i, (h, c) in enumerate(zip(heights, colours)):
        body += f'<rect x="{x0 + i * 5.8:.1f}" y="{38 - h}" width="4.4" height="{h}" rx="0.8" fill="{c}"/>'
    body += f'<path d="M4,39.5 H85" stroke="{SHADOW}"/>'
    body += (f'<text x="44.5" y="59" font-family="{FONT}" font-size="15.5" font-weight="bold" '
             f'text-anchor="middle" fill="{BLUE_DARK}" letter-spacing="0.3">Talvenor</text>')
    body += (f'<text x="44.5" y="73" font-family="{FONT}" font-size="10" text-anchor="middle" '
             f'fill="{TEXT}" letter-spacing="3">MOBILE</text>')
    return svg(98, 81, body)


def spectrum_bars(x0, baseline, step, width, scale):
    """The logo's spectrum: bars rising to a peak and falling away, blue to green."""
    heights = [6, 9, 14, 24, 31, 22, 16, 27, 19, 12, 9, 7, 5]
    colours = ["#1d4b86", "#215a98", "#2568a9", "#2a77b9", "#2f86c6", "#2f93c9",
               "#2aa0c4", "#25a9b8", "#22b0a8", "#27b596", "#33b982", "#43bb6e", "#55bd5c"]
    body = ""
    for i, (h, c) in enumerate(zip(heights, colours)):
        body += (f'<rect x="{x0 + i * step:.1f}" y="{baseline - h * scale:.1f}" width="{width:.1f}" '
                 f'height="{h * scale:.1f}" rx="{width * 0.18:.1f}" fill="{c}"/>')
    return body


def splash_logo():
    """The About box's and the splash's logo, 500 x 140."""
    body = (f'<rect x="0.5" y="0.5" width="499" height="139" rx="6" fill="{PAPER}" stroke="{SHADOW}"/>'
            f'<rect x="12" y="12" width="150" height="116" rx="4" fill="#eef3f9"/>')
    body += spectrum_bars(19, 112, 10.6, 8, 2.9)
    body += f'<path d="M16,112.5 H158" stroke="{SHADOW}"/>'
    body += (f'<text x="186" y="70" font-family="{FONT}" font-size="46" font-weight="bold" '
             f'fill="{BLUE_DARK}" letter-spacing="0.5">Talvenor</text>')
    body += (f'<text x="189" y="98" font-family="{FONT}" font-size="19" fill="{TEXT}" '
             f'letter-spacing="9">MOBILE</text>')
    body += (f'<text x="189" y="122" font-family="{FONT}" font-size="12.5" fill="{STEEL}">'
             f'Real-time audio spectrum analyzer</text>')
    return svg(500, 140, body)


def app_icon():
    """The main window's icon, 32 x 32."""
    body = '<rect x="1" y="1" width="30" height="30" rx="6" fill="#1d4b86"/>'
    heights = [4, 7, 12, 19, 11, 15, 8, 5]
    colours = ["#8fc1ea", "#8fc1ea", "#9fd3e6", "#ffffff", "#b5e3d6", "#c9ecc3", "#b5e3d6", "#9fd3e6"]
    for i, (h, c) in enumerate(zip(heights, colours)):
        body += f'<rect x="{5 + i * 3}" y="{26 - h}" width="2" height="{h}" fill="{c}"/>'
    return svg(32, 32, body)


# --- the bitmap table --------------------------------------------------------

TOOL_GLYPHS = {
    "FileNew": (g_file_new, True), "FileOpen": (g_file_open, True), "FileSave": (g_file_save, True),
    "Print": (g_print, True), "TimeSeries": (g_time_series, False), "Spectrum": (g_spectrum, False),
    "Phase": (g_phase, False), "Gram": (g_gram, False), "Surface": (g_surface, False),
    "Scaling": (g_scaling, False), "Trigger": (g_trigger, False), "RunOpts": (g_run_opts, False),
    "Generate": (g_generate, False), "PeakFreq": (g_peak_freq, False), "PeakAmp": (g_peak_amp, False),
    "TotalPwr": (g_total_pwr, False),
    "THD_": (lambda: text_glyph(["THD"]), False),
    "THD_N_": (lambda: text_glyph(["THD", "+N"], size=6.6), False),
    "THDFreq": (g_thd_freq, False),
    "IMD_": (lambda: text_glyph(["IMD"]), False),
    "SNR_": (lambda: text_glyph(["SNR"]), False),
    "Leq": (lambda: text_glyph(["Leq"], size=8.0), False),
    "Macro": (g_macro, False), "Delay": (g_delay, True), "Reverb": (g_reverb, False),
    "PhaseScope": (g_phase_scope, False),
}

# The side bar's shortcuts; the tool bar reuses these names.
SHORTCUTS = {
    "Settings": (g_settings, "Settings"),
    "Calibrate": (g_calibrate, "Calibrate"),
    "Device": (g_device, "Device"),
    "DataLog": (g_data_log, "Data Log"),
}


def drawings():
    for stem, (glyph, with_grey) in TOOL_GLYPHS.items():
        yield stem + "Up", tool_tile(glyph(), "up")
        yield stem + "Dn", tool_tile(glyph(), "down")
        if with_grey:
            yield stem + "Gr", tool_tile(glyph(), "grey")
    for glyph, up, down, grey in PLOT_TOOL_GLYPHS.values():
        yield up, tool_tile(glyph(), "up")
        yield down, tool_tile(glyph(), "down")
        if grey:
            yield grey, tool_tile(glyph(), "grey")
    for stem, (glyph, label) in SHORTCUTS.items():
        yield stem + "Up", shortcut_button(glyph(), label, "up")
        yield stem + "Dn", shortcut_button(glyph(), label, "down")
    for glyph, up, down, grey in TRANSPORT_GLYPHS.values():
        yield up, transport_button(glyph(), "up")
        yield down, transport_button(glyph(), "down")
        yield grey, transport_button(glyph(), "grey")
    # Run and Stop are the bar's state lamps: dim when up, lit when latched.
    run_off = run_glyph("#9cc5a6", "#5d8a69", None)
    run_on = run_glyph("#23b24c", "#137332", "#23b24c")
    stop_off = stop_glyph("#dba7a1", "#a4716b", None)
    stop_on = stop_glyph("#e0352a", "#8e1f14", "#e0352a")
    yield "RunUp", lamp_button(run_off, run_on, "up")
    yield "RunDown", lamp_button(run_off, run_on, "down")
    yield "StopUp", lamp_button(stop_off, stop_on, "up")
    yield "StopDown", lamp_button(stop_off, stop_on, "down")
    yield "SIDEBAR_LOGO", logo()
    yield "SPLASH_SCREEN_LOGO", splash_logo()
    yield "IDI_MAIN_APP", app_icon()


def render(svg_path, png_path, scale):
    subprocess.run(["rsvg-convert", "--zoom", str(scale), "-o", png_path, svg_path], check=True)


def write_qrc(names):
    lines = ['<!DOCTYPE RCC>', '<!-- Written by tools/draw_bitmaps.py. -->', '<RCC version="1.0">',
             '<qresource prefix="/bitmaps">']
    for name in sorted(names):
        for file in (name + ".png", name + "@2x.png"):
            lines.append(f'    <file alias="{file}">bitmaps/{file}</file>')
    lines += ['</qresource>', '</RCC>', '']
    with open(os.path.join(OUT, "..", "bitmaps.qrc"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


def main():
    os.makedirs(SVG_OUT, exist_ok=True)
    names = []
    for name, text in drawings():
        names.append(name)
        svg_path = os.path.join(SVG_OUT, name + ".svg")
        with open(svg_path, "w", encoding="utf-8") as f:
            f.write(text)
        render(svg_path, os.path.join(OUT, name + ".png"), 1)
        render(svg_path, os.path.join(OUT, name + "@2x.png"), 2)
    write_qrc(names)
    print(f"{len(names)} bitmaps written to {OUT}", file=sys.stderr)


if __name__ == "__main__":
    main()
