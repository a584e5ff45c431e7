#!/usr/bin/env python3
"""Writes the control panel's artwork as SVG files beside this script.

Everything is drawn from the same palette and stroke so the set reads as one family:
button faces at 100 x 100 (help and exit at 56 x 56 from the same 100 grid), banner
and animation frames at 680 x 150, the blink pair at 40 x 40 and the hand at 32 x 32.
Run it after changing a drawing; the SVG files are committed.
"""
import os

HERE = os.path.dirname(os.path.abspath(__file__))

INK = "#1f3a5f"
INK_SOFT = "#5b6f88"
TEAL = "#2a9d8f"
TEAL_DARK = "#1e7f74"
TEAL_LIGHT = "#cdebe6"
PAPER = "#fbf7ef"
PAPER_DEEP = "#efe6d4"
EDGE = "#d8ccb6"
AMBER = "#e9a23b"
CORAL = "#e76f51"
WHITE = "#ffffff"
STROKE = 3.2
FONT = "DejaVu Sans"
SERIF = "DejaVu Serif"


def svg(width, height, body, view=None):
    view = view or f"0 0 {width} {height}"
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" viewBox="{view}">\n'
            f"{body}\n</svg>\n")


def write(name, content):
    with open(os.path.join(HERE, name + ".svg"), "w", encoding="utf-8") as f:
        f.write(content)
    return name + ".svg"


def g(stroke, body, width=STROKE, fill="none", extra=""):
    return (f'<g fill="{fill}" stroke="{stroke}" stroke-width="{width}" stroke-linecap="round" '
            f'stroke-linejoin="round" {extra}>{body}</g>')


# ---------------------------------------------------------------- button icons
# Each icon is drawn on the 100 grid with a line colour, an accent and a fill.

def icon_create(line, accent, fill):
    return (g(line, f'<path d="M34 22h22l15 15v39a4 4 0 0 1-4 4H34a4 4 0 0 1-4-4V26a4 4 0 0 1 4-4z" fill="{fill}"/>'
                    '<path d="M56 22v15h15"/><path d="M38 48h20M38 57h14"/>')
            + f'<circle cx="68" cy="70" r="13" fill="{accent}"/>'
            + g(WHITE, '<path d="M68 63.5v13M61.5 70h13"/>', width=3.4))


def icon_open(line, accent, fill):
    return g(line, f'<path d="M22 34a4 4 0 0 1 4-4h15l6 6h26a4 4 0 0 1 4 4v8" fill="{fill}"/>'
                   f'<path d="M40 26h24l8 8v16" fill="{fill}"/><path d="M46 36h16M46 43h12" />'
                   f'<path d="M18 50h64l-8 26H26z" fill="{accent}"/>')


def icon_extract(line, accent, fill):
    lines = "".join(f'<path d="M27 {32 + 8 * i}h{18 if i % 2 else 22}"/>' for i in range(4))
    return g(line, f'<rect x="20" y="22" width="36" height="46" rx="4" fill="{fill}"/>{lines}'
                   '<path d="M52 58c8 0 12 2 14 8"/><path d="M62 63l4 4 4-5"/>'
                   f'<rect x="52" y="68" width="30" height="14" rx="3" fill="{accent}"/>'
                   f'<rect x="48" y="74" width="30" height="14" rx="3" fill="{fill}"/>')


def icon_manual(line, accent, fill):
    return (g(line, f'<rect x="20" y="30" width="46" height="46" rx="4" fill="{fill}"/>'
                    '<path d="M28 44h22M28 53h16M28 62h12"/>')
            + g(line, f'<path d="M52 70l4-12 22-22a5 5 0 0 1 7 7L63 65z" fill="{accent}"/>'
                      '<path d="M74 39l7 7"/>'))


