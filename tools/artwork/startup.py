"""Icons of the startup-items tab: warning tag (167), startup-folder file
(176), refresh (177) and delete (178)."""
from PIL import Image

import gen_artwork as g

DARK = (0x5a, 0x3a, 0x00)
PAPER = (0xfb, 0xfc, 0xfe)
PAPER_EDGE = (0x7a, 0x8c, 0xa6)


def canvas(n):
    return Image.new("RGBA", (n, n), (0, 0, 0, 0))


def warning(n):
    """Yellow triangle with an exclamation mark."""
    img = canvas(n)
    s = n / 16.0
    edge = g.mask((n, n), lambda p: p.poly([(8 * s, 0.6 * s), (15.6 * s, 14.6 * s), (0.4 * s, 14.6 * s)]))
    inner = g.mask((n, n), lambda p: p.poly([(8 * s, 2.6 * s), (14.0 * s, 13.6 * s), (2.0 * s, 13.6 * s)]))
    g.fill(img, edge, (0xb8, 0x7a, 0x00))
    g.fill(img, inner, g.vgrad(n, n, [(0, (0xff, 0xe2, 0x5c)), (1, g.ORANGE)]))

    def mark(p):
        p.rect((7.1 * s, 5.0 * s, 8.9 * s, 10.2 * s), r=0.8 * s)
        p.circle(8 * s, 12.0 * s, 1.0 * s)
    g.fill(img, g.mask((n, n), mark), DARK)
    return img


def startup_file(n):
    """A page with a folded corner and a green start arrow."""
    img = canvas(n)
    s = n / 32.0

    def page(p):
        p.poly([(6 * s, 2 * s), (20 * s, 2 * s), (27 * s, 9 * s), (27 * s, 30 * s), (6 * s, 30 * s)])
    g.fill(img, g.mask((n, n), page), PAPER_EDGE)

    def inside(p):
        p.poly([(7.5 * s, 3.5 * s), (19.4 * s, 3.5 * s), (25.5 * s, 9.6 * s), (25.5 * s, 28.5 * s),
                (7.5 * s, 28.5 * s)])
    g.fill(img, g.mask((n, n), inside), g.vgrad(n, n, [(0, g.WHITE), (1, (0xe4, 0xec, 0xf6))]))
    g.fill(img, g.mask((n, n), lambda p: p.poly([(19.4 * s, 3.5 * s), (19.4 * s, 9.6 * s), (25.5 * s, 9.6 * s)])),
           (0xc4, 0xd2, 0xe4))
    if n >= 24:
        for y in (13, 17):
            g.fill(img, g.mask((n, n), lambda p, y=y: p.rect((10 * s, y * s, 22 * s, (y + 1.5) * s))),
                   (0xa9, 0xbd, 0xd6))
    badge = g.mask((n, n), lambda p: p.circle(13 * s, 22.5 * s, 7.5 * s))
    g.fill(img, badge, g.vgrad(n, n, [(0, (0x6c, 0xd8, 0x78)), (1, (0x22, 0x8c, 0x34))]))
    g.fill(img, g.mask((n, n), lambda p: p.poly([(10.6 * s, 18.2 * s), (17.6 * s, 22.5 * s), (10.6 * s, 26.8 * s)])),
           g.WHITE)
    return img


def refresh(n):
    """Two blue arrows chasing each other round a circle."""
    img = canvas(n)
    s = n / 16.0

    def arrows(p):
        p.d.arc(p.box((2.2 * s, 2.2 * s, 13.8 * s, 13.8 * s)), 200, 330, fill=255, width=int(round(2.2 * s * g.SS)))
        p.d.arc(p.box((2.2 * s, 2.2 * s, 13.8 * s, 13.8 * s)), 20, 150, fill=255, width=int(round(2.2 * s * g.SS)))
        p.poly([(11.0 * s, 0.8 * s), (15.4 * s, 5.4 * s), (10.0 * s, 6.4 * s)])
        p.poly([(5.0 * s, 15.2 * s), (0.6 * s, 10.6 * s), (6.0 * s, 9.6 * s)])
    g.fill(img, g.mask((n, n), arrows), g.vgrad(n, n, [(0, (0x5c, 0xb0, 0xff)), (1, (0x1d, 0x5f, 0xb5))]))
    return img


def delete(n):
    """A red disc with a white cross."""
    img = canvas(n)
    s = n / 16.0
    g.fill(img, g.mask((n, n), lambda p: p.circle(8 * s, 8 * s, 7.4 * s)), (0xa8, 0x22, 0x16))
    g.fill(img, g.mask((n, n), lambda p: p.circle(8 * s, 8 * s, 6.5 * s)),
           g.vgrad(n, n, [(0, (0xff, 0x86, 0x70)), (1, g.RED)]))

    def cross(p):
        p.line([(5.2 * s, 5.2 * s), (10.8 * s, 10.8 * s)], 2.0 * s)
        p.line([(10.8 * s, 5.2 * s), (5.2 * s, 10.8 * s)], 2.0 * s)
    g.fill(img, g.mask((n, n), cross), g.WHITE)
    return img


def generate():
    with g.pixels():
        for rid, draw in ((167, warning), (176, startup_file), (177, refresh), (178, delete)):
            g.save_icon([draw(g.art(32)), draw(g.art(16))], rid)
