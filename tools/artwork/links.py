"""Artwork of the appearance, driver, software and help pages: the link and
action button icons, the driver category icons and the compatibility badge.

Every icon is drawn on a 32-unit grid and rendered at 32 and 16 pixels (the
buttons load the default 32-pixel size); shapes are coverage masks drawn at
4x and downsampled by gen_artwork's helpers.
"""
import math
import struct

from PIL import Image, ImageFilter

import gen_artwork as g

BLUE = (0x2a, 0x7a, 0xd8)
BLUE_DARK = (0x16, 0x4a, 0x96)
BLUE_LIGHT = (0x8c, 0xc4, 0xff)
GREEN_DARK = (0x1f, 0x8a, 0x35)
RED_DARK = (0xb0, 0x2a, 0x1e)
GREY = (0x9a, 0xa4, 0xb0)
GREY_DARK = (0x55, 0x60, 0x6e)
GREY_LIGHT = (0xe4, 0xe8, 0xee)
GOLD = (0xe8, 0xb4, 0x2c)
BROWN = (0xb9, 0x7a, 0x3c)
BROWN_DARK = (0x7e, 0x4d, 0x20)
PURPLE = (0x7b, 0x4f, 0xc9)


class Canvas:
    """An RGBA icon of n pixels whose drawing calls take 32-unit coordinates."""

    def __init__(self, n):
        self.n = n
        self.k = n / 32.0
        self.img = Image.new("RGBA", (n, n), (0, 0, 0, 0))

    def m(self, fn):
        k = self.k

        class Scaled:
            def __init__(self, pen):
                self.p = pen

            def rect(self, b, r=0, v=255):
                self.p.rect(tuple(c * k for c in b), r * k, v)

            def ellipse(self, b, v=255):
                self.p.ellipse(tuple(c * k for c in b), v)

            def circle(self, cx, cy, r, v=255):
                self.p.circle(cx * k, cy * k, r * k, v)

            def poly(self, pts, v=255):
                self.p.poly([(x * k, y * k) for x, y in pts], v)

            def line(self, pts, w, v=255):
                self.p.line([(x * k, y * k) for x, y in pts], max(w * k, 1.0), v)

            def pie(self, b, a0, a1, v=255):
                self.p.pie(tuple(c * k for c in b), a0, a1, v)

            def text(self, xy, s, fnt, v=255, anchor="mm"):
                self.p.text((xy[0] * k, xy[1] * k), s, fnt, v, anchor)

        return g.mask((self.n, self.n), lambda pen: fn(Scaled(pen)))

    def fill(self, fn, paint, alpha=1.0):
        g.fill(self.img, self.m(fn), paint, alpha)

    def grad(self, fn, top, bottom, y0=0, y1=32):
        """Fill with a vertical gradient running from y0 to y1 (units)."""
        n = self.n
        stops = [(0, top), (max(0.0, y0 / 32.0), top), (min(1.0, y1 / 32.0), bottom), (1, bottom)]
        g.fill(self.img, self.m(fn), g.vgrad(n, n, stops))

    def font(self, path, units):
        return g.font(path, max(6, int(round(units * self.k * g.SS))))

    def shadow(self, alpha=0.35):
        """A soft shadow under everything drawn so far."""
        base = Image.new("RGBA", self.img.size, (0, 0, 0, 0))
        sh = self.img.getchannel("A").filter(ImageFilter.GaussianBlur(0.8 * self.k + 0.2))
        g.fill(base, sh, g.SHADOW, alpha, (0, max(1, int(round(self.k)))))
        base.alpha_composite(self.img)
        self.img = base


def outlined(c, fn, outline, face_top, face_bottom, inset_fn):
    c.fill(fn, outline)
    c.grad(inset_fn, face_top, face_bottom)


# ------------------------------------------------------------- software

