"""Icons of the speed page: 165, the green "tested and safe" shield beside
the status line, and 166, the lightning bolt on the "立即体验" buttons
(also the appearance page's)."""
from PIL import Image

import gen_artwork as g

SHIELD_LIGHT = (0x5c, 0xd0, 0x6a)
SHIELD_DARK = (0x1e, 0x8a, 0x36)
SHIELD_EDGE = (0x14, 0x5e, 0x25)
BOLT_LIGHT = (0xff, 0xe0, 0x5a)
BOLT_DARK = (0xf0, 0x8a, 0x10)
BOLT_EDGE = (0x9a, 0x4a, 0x00)


def shield_points(x0, y0, w, h):
    """A heraldic shield: flat top with rounded shoulders, pointed base."""
    return [(x0 + w * 0.5, y0), (x0 + w, y0 + h * 0.12), (x0 + w, y0 + h * 0.48),
            (x0 + w * 0.82, y0 + h * 0.76), (x0 + w * 0.5, y0 + h),
            (x0 + w * 0.18, y0 + h * 0.76), (x0, y0 + h * 0.48), (x0, y0 + h * 0.12)]


def shield_icon(n, box):
    """The shield inside `box` (x0, y0, w, h) of an n x n icon; the glyph
    keeps to the left so the status text beside it never covers it."""
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    x0, y0, w, h = box
    outer = g.mask((n, n), lambda p: p.poly(shield_points(x0, y0, w, h)))
    inset = max(1.0, w / 14.0)
    inner = g.mask((n, n), lambda p: p.poly(
        shield_points(x0 + inset, y0 + inset * 1.1, w - 2 * inset, h - 2.3 * inset)))
    g.fill(img, outer, g.SHADOW, 0.3, (0, 1))
    g.fill(img, outer, SHIELD_EDGE)
    g.fill(img, inner, g.vgrad(n, n, [(0, SHIELD_LIGHT), ((y0 + h) / n, SHIELD_DARK), (1, SHIELD_DARK)]))
    # Gloss on the upper left half.
    gloss = g.mask((n, n), lambda p: p.poly([(x0 + inset, y0 + inset), (x0 + w * 0.5, y0 + inset * 0.6),
                                             (x0 + w * 0.5, y0 + h * 0.55), (x0 + inset, y0 + h * 0.45)]))
    g.fill(img, Image.composite(gloss, Image.new("L", (n, n), 0), inner), g.WHITE, 0.22)
    stroke = max(1.6, w / 7.0)
    tick = [(x0 + w * 0.27, y0 + h * 0.47), (x0 + w * 0.44, y0 + h * 0.63), (x0 + w * 0.74, y0 + h * 0.30)]
    g.fill(img, g.mask((n, n), lambda p: p.line(tick, stroke)), g.SHADOW, 0.35, (0, 1))
    g.fill(img, g.mask((n, n), lambda p: p.line(tick, stroke)), g.WHITE)
    return img


def bolt_icon(n):
    """A chunky lightning bolt filling most of an n x n icon."""
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    s = n / 16.0
    pts = [(9.2, 0.8), (2.4, 9.0), (7.0, 9.0), (5.0, 15.3), (13.6, 6.2), (9.0, 6.2), (12.4, 0.8)]
    scaled = [(x * s, y * s) for x, y in pts]
    face = g.mask((n, n), lambda p: p.poly(scaled))
    edge = g.mask((n, n), lambda p: p.line(scaled + [scaled[0]], 0.9 * s))
    g.fill(img, face, g.SHADOW, 0.25, (0, 1))
    g.fill(img, face, g.vgrad(n, n, [(0, BOLT_LIGHT), (1, BOLT_DARK)]))
    shine = g.mask((n, n), lambda p: p.poly([(x * s, y * s) for x, y in
                                             [(9.6, 1.6), (4.0, 8.2), (5.8, 8.2), (10.8, 1.6)]]))
    g.fill(img, Image.composite(shine, Image.new("L", (n, n), 0), face), g.WHITE, 0.5)
    g.fill(img, edge, BOLT_EDGE, 0.85)
    return img


def generate():
    def shield(n, box):  # the box, like the size, on whole pixels of the set
        return shield_icon(g.art(n), tuple(g.art(v) for v in box))
    with g.pixels():
        g.save_icon([shield(48, (2, 3, 30, 42)), shield(32, (1, 2, 20, 28)),
                     shield(16, (1, 1, 12, 14))], 165)
        # One size only: the button loads the icon at the size the file gives.
        g.save_icon([bolt_icon(g.art(24))], 166)
