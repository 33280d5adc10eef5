"""Artwork of the system information page: the four label icons (computer,
operating system, uptime, current user) and the six hardware row pictures
(processor, video adapter, optical drive, hard disk, memory, sound)."""
import math

from PIL import Image, ImageChops

import gen_artwork as g

WHITE = g.WHITE
BLUE_DARK = (0x1d, 0x4f, 0x91)
BLUE = (0x2f, 0x6f, 0xbf)
SKY = g.SKY
STEEL_DARK = (0x4a, 0x55, 0x63)
STEEL = (0x8c, 0x98, 0xa8)
SILVER = (0xd5, 0xdb, 0xe3)
GOLD = (0xd9, 0xa4, 0x1e)
GREEN_PCB = (0x2e, 0x8b, 0x57)
GREEN_DARK = (0x1d, 0x5e, 0x3a)


def layer(size):
    return Image.new("RGBA", size, (0, 0, 0, 0))


def grad(size, top, bottom):
    return g.vgrad(size[0], size[1], [(0, top), (1, bottom)])


def finish_bitmap(img):
    """Row pictures sit on the white page: flatten onto white."""
    base = Image.new("RGBA", img.size, WHITE + (255,))
    out = g.shadowed(base, img, 0.18, 1.0)
    return out.convert("RGB")


# ------------------------------------------------------------------ icons
# Drawn on a 32-unit design grid scaled to each size.

def icon_computer(n):
    s = n / 32.0
    img = layer((n, n))
    g.fill(img, g.mask((n, n), lambda p: (
        p.rect((2 * s, 3 * s, 30 * s, 23 * s), 2.5 * s),
        p.poly([(13 * s, 22 * s), (19 * s, 22 * s), (20.5 * s, 27 * s), (11.5 * s, 27 * s)]),
        p.rect((8 * s, 26.5 * s, 24 * s, 29.5 * s), 1.2 * s))), STEEL_DARK)
    screen = g.vgrad(n, n, [(0, (0x9c, 0xd2, 0xff)), (0.45, SKY), (0.75, BLUE_DARK), (1, BLUE_DARK)])
    g.fill(img, g.mask((n, n), lambda p: p.rect((4.5 * s, 5.5 * s, 27.5 * s, 20.5 * s), 0.8 * s)), screen)
    g.fill(img, g.mask((n, n), lambda p: p.poly([(4.5 * s, 5.5 * s), (20 * s, 5.5 * s),
                                                   (9 * s, 20.5 * s), (4.5 * s, 20.5 * s)])), WHITE, 0.25)
    g.fill(img, g.mask((n, n), lambda p: p.rect((8 * s, 26.5 * s, 24 * s, 27.6 * s))), STEEL, 0.8)
    return img