def media_player(c):  # 138: a play button on a glossy disc
    outlined(c, lambda p: p.circle(16, 16, 14.5), BLUE_DARK, (0x5d, 0xa8, 0xff), (0x12, 0x4c, 0xa8),
             lambda p: p.circle(16, 16, 13.3))
    c.fill(lambda p: p.ellipse((6, 3.5, 26, 16)), g.WHITE, 0.28)
    c.fill(lambda p: p.poly([(12.5, 9), (24, 16), (12.5, 23)]), g.WHITE)


def runtime_cube(c):  # 139: a shaded cube for the 3-D runtime
    top = [(16, 3), (28, 9.5), (16, 16), (4, 9.5)]
    left = [(4, 9.5), (16, 16), (16, 29.5), (4, 23)]
    right = [(16, 16), (28, 9.5), (28, 23), (16, 29.5)]
    edge = (0x2c, 0x1c, 0x6e)
    c.fill(lambda p: p.poly(top), (0xc8, 0xb6, 0xff))
    c.fill(lambda p: p.poly(left), PURPLE)
    c.fill(lambda p: p.poly(right), (0x4a, 0x2c, 0x9a))
    c.fill(lambda p: p.line([(4, 9.5), (16, 3), (28, 9.5), (28, 23), (16, 29.5), (4, 23), (4, 9.5)], 1.0),
           edge)
    c.fill(lambda p: p.line([(4, 9.5), (16, 16), (28, 9.5)], 0.8), edge)
    c.fill(lambda p: p.line([(16, 16), (16, 29.5)], 0.8), edge)
    # a spark of light on the top face
    c.fill(lambda p: p.poly([(16, 6), (17.2, 8.8), (20.5, 9.5), (17.2, 10.2), (16, 13), (14.8, 10.2),
                             (11.5, 9.5), (14.8, 8.8)]), g.WHITE)


def stock_chart(c):  # 140: candles and a rising line on a card
    outlined(c, lambda p: p.rect((2, 3, 30, 29), 4), GREY_DARK, g.WHITE, GREY_LIGHT,
             lambda p: p.rect((3, 4, 29, 28), 3))
    for x, y0, y1, col in ((8, 17, 24, g.GREEN), (13, 14, 21, g.RED), (18, 15, 22, g.GREEN),
                           (23, 9, 17, g.RED)):
        c.fill(lambda p, x=x, y0=y0, y1=y1: (p.rect((x - 0.5, y0 - 2.5, x + 0.5, y1 + 2.5)),
                                             p.rect((x - 2, y0, x + 2, y1), 0.5)), col)
    c.fill(lambda p: p.line([(5, 22), (11, 16), (16, 18), (27, 7)], 1.8), BLUE_DARK)
    c.fill(lambda p: p.poly([(24, 6), (28.5, 5.5), (28, 10)]), BLUE_DARK)


def dictionary(c):  # 141: a bound book with a letter on its cover
    c.fill(lambda p: p.rect((6, 4, 27, 29), 2), RED_DARK)
    c.fill(lambda p: p.rect((8, 25, 27, 29), 1), g.WHITE)          # page edges
    c.fill(lambda p: p.rect((8, 26.5, 26, 27.3)), GREY)
    c.grad(lambda p: p.rect((8, 4, 27, 25), 2), (0xf0, 0x5a, 0x3c), (0xc2, 0x2c, 0x1c))
    c.fill(lambda p: p.rect((6, 4, 9, 29), 1.5), (0x8c, 0x1c, 0x12))   # spine
    c.fill(lambda p: p.poly([(21, 4), (25, 4), (25, 12), (23, 10), (21, 12)]), g.YELLOW)
    c.fill(lambda p: p.text((17.5, 15.5), "A", c.font(g.LATIN_BOLD, 13)), g.WHITE)


