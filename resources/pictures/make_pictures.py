#!/usr/bin/env python3
"""Draws the program's pictures and embeds them in the program.

Every picture is an SVG written here, rasterised with rsvg-convert and
turned into a C++ byte array. Buttons come in three looks: normal (a quiet
glass tile), hover (lit blue) and pressed (darker, the glyph one pixel down).

    make_pictures.py OUT_DIR [--png-only]

writes OUT_DIR/pictures.{h,cpp} (and the PNGs under OUT_DIR/png).
"""
import os
import subprocess
import sys

FONT = "DejaVu Sans"
CJK_FONT = "WenQuanYi Zen Hei"
WHITE = "#ffffff"


def tile(w, h, state, radius=None):
    """The rounded glass tile behind a glyph."""
    r = radius if radius is not None else max(3, min(w, h) // 5)
    if state == "normal":
        fill, fill_alpha, stroke, stroke_alpha = "#ffffff", 0.10, "#ffffff", 0.28
    elif state == "hover":
        fill, fill_alpha, stroke, stroke_alpha = "#49b0ff", 0.40, "#a8dcff", 0.90
    else:
        fill, fill_alpha, stroke, stroke_alpha = "#155ea8", 0.55, "#7cc4ff", 0.70
    return (
        f'<defs><linearGradient id="shine" x1="0" y1="0" x2="0" y2="1">'
        f'<stop offset="0" stop-color="#ffffff" stop-opacity="0.22"/>'
        f'<stop offset="0.5" stop-color="#ffffff" stop-opacity="0.04"/>'
        f'<stop offset="1" stop-color="#000000" stop-opacity="0.10"/></linearGradient></defs>'
        f'<rect x="1.5" y="1.5" width="{w - 3}" height="{h - 3}" rx="{r}" fill="{fill}" fill-opacity="{fill_alpha}" '
        f'stroke="{stroke}" stroke-opacity="{stroke_alpha}" stroke-width="1"/>'
        f'<rect x="2" y="2" width="{w - 4}" height="{h - 4}" rx="{r}" fill="url(#shine)"/>'
    )


def glyph_group(body, state, colour=WHITE):
    shift = ' transform="translate(0.5 1)"' if state == "pressed" else ""
    opacity = "0.85" if state == "normal" else "1"
    return f'<g{shift} fill="{colour}" stroke="{colour}" opacity="{opacity}">{body}</g>'


def svg(w, h, content):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" viewBox="0 0 {w} {h}">'
            f"{content}</svg>")


def button(w, h, body, state, colour=WHITE, radius=None):
    return svg(w, h, tile(w, h, state, radius) + glyph_group(body, state, colour))


def text(x, y, size, s, font=FONT, weight="bold", anchor="middle"):
    return (f'<text x="{x}" y="{y}" font-family="{font}" font-size="{size}" font-weight="{weight}" '
            f'text-anchor="{anchor}" stroke="none">{s}</text>')