def icon_system(n):
    """An application window with a title bar and four coloured panes."""
    s = n / 32.0
    img = layer((n, n))
    g.fill(img, g.mask((n, n), lambda p: p.rect((2 * s, 3 * s, 30 * s, 29 * s), 3 * s)), BLUE_DARK)
    g.fill(img, g.mask((n, n), lambda p: p.rect((3.5 * s, 8.5 * s, 28.5 * s, 27.5 * s), 1.5 * s)), WHITE)
    for i, col in enumerate(((0xe4, 0x4d, 0x3a), (0x3d, 0xb8, 0x4c), (0x3f, 0x93, 0xf0), (0xf7, 0xc8, 0x2a))):
        x = 6 * s + (i % 2) * 10.5 * s
        y = 11 * s + (i // 2) * 8.5 * s
        g.fill(img, g.mask((n, n), lambda p, x=x, y=y: p.rect((x, y, x + 9 * s, y + 7 * s), 1 * s)), col)
    for k in range(3):  # title-bar dots
        g.fill(img, g.mask((n, n), lambda p, k=k: p.circle((21 + 3 * k) * s, 5.8 * s, 1.1 * s)), WHITE, 0.9)
    return img


def icon_uptime(n):
    s = n / 32.0
    img = layer((n, n))
    c = 16 * s
    g.fill(img, g.mask((n, n), lambda p: p.circle(c, c, 14 * s)), BLUE)
    face = g.vgrad(n, n, [(0, WHITE), (1, (0xe4, 0xee, 0xfa))])
    g.fill(img, g.mask((n, n), lambda p: p.circle(c, c, 11.5 * s)), face)
    if n >= 32:
        def ticks(p):
            for i in range(12):
                a = 2 * math.pi * i / 12
                r0, r1 = (8.2 if i % 3 == 0 else 9.3) * s, 10.5 * s
                p.line([(c + r0 * math.sin(a), c - r0 * math.cos(a)),
                        (c + r1 * math.sin(a), c - r1 * math.cos(a))], max(1.0, 1.1 * s))
        g.fill(img, g.mask((n, n), ticks), STEEL_DARK)
    hands = g.mask((n, n), lambda p: (
        p.line([(c, c), (c, c - 8 * s)], max(1.2, 1.8 * s)),
        p.line([(c, c), (c + 5.5 * s, c + 2.5 * s)], max(1.2, 1.8 * s))))
    g.fill(img, hands, BLUE_DARK)
    g.fill(img, g.mask((n, n), lambda p: p.circle(c, c, 1.8 * s)), (0xe4, 0x4d, 0x3a))
    return img


def icon_user(n):
    s = n / 32.0
    img = layer((n, n))
    body = g.vgrad(n, n, [(0, (0x5a, 0x9c, 0xe8)), (1, BLUE_DARK)])
    g.fill(img, g.mask((n, n), lambda p: p.ellipse((4 * s, 17 * s, 28 * s, 41 * s))), body)
    skin = g.vgrad(n, n, [(0, (0xff, 0xe0, 0xbd)), (1, (0xf0, 0xbb, 0x8a))])
    g.fill(img, g.mask((n, n), lambda p: p.circle(16 * s, 10.5 * s, 6.8 * s)), skin)
    g.fill(img, g.mask((n, n), lambda p: (
        p.pie((9 * s, 3.5 * s, 23 * s, 17.5 * s), 180, 360),
        p.circle(16 * s, 12 * s, 6.2 * s, 0))), (0x5b, 0x3a, 0x1e))
    # cut the body off at the bottom edge of the grid
    cut = g.mask((n, n), lambda p: p.rect((0, 0, 32 * s, 30 * s)))
    img.putalpha(ImageChops.multiply(img.getchannel("A"), cut))
    return img


ICONS = {153: icon_computer, 160: icon_system, 169: icon_uptime, 242: icon_user}


# --------------------------------------------------------- row pictures

def pic_processor():
    size = (g.ipx(48), g.ipx(37))
    img = layer(size)
    cx, cy = 24, 18.5

    def pins(p):
        for i in range(6):
            o = 12.5 + i * 4.6
            p.rect((o - 0.9, 2, o + 0.9, 8), 0.4)
            p.rect((o - 0.9, 29, o + 0.9, 35), 0.4)
        for i in range(5):
            o = 8.5 + i * 5
            p.rect((8, o - 0.9, 14, o + 0.9), 0.4)
            p.rect((34, o - 0.9, 40, o + 0.9), 0.4)
    g.fill(img, g.mask(size, pins), GOLD)
    g.fill(img, g.mask(size, lambda p: p.rect((11, 5, 37, 32), 2.5)), grad(size, (0x5c, 0x66, 0x74), (0x2c, 0x33, 0x3d)))
    g.fill(img, g.mask(size, lambda p: p.rect((16, 10, 32, 27), 1.5)), grad(size, (0xee, 0xf1, 0xf5), (0xb8, 0xc1, 0xcc)))
    f = g.sfont(g.LATIN_BOLD, 7 * g.SS)
    g.fill(img, g.mask(size, lambda p: p.text((cx, cy + 0.3), "CPU", f)), BLUE_DARK)
    g.fill(img, g.mask(size, lambda p: p.circle(13.6, 7.6, 0.9)), WHITE, 0.8)
    return img


def pic_memory():
    size = (g.ipx(48), g.ipx(37))
    img = layer(size)
    g.fill(img, g.mask(size, lambda p: p.rect((2, 9, 46, 29), 1.2)), grad(size, (0x3b, 0xa5, 0x6c), GREEN_DARK))
    g.fill(img, g.mask(size, lambda p: p.rect((20, 24, 22, 29))), WHITE)  # key notch
    for i in range(4):
        x = 4.5 + i * 10.3
        g.fill(img, g.mask(size, lambda p, x=x: p.rect((x, 12, x + 8, 22), 0.8)), grad(size, (0x4a, 0x52, 0x5e), (0x1f, 0x24, 0x2b)))

    def contacts(p):
        for i in range(20):
            x = 3.5 + i * 2.15
            if 19 <= x <= 22.5:
                continue
            p.rect((x, 25.5, x + 1.3, 29), 0.2)
    g.fill(img, g.mask(size, contacts), GOLD)
    return img


def pic_video():
    size = (g.ipx(48), g.ipx(37))
    img = layer(size)
    # bracket on the left, board, fan shroud
    g.fill(img, g.mask(size, lambda p: p.rect((2, 5, 6, 33), 0.8)), grad(size, SILVER, STEEL))
    g.fill(img, g.mask(size, lambda p: p.rect((5, 8, 46, 28), 1.5)), grad(size, (0x3b, 0xa5, 0x6c), GREEN_DARK))
    g.fill(img, g.mask(size, lambda p: p.rect((7, 9.5, 44, 26.5), 2)), grad(size, (0x4d, 0x57, 0x64), (0x22, 0x27, 0x2e)))
    g.fill(img, g.mask(size, lambda p: p.circle(21, 18, 7.5)), (0x15, 0x18, 0x1c))

    def blades(p):
        for i in range(7):
            a = 2 * math.pi * i / 7
            pts = [(21, 18), (21 + 7 * math.cos(a), 18 + 7 * math.sin(a)),
                   (21 + 6.5 * math.cos(a + 0.55), 18 + 6.5 * math.sin(a + 0.55))]
            p.poly(pts)
    g.fill(img, g.mask(size, blades), STEEL)
    g.fill(img, g.mask(size, lambda p: p.circle(21, 18, 2.2)), (0xe4, 0x4d, 0x3a))
    g.fill(img, g.mask(size, lambda p: p.rect((32, 13, 41, 23), 1)), SKY, 0.9)

    def fingers(p):
        for i in range(8):
            x = 14 + i * 3.6
            p.rect((x, 28, x + 2.2, 32), 0.2)
    g.fill(img, g.mask(size, fingers), GOLD)
    return img


def pic_sound():
    size = (g.ipx(50), g.ipx(37))
    img = layer(size)
    g.fill(img, g.mask(size, lambda p: p.poly([(6, 13), (13, 13), (24, 4), (24, 33), (13, 24), (6, 24)])),
           grad(size, (0x5a, 0x9c, 0xe8), BLUE_DARK))
    g.fill(img, g.mask(size, lambda p: p.rect((6, 13, 13, 24), 1)), BLUE_DARK)

    def waves(p):
        for r in (7, 12.5, 18):
            box = (24 - r + 3, 18.5 - r, 24 + r + 3, 18.5 + r)
            p.d.arc(p.box(box), -48, 48, fill=255, width=int(g.px(2.4) * g.SS))
    g.fill(img, g.mask(size, waves), SKY)
    return img


def pic_disk():
    size = (g.ipx(40), g.ipx(37))
    img = layer(size)
    g.fill(img, g.mask(size, lambda p: p.rect((3, 2, 37, 35), 2.5)), grad(size, (0xb8, 0xc1, 0xcc), (0x6f, 0x7b, 0x8a)))
    g.fill(img, g.mask(size, lambda p: p.circle(20, 15.5, 11.5)), grad(size, (0xf4, 0xf6, 0xf9), (0xb9, 0xc2, 0xce)))
    g.fill(img, g.mask(size, lambda p: (p.circle(20, 15.5, 11.5), p.circle(20, 15.5, 10.5, 0))), STEEL_DARK, 0.5)
    g.fill(img, g.mask(size, lambda p: p.circle(20, 15.5, 2.6)), STEEL_DARK)
    g.fill(img, g.mask(size, lambda p: p.line([(32, 5), (24, 19)], 2.2)), STEEL_DARK)
    g.fill(img, g.mask(size, lambda p: p.circle(32, 5.5, 2.2)), STEEL_DARK)
    g.fill(img, g.mask(size, lambda p: p.circle(32, 30.5, 1.6)), (0x3d, 0xd8, 0x4c))
    for x in (6, 34):
        g.fill(img, g.mask(size, lambda p, x=x: (p.circle(x, 5, 1.1), p.circle(x, 32, 1.1))), STEEL_DARK, 0.8)
    return img


def pic_optical():
    size = (g.ipx(42), g.ipx(37))
    img = layer(size)
    c = (21, 18.5)
    cx, cy = g.px(c[0]), g.px(c[1])
    rainbow = Image.new("RGB", size)
    px = rainbow.load()
    for y in range(size[1]):
        for x in range(size[0]):
            a = math.atan2(y - cy, x - cx)
            t = (a / (2 * math.pi)) % 1.0
            hue = [(0xd9, 0xe6, 0xf6), (0xf6, 0xd9, 0xf0), (0xdf, 0xf6, 0xd9), (0xf6, 0xef, 0xc9)]
            k = t * len(hue)
            i = int(k) % len(hue)
            px[x, y] = g.mix(hue[i], hue[(i + 1) % len(hue)], k - int(k))
    g.fill(img, g.mask(size, lambda p: p.circle(c[0], c[1], 16.5)), STEEL)
    g.fill(img, g.mask(size, lambda p: p.circle(c[0], c[1], 15.7)), rainbow)
    g.fill(img, g.mask(size, lambda p: p.pie((4.5, 2, 37.5, 35), 200, 250)), WHITE, 0.7)
    g.fill(img, g.mask(size, lambda p: p.circle(c[0], c[1], 6)), SILVER)
    g.fill(img, g.mask(size, lambda p: (p.circle(c[0], c[1], 6), p.circle(c[0], c[1], 5.2, 0))), STEEL, 0.8)
    hole = g.mask(size, lambda p: p.circle(c[0], c[1], 2.6))
    img.putalpha(ImageChops.subtract(img.getchannel("A"), hole))
    return img


BITMAPS = {220: pic_processor, 221: pic_video, 222: pic_optical, 223: pic_disk,
           224: pic_memory, 225: pic_sound}


# The page stacks its four label icons 16 to 20 pixels apart, each loaded at
# the standard 32 x 32: that image carries an 18-pixel glyph at its top left
# so neighbours never overlap. The 16 and 48 images are the glyph full size
# (lists show 160 at 16 x 16).
GLYPH_IN_32 = 18


def padded32(draw):
    img = layer((g.art(32), g.art(32)))
    img.alpha_composite(draw(g.art(GLYPH_IN_32)), (g.art(4), 0))
    return img


def generate():
    with g.pixels():
        for rid, draw in ICONS.items():
            g.save_icon([draw(g.art(48)), padded32(draw), draw(g.art(16))], rid)
    for rid, draw in BITMAPS.items():
        g.save_bmp(finish_bitmap(draw()), rid)