def browser_globe(c):  # 142: a globe with an orbit
    outlined(c, lambda p: p.circle(16, 16, 12.5), BLUE_DARK, (0x6e, 0xc0, 0xff), (0x1b, 0x62, 0xc4),
             lambda p: p.circle(16, 16, 11.4))

    def grid(p):
        p.line([(4.5, 16), (27.5, 16)], 1.0)
        p.line([(16, 4.5), (16, 27.5)], 1.0)
        p.line([(6.5, 10), (25.5, 10)], 0.9)
        p.line([(6.5, 22), (25.5, 22)], 0.9)
    c.fill(grid, g.WHITE, 0.75)
    c.fill(lambda p: (p.ellipse((10.5, 4.6, 21.5, 27.4)), p.ellipse((11.9, 6, 20.1, 26), 0)), g.WHITE, 0.75)

    def orbit(p):
        pts = []
        for i in range(0, 361, 10):
            a = math.radians(i)
            x, y = 15 * math.cos(a), 5 * math.sin(a)
            r = math.radians(-28)
            pts.append((16 + x * math.cos(r) - y * math.sin(r), 16 + x * math.sin(r) + y * math.cos(r)))
        p.line(pts, 2.2)
    c.fill(orbit, g.ORANGE)


def contacts(c):  # 143: two people, side by side
    for cx, top, bottom, dx in ((12, (0x7a, 0xd8, 0x7c), GREEN_DARK, 0), (21, (0x7c, 0xb8, 0xff), BLUE, 0)):
        c.grad(lambda p, cx=cx: (p.circle(cx, 10, 5.2), p.rect((cx - 8.5, 17, cx + 8.5, 29), 6)), top, bottom, 4, 29)
        c.fill(lambda p, cx=cx: p.ellipse((cx - 3.6, 6, cx + 1.2, 9.5)), g.WHITE, 0.35)


def shield(c):  # 144: a security shield with a tick
    body = [(16, 2.5), (28, 6.5), (27, 17), (16, 29.5), (5, 17), (4, 6.5)]
    c.fill(lambda p: p.poly(body), GREEN_DARK)
    inner = [(16, 4.5), (26, 8), (25.2, 16.5), (16, 27), (6.8, 16.5), (6, 8)]
    c.grad(lambda p: p.poly(inner), (0x8a, 0xe6, 0x6a), (0x1f, 0x9a, 0x3a))
    c.fill(lambda p: p.poly([(16, 4.5), (26, 8), (25.6, 12), (16, 9), (6.4, 12), (6, 8)]), g.WHITE, 0.25)
    c.fill(lambda p: p.line([(10.5, 16), (14.5, 20.5), (22, 11.5)], 3.0), g.WHITE)


def chat_bubble(c):  # 145: a speech bubble with three dots
    def bubble(p):
        p.ellipse((2.5, 4, 29.5, 24))
        p.poly([(8, 19), (14, 22), (6, 29)])
    c.fill(bubble, (0x10, 0x6e, 0xa8))
    c.grad(lambda p: (p.ellipse((3.6, 5.1, 28.4, 22.9)), p.poly([(8.5, 19.5), (13, 21.5), (7.6, 26.5)])),
           (0x6f, 0xd4, 0xff), (0x1c, 0x8e, 0xd6), 5, 24)
    for x in (10, 16, 22):
        c.fill(lambda p, x=x: p.circle(x, 14, 2.1), g.WHITE)


def pdf_document(c):  # 146: a page with a folded corner and a red band
    page = [(6, 2.5), (20, 2.5), (26.5, 9), (26.5, 29.5), (6, 29.5)]
    c.fill(lambda p: p.poly(page), GREY_DARK)
    c.fill(lambda p: p.poly([(7, 3.5), (19.5, 3.5), (25.5, 9.5), (25.5, 28.5), (7, 28.5)]), g.WHITE)
    c.fill(lambda p: p.poly([(19.5, 3.5), (19.5, 9.5), (25.5, 9.5)]), GREY)
    for y in (12, 15):
        c.fill(lambda p, y=y: p.rect((9.5, y, 22.5, y + 1.2)), GREY)
    c.fill(lambda p: p.rect((3.5, 18, 22, 26.5), 1.5), g.RED)
    c.fill(lambda p: p.text((12.8, 22.4), "PDF", c.font(g.LATIN_BOLD, 6.6)), g.WHITE)