def icon_search(line, accent, fill):
    return g(line, f'<circle cx="44" cy="44" r="19" fill="{fill}"/>'
                   f'<path d="M35 40h18M35 48h11" stroke="{accent}"/>'
                   '<path d="M58 58l18 18" stroke-width="7"/>')


def icon_maintain(line, accent, fill):
    return (g(line, '<path d="M74 18L54 50"/>'
                    f'<path d="M46 46l16 10-8 22c-10-2-20-8-24-16z" fill="{accent}"/>'
                    '<path d="M41 60l-3 6M48 64l-3 8M55 67l-2 8"/>')
            + g(line, '<path d="M26 26v8M22 30h8M74 64v6M71 67h6"/>', width=2.6))


def icon_help(line, accent, fill):
    return (g(line, f'<circle cx="50" cy="50" r="30" fill="{fill}"/>'
                    '<path d="M39 41a11 11 0 1 1 15 10c-3 1.5-4 3-4 6v2" stroke-width="6"/>')
            + f'<circle cx="50" cy="70" r="4" fill="{line}"/>')


def icon_exit(line, accent, fill):
    return g(line, f'<path d="M38 24a30 30 0 1 0 24 0" stroke-width="6"/>'
                   f'<path d="M50 16v30" stroke="{accent}" stroke-width="6"/>')


ICONS = {
    "create": icon_create, "open": icon_open, "extract": icon_extract, "manual": icon_manual,
    "search": icon_search, "maintain": icon_maintain, "help": icon_help, "exit": icon_exit,
}


def face(name, hot, size):
    icon = ICONS[name]
    if hot:
        top, bottom = (CORAL, "#c9563b") if name == "exit" else (TEAL, TEAL_DARK)
        tile = (f'<defs><linearGradient id="t" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="{top}"/>'
                f'<stop offset="1" stop-color="{bottom}"/></linearGradient></defs>'
                f'<rect x="5" y="7" width="90" height="90" rx="20" fill="{INK}" opacity="0.18"/>'
                f'<rect x="4" y="3" width="92" height="92" rx="20" fill="url(#t)"/>'
                f'<rect x="6.5" y="5.5" width="87" height="87" rx="18" fill="none" stroke="{WHITE}" stroke-opacity="0.35" stroke-width="1.6"/>')
        art = icon(WHITE, AMBER, top)
    else:
        tile = (f'<rect x="5" y="7" width="90" height="90" rx="20" fill="{INK}" opacity="0.10"/>'
                f'<rect x="4" y="3" width="92" height="92" rx="20" fill="{PAPER}" stroke="{EDGE}" stroke-width="1.6"/>')
        art = icon(INK, CORAL if name == "exit" else TEAL_LIGHT, WHITE)
    return svg(size, size, tile + art, view="0 0 100 100")


# ---------------------------------------------------------------- banner and frames
BW, BH = 680, 150
SCENE_X, SCENE_Y, SCENE_W, SCENE_H = 424, 14, 242, 122


def banner_base(tagline):
    logo = (g(INK, f'<path d="M30 40h54v66H36a8 8 0 0 1-8-8V44" fill="{WHITE}"/>'
                   f'<path d="M28 44a8 8 0 0 1 16 0v54"/><path d="M52 58h22M52 68h22M52 78h14"/>')
            + f'<rect x="62" y="88" width="18" height="10" rx="2" fill="{TEAL}"/>')
    return (f'<defs><linearGradient id="b" x1="0" y1="0" x2="1" y2="1"><stop offset="0" stop-color="{PAPER}"/>'
            f'<stop offset="1" stop-color="{PAPER_DEEP}"/></linearGradient></defs>'
            f'<rect x="1" y="1" width="{BW - 2}" height="{BH - 2}" rx="18" fill="url(#b)" stroke="{EDGE}" stroke-width="2"/>'
            + logo
            + f'<text x="112" y="80" font-family="{SERIF}" font-size="42" font-weight="bold" fill="{INK}">Papyrant</text>'
            + f'<text x="114" y="108" font-family="{FONT}" font-size="15" fill="{INK_SOFT}">{tagline}</text>'
            + f'<rect x="{SCENE_X}" y="{SCENE_Y}" width="{SCENE_W}" height="{SCENE_H}" rx="14" fill="{WHITE}" '
              f'fill-opacity="0.75" stroke="{EDGE}" stroke-width="1.6"/>')