# Glyphs on a 45 x 45 tile.
G45 = {
    "play": '<path d="M18 13 L32 22.5 L18 32 Z" stroke="none"/>',
    "pause": '<rect x="15" y="13" width="5.5" height="19" rx="1.2" stroke="none"/>'
             '<rect x="24.5" y="13" width="5.5" height="19" rx="1.2" stroke="none"/>',
    "back": '<path d="M22 14 L12 22.5 L22 31 Z M33 14 L23 22.5 L33 31 Z" stroke="none"/>',
    "forward": '<path d="M12 14 L22 22.5 L12 31 Z M23 14 L33 22.5 L23 31 Z" stroke="none"/>',
    "open_audio": '<path d="M10 15 h8 l3 3 h14 v15 h-25 z" fill="none" stroke-width="2" stroke-linejoin="round"/>'
                  '<path d="M24 21 v8" stroke-width="1.8"/><circle cx="22" cy="29.5" r="2.4" stroke="none"/>'
                  '<path d="M24 21 l4 1.5" stroke-width="1.8" stroke-linecap="round"/>',
    "new_document": '<path d="M14 11 h11 l6 6 v17 h-17 z" fill="none" stroke-width="2" stroke-linejoin="round"/>'
                    '<path d="M25 11 v6 h6" fill="none" stroke-width="1.6"/>'
                    '<path d="M22.5 21 v9 M18 25.5 h9" stroke-width="2" stroke-linecap="round"/>',
    "open_document": '<path d="M10 16 h8 l3 3 h13 v14 h-24 z" fill="none" stroke-width="2" stroke-linejoin="round"/>'
                     '<path d="M13 33 l4 -9 h20 l-4 9" fill="none" stroke-width="2" stroke-linejoin="round"/>',
    "save_document": '<path d="M12 12 h17 l4 4 v17 h-21 z" fill="none" stroke-width="2" stroke-linejoin="round"/>'
                     '<rect x="16" y="12" width="10" height="7" fill="none" stroke-width="1.6"/>'
                     '<rect x="16" y="24" width="13" height="9" stroke="none" opacity="0.8"/>',
    "save_document_as": '<path d="M10 12 h15 l4 4 v8 M10 12 v19 h12" fill="none" stroke-width="2" stroke-linejoin="round"/>'
                        '<rect x="14" y="12" width="8" height="6" fill="none" stroke-width="1.6"/>'
                        '<path d="M24 34 l2 -5 l8 -8 l3 3 l-8 8 z" stroke="none"/>',
    "undo": '<path d="M15 20 h11 a7 7 0 0 1 0 14 h-6" fill="none" stroke-width="2.6" stroke-linecap="round"/>'
            '<path d="M16 13 L9 20 L16 27 Z" stroke="none"/>',
    "redo": '<path d="M30 20 h-11 a7 7 0 0 0 0 14 h6" fill="none" stroke-width="2.6" stroke-linecap="round"/>'
            '<path d="M29 13 L36 20 L29 27 Z" stroke="none"/>',
    "cut": '<circle cx="16" cy="30" r="4" fill="none" stroke-width="2"/>'
           '<circle cx="29" cy="30" r="4" fill="none" stroke-width="2"/>'
           '<path d="M18.5 27 L29 11 M26.5 27 L16 11" stroke-width="2" stroke-linecap="round"/>',
    "copy": '<rect x="11" y="11" width="15" height="18" rx="2" fill="none" stroke-width="2"/>'
            '<rect x="19" y="17" width="15" height="18" rx="2" stroke="none" opacity="0.9"/>',
    "paste": '<rect x="12" y="13" width="21" height="22" rx="2.5" fill="none" stroke-width="2"/>'
             '<rect x="17" y="10" width="11" height="6" rx="1.5" stroke="none"/>'
             '<path d="M17 23 h11 M17 28 h8" stroke-width="1.8" stroke-linecap="round"/>',
}


def speed_glyph(step):
    label = f"{step // 10}.{step % 10}x"
    # A small gauge above the figure: its needle leans with the speed.
    import math
    angle = math.radians(180 - (step - 6) / 9 * 180)
    nx, ny = 22.5 + 8 * math.cos(angle), 20 - 8 * math.sin(angle)
    return ('<path d="M12.5 20 A10 10 0 0 1 32.5 20" fill="none" stroke-width="1.6" opacity="0.8"/>'
            f'<path d="M22.5 20 L{nx:.2f} {ny:.2f}" stroke-width="2" stroke-linecap="round"/>'
            '<circle cx="22.5" cy="20" r="1.8" stroke="none"/>'
            + text(22.5, 34, 11, label))