def input_key(c):  # 147: a key cap with a Chinese character
    c.fill(lambda p: p.rect((3, 4, 29, 29), 5), (0xb8, 0x3a, 0x10))
    c.grad(lambda p: p.rect((3, 4, 29, 26.5), 5), (0xff, 0x9c, 0x4a), (0xec, 0x5a, 0x16), 4, 26)
    c.fill(lambda p: p.rect((5.5, 5.5, 26.5, 13), 3.5), g.WHITE, 0.22)
    fnt = g.font(g.CJK_FONT, max(8, int(round(15 * c.k * g.SS))))
    c.fill(lambda p: p.text((16, 15.5), "拼", fnt), g.WHITE)


def archive_box(c):  # 148: a carton held by a strap
    c.fill(lambda p: p.rect((4, 9, 28, 29), 2), BROWN_DARK)
    c.grad(lambda p: p.rect((5, 10, 27, 28), 1.5), (0xe0, 0xa8, 0x5e), BROWN, 10, 28)
    c.fill(lambda p: p.rect((2.5, 5, 29.5, 11.5), 2), BROWN_DARK)
    c.grad(lambda p: p.rect((3.5, 6, 28.5, 10.5), 1.5), (0xf0, 0xc0, 0x78), (0xd0, 0x92, 0x48), 6, 11)
    c.fill(lambda p: p.rect((13, 5, 19, 29)), PURPLE)
    c.fill(lambda p: p.rect((14, 5, 15.2, 29)), g.WHITE, 0.35)
    c.fill(lambda p: p.rect((12, 15, 20, 20), 1), GOLD)
    c.fill(lambda p: p.rect((14.5, 16.5, 17.5, 18.5), 0.5), BROWN_DARK)


def download_arrow(c):  # 149: a fast arrow into a tray
    c.fill(lambda p: p.rect((4, 22, 28, 29.5), 2.5), BLUE_DARK)
    c.fill(lambda p: p.rect((5, 23, 27, 28.5), 2), (0x4a, 0x92, 0xe6))
    arrow = [(12, 2.5), (20, 2.5), (20, 12), (26, 12), (16, 23), (6, 12), (12, 12)]
    c.fill(lambda p: p.poly(arrow), (0x0c, 0x3c, 0x80))
    c.grad(lambda p: p.poly([(13, 3.5), (19, 3.5), (19, 13), (23.6, 13), (16, 21.4), (8.4, 13), (13, 13)]),
           (0x9c, 0xe0, 0xff), (0x1e, 0x7c, 0xe8), 3, 21)
    c.fill(lambda p: p.rect((13, 3.5, 15, 13)), g.WHITE, 0.45)


# ---------------------------------------------------------------- drivers

def driver_card(c):  # 151: an expansion card with a chip and contacts
    c.fill(lambda p: p.rect((2, 6, 30, 24), 2), (0x0e, 0x5a, 0x26))
    c.grad(lambda p: p.rect((3, 7, 29, 23), 1.5), (0x3c, 0xb0, 0x58), (0x1a, 0x7c, 0x36), 7, 23)
    c.fill(lambda p: p.rect((7, 9.5, 17, 19.5), 1), (0x22, 0x26, 0x2c))
    c.fill(lambda p: p.rect((8, 10.5, 16, 12)), (0x5a, 0x62, 0x6c))
    for x in range(6, 28, 3):
        c.fill(lambda p, x=x: p.rect((x, 24, x + 1.8, 28.5), 0.4), GOLD)
    c.fill(lambda p: p.circle(23.5, 13.5, 3.8), (0x22, 0x26, 0x2c))
    c.fill(lambda p: p.circle(23.5, 13.5, 2.0), GREY)
    c.fill(lambda p: p.rect((2, 3, 5, 24), 0.8), GREY_DARK)   # bracket