def scene(body):
    return f'<g transform="translate({SCENE_X} {SCENE_Y})">{body}</g>'


def banner_svg(body, tagline="your bibliographies, well kept"):
    return svg(BW, BH, banner_base(tagline) + scene(body))


def desk():
    return g(EDGE, f'<path d="M20 108h202"/>', width=2.4)


def closed_book(x=88, y=22, w=66, h=84):
    return (g(INK, f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="6" fill="{TEAL}"/>'
                   f'<path d="M{x + 10} {y}v{h}"/>')
            + f'<rect x="{x + 20}" y="{y + 18}" width="{w - 30}" height="14" rx="3" fill="{PAPER}"/>')


def text_lines(x, y, widths, colour=INK_SOFT, gap=11, width=3):
    return g(colour, "".join(f'<path d="M{x} {y + i * gap}h{w}"/>' for i, w in enumerate(widths)), width=width)


def page(x, y, w, h, lines=None, fill=WHITE):
    body = g(INK, f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="5" fill="{fill}"/>')
    if lines:
        body += text_lines(x + 10, y + 14, lines)
    return body


def sparkle(x, y, r=7, colour=AMBER):
    return g(colour, f'<path d="M{x} {y - r}v{2 * r}M{x - r} {y}h{2 * r}"/>', width=2.6)


def frames_create():
    yield desk() + closed_book()
    yield desk() + closed_book(x=40) + g(INK, '<rect x="130" y="58" width="60" height="48" rx="5" fill="white" '
                                              'stroke-dasharray="6 5"/>')
    yield (desk() + closed_book(x=40) + page(130, 20, 62, 86, [40, 34, 42, 26])
           + f'<circle cx="186" cy="96" r="14" fill="{TEAL}"/>' + g(WHITE, '<path d="M186 89v14M179 96h14"/>')
           + sparkle(208, 26) + sparkle(118, 18, 5))


def frames_open():
    yield desk() + closed_book()
    yield (desk() + g(INK, f'<rect x="88" y="22" width="66" height="84" rx="6" fill="{PAPER}"/>')
           + text_lines(104, 40, [38, 30, 40, 24])
           + g(INK, f'<path d="M88 22l-34 12v84l34-12z" fill="{TEAL}"/>'))
    yield (desk() + g(INK, f'<path d="M121 30c-14-8-34-10-54-6v80c20-4 40-2 54 6z" fill="{WHITE}"/>'
                           f'<path d="M121 30c14-8 34-10 54-6v80c-20-4-40-2-54 6z" fill="{WHITE}"/>')
           + text_lines(76, 44, [36, 30, 38, 22]) + text_lines(132, 44, [36, 28, 38, 30])
           + sparkle(196, 24) + sparkle(48, 30, 5))


def frames_extract():
    for i in range(6):
        body = page(18, 12, 86, 100)
        body += f'<rect x="24" y="{20 + i * 14}" width="74" height="12" rx="3" fill="{AMBER}" fill-opacity="0.45"/>'
        body += text_lines(30, 26, [60, 48, 58, 40, 56, 44], gap=14)
        body += g(TEAL, '<path d="M112 62h24"/><path d="M130 55l7 7-7 7"/>', width=3.4)
        for c in range(i):
            body += g(INK, f'<rect x="{150 + c * 3}" y="{92 - c * 14}" width="72" height="20" rx="4" fill="{WHITE}"/>')
            body += text_lines(160 + c * 3, 102 - c * 14, [40], colour=TEAL)
        yield body


def frames_manual():
    full = [150, 120, 140, 90]
    first, gap = 44, 15
    for i in range(6):
        written = 4 * i / 5.0
        body = page(28, 14, 186, 96)
        widths = [w * min(1.0, written - n) for n, w in enumerate(full) if written - n > 0]
        body += text_lines(44, first, [round(w) for w in widths], colour=INK, gap=gap)
        # The tip rests where the writing stops; the first line lies low enough, and the
        # pencil is short enough, that it stays inside the scene on the top line too.
        tip_x = 44 + (widths[-1] if widths else 0)
        tip_y = first + gap * max(0, len(widths) - 1)
        body += (f'<g transform="translate({tip_x:.0f} {tip_y})">'
                 + g(INK, f'<path d="M0 0l4-12 24-24a5 5 0 0 1 7 7L11 -5z" fill="{AMBER}"/><path d="M24 -32l7 7"/>')
                 + '</g>')
        yield body


def card(x, y, colour=WHITE, lines_colour=TEAL):
    return (g(INK, f'<rect x="{x}" y="{y}" width="80" height="56" rx="6" fill="{colour}"/>')
            + text_lines(x + 12, y + 18, [50, 36, 44], colour=lines_colour, gap=11))


def frames_maintain():
    yield card(16, 34) + card(146, 34) + g(INK_SOFT, '<path d="M108 56h26M108 66h26"/>')
    yield card(46, 34) + card(116, 34)
    yield (card(72, 30) + card(90, 40)
           + g(INK, '<path d="M210 10L186 46"/>' + f'<path d="M178 42l16 10-8 22c-10-2-20-8-24-16z" fill="{AMBER}"/>'))
    yield (card(80, 34) + f'<circle cx="160" cy="36" r="14" fill="{TEAL}"/>'
           + g(WHITE, '<path d="M153 36l5 5 9-10"/>') + sparkle(48, 30) + sparkle(200, 96, 5))


def frames_search():
    positions = [(40, 40), (88, 40), (136, 40), (70, 76), (124, 76)]
    for i in range(5):
        body = page(14, 14, 214, 94)
        for j in range(i + 1):
            x, y = positions[j]
            body += f'<rect x="{x - 14}" y="{y - 7}" width="30" height="12" rx="3" fill="{AMBER}" fill-opacity="0.55"/>'
        body += text_lines(26, 33, [180, 150, 176, 120, 160], colour=INK_SOFT, gap=12)
        x, y = positions[i]
        body += g(INK, f'<circle cx="{x}" cy="{y}" r="20" fill="{TEAL_LIGHT}" fill-opacity="0.45"/>'
                       f'<path d="M{x + 14} {y + 14}l16 16" stroke-width="7"/>')
        yield body


def resting_scene():
    colours = [TEAL, AMBER, INK, CORAL, TEAL_DARK, INK_SOFT]
    heights = [78, 66, 84, 70, 80, 62]
    body = g(EDGE, '<path d="M14 108h214"/>', width=3)
    x = 26
    for c, h in zip(colours, heights):
        body += g(INK, f'<rect x="{x}" y="{106 - h}" width="22" height="{h}" rx="3" fill="{c}"/>'
                       f'<path d="M{x + 5} {106 - h + 12}h12"/>', width=2.4)
        x += 26
    body += g(INK, f'<rect x="{x + 6}" y="40" width="22" height="66" rx="3" fill="{PAPER}" '
                   f'transform="rotate(12 {x + 17} 106)"/>', width=2.4)
    return body


def exit_scene():
    return (g(INK, f'<rect x="72" y="16" width="70" height="92" rx="4" fill="{INK}"/>')
            + f'<path d="M76 20l44 8v76l-44 0z" fill="{AMBER}" fill-opacity="0.85"/>'
            + g(INK, f'<path d="M142 20l-22 10v78l22-4z" fill="{PAPER}"/>')
            + f'<circle cx="126" cy="70" r="2.6" fill="{INK}"/>'
            + g(CORAL, '<path d="M160 62h40"/><path d="M190 52l10 10-10 10"/>', width=3.6))


def blink(i):
    colour = AMBER if i == 0 else TEAL
    return svg(40, 40, f'<path d="M20 4c9 0 16 6 16 14s-7 14-16 14c-2 0-4 0-5.6-.6L8 36l1.4-7.2C6 26 4 22 4 18 4 10 11 4 20 4z" '
                       f'fill="{colour}" stroke="{INK}" stroke-width="2" stroke-linejoin="round"/>'
                       + g(WHITE, '<path d="M15.5 14a4.5 4.5 0 1 1 6.2 4.2c-1.2.6-1.7 1.3-1.7 2.5"/>', width=2.6)
                       + f'<circle cx="20" cy="25" r="1.7" fill="{WHITE}"/>')


def hand():
    return svg(32, 32, f'<path d="M11 2.5c1.4 0 2.5 1.1 2.5 2.5v8c0-1.2 1-2 2.2-2s2.2.8 2.2 2v1c0-1.2 1-2 2.2-2s2.2.8 2.2 2v1.2'
                       f'c0-1.1.9-1.8 2-1.8s2 .8 2 1.8v7c0 4.5-3.2 8-8 8h-3c-3 0-5-1.4-6.6-3.8l-4.2-6.3'
                       f'c-.7-1.1-.4-2.5.7-3.1 1-.6 2.3-.3 3 .6l1.6 2.1V5c0-1.4 1.1-2.5 2.5-2.5z" '
                       f'fill="{WHITE}" stroke="{INK}" stroke-width="1.6" stroke-linejoin="round"/>'
                       + g(INK, '<path d="M13.5 13v5M17.9 14v4M22.3 15v3"/>', width=1.2))


def background():
    w, h = 720, 416
    dots = "".join(f'<circle cx="{x}" cy="{y}" r="1" />' for x in range(12, w, 24) for y in range(12, h, 24))
    return svg(w, h, f'<defs><linearGradient id="p" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#f6f1e6"/>'
                     f'<stop offset="1" stop-color="#ebe2cf"/></linearGradient></defs>'
                     f'<rect width="{w}" height="{h}" fill="url(#p)"/>'
                     f'<g fill="{EDGE}" opacity="0.45">{dots}</g>'
                     f'<rect x="20" y="328" width="680" height="72" rx="14" fill="{PAPER}" stroke="{EDGE}" stroke-width="1.6"/>'
                     f'<rect x="20" y="328" width="6" height="72" rx="3" fill="{TEAL}"/>')


def main():
    written = []
    for name in ICONS:
        size = 56 if name in ("help", "exit") else 100
        written.append(write(name, face(name, False, size)))
        written.append(write(name + "-hot", face(name, True, size)))
    written.append(write("banner", banner_svg(resting_scene())))
    written.append(write("banner-exit", banner_svg(exit_scene(), tagline="closing Papyrant - see you soon")))
    for name, frames in (("create", frames_create), ("open", frames_open), ("extract", frames_extract),
                         ("manual", frames_manual), ("maintain", frames_maintain), ("search", frames_search)):
        for i, body in enumerate(frames()):
            written.append(write(f"frame-{name}-{i}", banner_svg(body)))
    written.append(write("blink-0", blink(0)))
    written.append(write("blink-1", blink(1)))
    written.append(write("hand", hand()))
    written.append(write("background", background()))
    with open(os.path.join(HERE, "art.qrc"), "w", encoding="utf-8") as f:
        f.write('<!DOCTYPE RCC>\n<RCC version="1.0">\n<qresource prefix="/art">\n')
        for leaf in written:
            f.write(f"  <file>{leaf}</file>\n")
        f.write("</qresource>\n</RCC>\n")


if __name__ == "__main__":
    main()