def pictures():
    """(name, width, height, svg text) of every picture."""
    out = []
    states = ("normal", "hover", "pressed")
    for name, body in G45.items():
        for s in states:
            out.append((f"{name}_{s}", 45, 45, button(45, 45, body, s)))
    for step in range(6, 16):
        for s in states:
            out.append((f"speed{step}_{s}", 45, 45, button(45, 45, speed_glyph(step), s)))

    small = {
        # 16 x 16: collapse the editor (an arrow into the lower-left corner).
        ("collapse_editor", 16, 16): '<path d="M11.5 4.5 L5 11 M5 6 v5 h5" fill="none" stroke-width="1.8" stroke-linecap="round"/>',
        # 32 x 32 buttons.
        ("expand_editor", 32, 32): '<path d="M10 22 L22 10 M14 10 h8 v8" fill="none" stroke-width="2.4" stroke-linecap="round"/>',
        ("play_address", 32, 32): '<circle cx="16" cy="16" r="9" fill="none" stroke-width="1.8"/>'
                                  '<path d="M7 16 h18 M16 7 c-5 5 -5 13 0 18 M16 7 c5 5 5 13 0 18" fill="none" stroke-width="1.2"/>'
                                  '<path d="M19 18 l7 4 l-7 4 z" stroke="none"/>',
        ("delete_entry", 32, 32): '<path d="M10 11 h12 M14 11 v-2 h4 v2 M11.5 11 l1 13 h7 l1 -13" fill="none" stroke-width="1.8" stroke-linejoin="round"/>'
                                  '<path d="M16 14 v7" stroke-width="1.4"/>',
        ("clear_entries", 32, 32): '<path d="M9 10 h14 M13.5 10 v-2 h5 v2 M10.5 10 l1 14 h9 l1 -14" fill="none" stroke-width="1.8" stroke-linejoin="round"/>'
                                   '<path d="M13 14 l6 6 M19 14 l-6 6" stroke-width="1.8" stroke-linecap="round"/>',
    }
    for (name, w, h), body in small.items():
        for s in states:
            out.append((f"{name}_{s}", w, h, button(w, h, body, s)))

    # The lecture-mode switch: 48 x 18 pictures in a 50 x 20 button; off and on.
    for mode, colour, label in (("lecture", WHITE, "讲课模式"), ("lecture_on", "#7dff9a", "讲课中…")):
        for s in states:
            body = text(24, 13, 11, label, CJK_FONT, "normal")
            out.append((f"{mode}_{s}", 48, 18, button(48, 18, body, s, colour, radius=8)))

    # 64 x 64 service buttons and 60 x 60 link buttons: an emblem and a caption.
    headset = ('<path d="M20 32 a12 12 0 0 1 24 0" fill="none" stroke-width="2.4"/>'
               '<rect x="17" y="30" width="6" height="10" rx="2" stroke="none"/>'
               '<rect x="41" y="30" width="6" height="10" rx="2" stroke="none"/>')
    bubble = ('<path d="M16 14 h32 a4 4 0 0 1 4 4 v16 a4 4 0 0 1 -4 4 h-20 l-7 6 v-6 h-5 a4 4 0 0 1 -4 -4 v-16 a4 4 0 0 1 4 -4 z" '
              'fill="none" stroke-width="2.2" stroke-linejoin="round"/>')
    services = {
        "service": (headset, "服务介绍", WHITE),
        "support1": (bubble + text(32, 31, 10, "01"), "客服01", "#8ff0a4"),
        "support2": (bubble + text(32, 31, 10, "02"), "客服02", "#8ff0a4"),
        "support1_offline": (bubble + text(32, 31, 10, "01"), "客服01", "#9a9a9a"),
        "support2_offline": (bubble + text(32, 31, 10, "02"), "客服02", "#9a9a9a"),
    }
    for name, (emblem, caption, colour) in services.items():
        for s in states:
            body = emblem + text(32, 57, 11, caption, CJK_FONT, "normal")
            out.append((f"{name}_{s}", 64, 64, button(64, 64, body, s, colour, radius=12)))
    links = {
        "offers": ('<path d="M19 22 h22 l-2 20 h-18 z" fill="none" stroke-width="2.2" stroke-linejoin="round"/>'
                   '<path d="M24 22 v-3 a6 6 0 0 1 12 0 v3" fill="none" stroke-width="2"/>', "特卖"),
        "search": ('<circle cx="27" cy="25" r="9" fill="none" stroke-width="2.6"/>'
                   '<path d="M33.5 31.5 l7 7" stroke-width="3.2" stroke-linecap="round"/>', "搜索"),
    }
    for name, (emblem, caption) in links.items():
        for s in states:
            body = emblem + text(30, 55, 11, caption, CJK_FONT, "normal")
            out.append((f"{name}_{s}", 60, 60, button(60, 60, body, s, radius=12)))

    # The logo, 165 x 45.
    out.append(("logo", 165, 45, svg(165, 45,
        '<defs><linearGradient id="g" x1="0" y1="0" x2="1" y2="0"><stop offset="0" stop-color="#5fc3ff"/>'
        '<stop offset="1" stop-color="#7dffb0"/></linearGradient></defs>'
        '<circle cx="22" cy="22.5" r="16" fill="none" stroke="url(#g)" stroke-width="3"/>'
        '<path d="M15 17 h14 l-14 12 h14" fill="none" stroke="#ffffff" stroke-width="2.6" stroke-linejoin="round"/>'
        f'<g fill="#ffffff">{text(46, 26, 21, "Zelvo", FONT, "bold", "start")}'
        f'{text(47, 40, 11, "录音整理工具", CJK_FONT, "normal", "start")}</g>')))

    # Seek-bar thumbs, 23 x 21: normal and hover.
    for name, face, rim in (("seek_thumb", "#f4f8fc", "#7f9bb8"), ("seek_thumb_hover", "#d6eeff", "#2f8fe0")):
        out.append((name, 23, 21, svg(23, 21,
            '<defs><radialGradient id="k" cx="0.4" cy="0.35" r="0.7"><stop offset="0" stop-color="#ffffff"/>'
            f'<stop offset="1" stop-color="{face}"/></radialGradient></defs>'
            '<ellipse cx="12.5" cy="11.8" rx="8" ry="8" fill="#000000" fill-opacity="0.28"/>'
            f'<circle cx="11.5" cy="10.5" r="7.5" fill="url(#k)" stroke="{rim}" stroke-width="1.4"/>'
            f'<circle cx="11.5" cy="10.5" r="2.2" fill="{rim}" fill-opacity="0.8"/>')))
    # The progress bar's own knobs, 14 x 14: about 10 px, soft shadow to the lower right.
    for name, face, rim in (("knob", "#f6f8fa", "#8193a8"), ("knob_hover", "#cfe9ff", "#2a7fd4")):
        out.append((name, 14, 14, svg(14, 14,
            '<circle cx="7.8" cy="7.8" r="5.4" fill="#000000" fill-opacity="0.25"/>'
            f'<circle cx="6.8" cy="6.8" r="5" fill="{face}" stroke="{rim}" stroke-width="1.2"/>')))
    # The message box's icon strip, 200 x 40: error, warning, question,
    # information and a fifth (done) tile, 40 x 40 each, in that order.
    def badge(cx, shape, colour, mark):
        return (f'<g transform="translate({cx} 0)">{shape.format(c=colour)}'
                f'<g fill="#ffffff" stroke="#ffffff">{mark}</g></g>')
    circle = ('<circle cx="20.8" cy="21" r="16" fill="#000000" fill-opacity="0.18"/>'
              '<circle cx="20" cy="20" r="16" fill="{c}" stroke="#ffffff" stroke-opacity="0.7" stroke-width="1.5"/>')
    triangle = ('<path d="M20.8 5.5 L37.5 35.5 H4.5 Z" fill="#000000" fill-opacity="0.18"/>'
                '<path d="M20 4 L36.5 34 H3.5 Z" fill="{c}" stroke="#ffffff" stroke-opacity="0.7" '
                'stroke-width="1.5" stroke-linejoin="round"/>')
    strip = "".join([
        badge(0, circle, "#d83b3b", '<path d="M14 14 L26 26 M26 14 L14 26" stroke-width="3.6" stroke-linecap="round"/>'),
        badge(40, triangle, "#f0a81c", '<path d="M20 13 V24" stroke-width="3.6" stroke-linecap="round"/>'
                                       '<circle cx="20" cy="29.5" r="2.2" stroke="none"/>'),
        badge(80, circle, "#2b86da", text(20, 27.5, 21, "?")),
        badge(120, circle, "#2b86da", '<circle cx="20" cy="12.5" r="2.4" stroke="none"/>'
                                      '<path d="M20 18 V29" stroke-width="3.8" stroke-linecap="round"/>'),
        badge(160, circle, "#2fa655", '<path d="M12.5 20.5 L18 26 L28 14.5" fill="none" stroke-width="3.6" '
                                      'stroke-linecap="round" stroke-linejoin="round"/>'),
    ])
    out.append(("message_icons", 200, 40, svg(200, 40, strip)))
    return out