def network_plug(c):  # 152: a network plug with its cable
    c.fill(lambda p: p.line([(16, 23), (16, 26), (22, 29.5), (30, 29.5)], 3.2), BLUE_DARK)
    c.fill(lambda p: p.rect((6, 4, 26, 20), 2), GREY_DARK)
    c.grad(lambda p: p.rect((7, 5, 25, 19), 1.5), (0xf4, 0xf7, 0xfa), (0xb8, 0xc2, 0xce), 5, 19)
    for x in range(9, 24, 2):
        c.fill(lambda p, x=x: p.rect((x, 5.5, x + 1, 10)), GOLD)
    c.fill(lambda p: p.rect((12, 19, 20, 24), 1), GREY_DARK)
    c.fill(lambda p: p.rect((10, 13, 22, 16), 0.8), (0x8a, 0x96, 0xa4))


# ------------------------------------------------------------------ help

def disk_partition(c):  # 154: a hard disk with a pie of its partitions
    c.fill(lambda p: p.rect((2, 9, 28, 27), 3), GREY_DARK)
    c.grad(lambda p: p.rect((3, 10, 27, 26), 2.5), (0xf2, 0xf4, 0xf7), (0xa8, 0xb2, 0xbe), 10, 26)
    c.fill(lambda p: p.rect((5, 21, 17, 23), 0.8), GREY)
    c.fill(lambda p: p.circle(23, 22, 1.2), g.GREEN)
    c.fill(lambda p: p.circle(22, 11, 9), g.WHITE)
    c.fill(lambda p: p.pie((14, 3, 30, 19), -90, 150), BLUE)
    c.fill(lambda p: p.pie((14, 3, 30, 19), 150, 270), g.ORANGE)
    c.fill(lambda p: p.line([(22, 11), (22, 3)], 0.9), g.WHITE)
    c.fill(lambda p: p.line([(22, 11), (22 + 8 * math.cos(math.radians(150)), 11 + 8 * math.sin(math.radians(150)))], 0.9), g.WHITE)


def magnifier(c):  # 156: a magnifying glass
    c.fill(lambda p: p.line([(19.5, 19.5), (28, 28)], 5.0), (0x5a, 0x3a, 0x1c))
    c.fill(lambda p: p.line([(20.5, 20.5), (27.5, 27.5)], 3.2), BROWN)
    c.fill(lambda p: p.circle(13, 13, 10.5), GREY_DARK)
    c.fill(lambda p: p.circle(13, 13, 9.2), (0xd6, 0xdc, 0xe4))
    c.grad(lambda p: p.circle(13, 13, 7.6), (0xe6, 0xf4, 0xff), (0x8c, 0xc4, 0xf0), 5, 21)
    c.fill(lambda p: (p.circle(10.5, 10.5, 4.2), p.circle(12, 12, 4.2, 0)), g.WHITE, 0.8)


def theme_window(c):  # 162: a window with a glass title bar and colour swatches
    c.fill(lambda p: p.rect((2, 4, 30, 28), 3), BLUE_DARK)
    c.grad(lambda p: p.rect((3, 5, 29, 12), 2.5), (0xa8, 0xdc, 0xff), (0x3a, 0x8e, 0xe0), 5, 12)
    c.fill(lambda p: p.rect((4, 5.6, 28, 8), 1.5), g.WHITE, 0.45)
    c.fill(lambda p: p.rect((4, 11, 28, 27), 1), g.WHITE)
    for i, col in enumerate((g.RED, g.ORANGE, g.GREEN, g.SKY)):
        x = 6 + i * 5.5
        c.fill(lambda p, x=x: p.rect((x, 15, x + 4.5, 24.5), 1), col)
    c.fill(lambda p: p.circle(25.5, 8.5, 1.6), g.RED)


def wallpaper_picture(c):  # 163: a framed landscape
    c.fill(lambda p: p.rect((2, 4, 30, 28), 2), (0x7a, 0x52, 0x2a))
    c.fill(lambda p: p.rect((3.5, 5.5, 28.5, 26.5), 1), g.WHITE)
    c.grad(lambda p: p.rect((5, 7, 27, 25)), (0x6e, 0xb8, 0xff), (0xd4, 0xee, 0xff), 7, 20)
    c.fill(lambda p: p.circle(21.5, 11.5, 2.8), g.YELLOW)
    c.fill(lambda p: p.poly([(5, 25), (5, 19), (11.5, 12), (18, 19.5), (21, 16.5), (27, 22), (27, 25)]),
           g.GREEN)
    c.fill(lambda p: p.poly([(5, 25), (5, 22), (14, 18.5), (27, 24), (27, 25)]), GREEN_DARK)


def envelope(c):  # 164: a letter with an @ seal
    c.fill(lambda p: p.rect((2, 7, 30, 27), 2), BLUE_DARK)
    c.grad(lambda p: p.rect((3, 8, 29, 26), 1.5), g.WHITE, (0xd8, 0xe4, 0xf2), 8, 26)
    c.fill(lambda p: p.line([(3.5, 25.5), (13, 17), (19, 17), (28.5, 25.5)], 1.0), GREY)
    c.fill(lambda p: p.line([(3.5, 8.5), (16, 18.5), (28.5, 8.5)], 1.6), BLUE_DARK)
    c.fill(lambda p: p.circle(24.5, 23, 6.2), g.ORANGE)
    c.fill(lambda p: p.text((24.5, 22.6), "@", c.font(g.LATIN_BOLD, 9)), g.WHITE)


ICONS = {
    138: media_player, 139: runtime_cube, 140: stock_chart, 141: dictionary, 142: browser_globe,
    143: contacts, 144: shield, 145: chat_bubble, 146: pdf_document, 147: input_key,
    148: archive_box, 149: download_arrow, 151: driver_card, 152: network_plug,
    154: disk_partition, 156: magnifier, 162: theme_window, 163: wallpaper_picture, 164: envelope,
}


def icon(draw, n):
    """The icon at n pixels of the 96-dpi set, drawn at its size in the set
    being written."""
    c = Canvas(g.art(n))
    with g.pixels():
        draw(c)
        c.shadow(0.28 if n > 16 else 0.18)
    return c.img


# ------------------------------------------------------------------ badge

BADGE_SIZE = (144, 172)  # 96 x 115 dialog units at 6 x 12 base units