def identifier(name):
    return "k" + "".join(part.capitalize() for part in name.split("_"))


def main():
    out_dir = sys.argv[1]
    png_dir = os.path.join(out_dir, "png")
    os.makedirs(png_dir, exist_ok=True)
    entries = []
    for name, w, h, source in pictures():
        svg_path = os.path.join(png_dir, name + ".svg")
        png_path = os.path.join(png_dir, name + ".png")
        with open(svg_path, "w", encoding="utf-8") as f:
            f.write(source)
        subprocess.run(["rsvg-convert", "-w", str(w), "-h", str(h), "-o", png_path, svg_path], check=True)
        with open(png_path, "rb") as f:
            entries.append((name, f.read()))
    if "--png-only" in sys.argv:
        return
    with open(os.path.join(out_dir, "pictures.h"), "w", encoding="utf-8") as h:
        h.write("// Generated by resources/pictures/make_pictures.py: the program's pictures as PNG bytes.\n"
                "#pragma once\n\n#include <string_view>\n\nnamespace zelvo::pictures {\n\n")
        for name, _ in entries:
            h.write(f"extern const std::string_view {identifier(name)};\n")
        h.write("\n}  // namespace zelvo::pictures\n")
    with open(os.path.join(out_dir, "pictures.cpp"), "w", encoding="utf-8") as c:
        c.write('// Generated by resources/pictures/make_pictures.py.\n#include "pictures.h"\n\n'
                "namespace zelvo::pictures {\nnamespace {\n")
        for name, data in entries:
            c.write(f"constexpr unsigned char {identifier(name)}Bytes[] = {{")
            c.write(",".join(str(b) for b in data))
            c.write("};\n")
        c.write("}  // namespace\n\n")
        for name, _ in entries:
            ident = identifier(name)
            c.write(f"const std::string_view {ident}(reinterpret_cast<const char*>({ident}Bytes), sizeof {ident}Bytes);\n")
        c.write("\n}  // namespace zelvo::pictures\n")


if __name__ == "__main__":
    main()