def badge():
    """A certification seal: serrated blue rosette with a tick, a ribbon
    with the release name and orange ribbon tails, on the page's white."""
    w, h = g.ipx(BADGE_SIZE[0]), g.ipx(BADGE_SIZE[1])
    img = Image.new("RGBA", (w, h), g.WHITE + (255,))
    cx, cy = 72, 62
    tails = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    g.fill(tails, g.mask((w, h), lambda p: (
        p.poly([(50, 96), (70, 104), (58, 162), (48, 150), (36, 158)]),
        p.poly([(94, 96), (74, 104), (86, 162), (96, 150), (108, 158)]))), g.ORANGE)
    g.fill(tails, g.mask((w, h), lambda p: (
        p.poly([(52, 100), (62, 104), (54, 148), (48, 143)]),
        p.poly([(92, 100), (82, 104), (90, 148), (96, 143)]))), (0xff, 0xc0, 0x60))

    def rosette(p, r_out, r_in, teeth=24):
        pts = []
        for i in range(teeth * 2):
            a = math.pi * i / teeth - math.pi / 2
            r = r_out if i % 2 == 0 else r_in
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
        p.poly(pts)
    seal = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    g.fill(seal, g.mask((w, h), lambda p: rosette(p, 58, 52)), g.ACCENT_DARK)
    face = g.vgrad(w, h, [(0, (0x6c, 0xb4, 0xff)), (0.2, (0x6c, 0xb4, 0xff)), (0.62, (0x17, 0x4c, 0x9a)),
                          (1, (0x17, 0x4c, 0x9a))])
    g.fill(seal, g.mask((w, h), lambda p: rosette(p, 56, 50.5)), face)
    g.fill(seal, g.mask((w, h), lambda p: (p.circle(cx, cy, 44), p.circle(cx, cy, 42, 0))), g.WHITE, 0.8)
    g.fill(seal, g.mask((w, h), lambda p: p.ellipse((cx - 40, cy - 50, cx + 40, cy - 2))), g.WHITE, 0.16)
    g.fill(seal, g.mask((w, h), lambda p: p.line([(52, 52), (66, 66), (93, 38)], 9)), g.SHADOW, 0.3)
    g.fill(seal, g.mask((w, h), lambda p: p.line([(52, 50), (66, 64), (93, 36)], 9)), g.WHITE)
    big = g.sfont(g.LATIN_BOLD, 11 * g.SS)
    g.fill(seal, g.mask((w, h), lambda p: p.text((cx, 84), "Windows 7", big)), g.WHITE)
    out = g.shadowed(img, tails, 0.3, 1.2)
    return g.shadowed(out, seal, 0.35, 1.6, 2)


def dib_entry(img):
    """One icon image as a 32-bit DIB with its AND mask (height doubled)."""
    w, h = img.size
    rgba = img.convert("RGBA")
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, gr, b, a = rgba.getpixel((x, y))
            row += bytes((b, gr, r, a))
        rows.append(bytes(row))
    stride = ((w + 31) // 32) * 4
    mask = []
    for y in range(h - 1, -1, -1):
        bits = bytearray(stride)
        for x in range(w):
            if rgba.getpixel((x, y))[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask.append(bytes(bits))
    return header + b"".join(rows) + b"".join(mask)


def save_icon_largest_first(images, rid):
    """Writes res/icons/<rid>.ico with the largest image as the first entry:
    a button loads an icon at the size of the resource's first image, and
    these buttons want 32 pixels."""
    images = sorted(images, key=lambda im: -im.size[0])
    entries = [dib_entry(im) for im in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for im, data in zip(images, entries):
        w, h = im.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    if g.SET_DPI != 96:  # the other sets are looked up by size: any order
        g.save_icon(images, rid)
        return
    with open(g.icon_path(rid), "wb") as f:
        f.write(out + b"".join(entries))


def generate():
    for rid, draw in ICONS.items():
        save_icon_largest_first([icon(draw, 32), icon(draw, 16)], rid)
    g.save_bmp(badge(), 181)


def preview(path="/tmp/links_preview.png"):
    """All icons at 32 and 16 pixels on white and on a button face, plus the
    badge, enlarged 2x, for eyeballing."""
    ids = sorted(ICONS)
    sheet = Image.new("RGBA", (len(ids) * 40 + 160, 200), g.WHITE + (255,))
    for i, rid in enumerate(ids):
        x = 4 + i * 40
        sheet.alpha_composite(icon(ICONS[rid], 32), (x, 4))
        sheet.alpha_composite(icon(ICONS[rid], 16), (x + 8, 44))
        face = Image.new("RGBA", (36, 36), (236, 235, 230, 255))
        face.alpha_composite(icon(ICONS[rid], 32), (2, 2))
        sheet.alpha_composite(face, (x - 2, 66))
    sheet.alpha_composite(badge(), (len(ids) * 40 + 8, 4))
    sheet = sheet.resize((sheet.width * 2, sheet.height * 2), Image.NEAREST)
    sheet.convert("RGB").save(path)


if __name__ == "__main__":
    import sys
    sys.path.insert(0, __import__("os").path.dirname(__import__("os").path.dirname(__file__)))
    preview()
