"""Icons of the add-on and security tabs: 168 (browser: a globe with an
orbit ring) and 179 (green check: switch User Account Control on)."""
import math

from PIL import Image

import gen_artwork as g

BROWSER_ICON = 168
CHECK_ICON = 179

GLOBE_LIGHT = (0x7c, 0xc4, 0xff)
GLOBE_DARK = (0x12, 0x5c, 0xc0)
GLOBE_EDGE = (0x0b, 0x3d, 0x86)
RING = (0xf5, 0xb0, 0x1e)
RING_EDGE = (0xb8, 0x6e, 0x05)
CHECK_LIGHT = (0x6c, 0xd8, 0x5c)
CHECK_DARK = (0x1f, 0x8f, 0x2c)
CHECK_EDGE = (0x14, 0x62, 0x1e)


def browser(n):
    s = n / 32.0
    size = (n, n)
    img = Image.new("RGBA", size, (0, 0, 0, 0))
    cx, cy, r = 16 * s, 16.5 * s, 11.5 * s

    # Back half of the orbit ring, behind the globe.
    def ring(p, lo, hi, width):
        steps = 48
        pts = []
        for i in range(steps + 1):
            a = lo + (hi - lo) * i / steps
            x = cx + 15 * s * math.cos(a)
            y = cy + 5.2 * s * math.sin(a)
            # Tilt the ring: rotate by -25 degrees around the centre.
            t = math.radians(-25)
            dx, dy = x - cx, y - cy
            pts.append((cx + dx * math.cos(t) - dy * math.sin(t),
                        cy + dx * math.sin(t) + dy * math.cos(t)))
        p.line(pts, width)

    g.fill(img, g.mask(size, lambda p: ring(p, math.pi, 2 * math.pi, 3.2 * s)), RING_EDGE)
    g.fill(img, g.mask(size, lambda p: ring(p, math.pi, 2 * math.pi, 1.8 * s)), RING)

    # The globe: a dark rim, a lit body, meridians and parallels.
    g.fill(img, g.mask(size, lambda p: p.circle(cx, cy, r)), GLOBE_EDGE)
    body = g.vgrad(n, n, [(0, GLOBE_LIGHT), (1, GLOBE_DARK)])
    g.fill(img, g.mask(size, lambda p: p.circle(cx, cy, r - max(1.0, 1.2 * s))), body)

    def grid(p):
        w = max(0.9, 1.1 * s)
        p.d.ellipse(p.box((cx - r * 0.45, cy - r + 1, cx + r * 0.45, cy + r - 1)),
                    outline=255, width=int(round(w * g.SS)))
        p.line([(cx, cy - r + 1.5 * s), (cx, cy + r - 1.5 * s)], w)
        p.line([(cx - r + 1.5 * s, cy), (cx + r - 1.5 * s, cy)], w)
        for dy in (-r * 0.5, r * 0.5):
            half = math.sqrt(max(0.0, r * r - dy * dy)) - 1.8 * s
            p.line([(cx - half, cy + dy), (cx + half, cy + dy)], w * 0.85)

    g.fill(img, g.mask(size, grid), (255, 255, 255), alpha=0.55)
    # A soft highlight at the top left.
    g.fill(img, g.mask(size, lambda p: p.ellipse((cx - r * 0.75, cy - r * 0.85,
                                                  cx + r * 0.05, cy - r * 0.2))),
           (255, 255, 255), alpha=0.35)

    # Front half of the ring, over the globe.
    g.fill(img, g.mask(size, lambda p: ring(p, 0, math.pi, 3.2 * s)), RING_EDGE)
    g.fill(img, g.mask(size, lambda p: ring(p, 0, math.pi, 1.8 * s)), RING)
    return img


def check(n):
    s = n / 32.0
    size = (n, n)
    img = Image.new("RGBA", size, (0, 0, 0, 0))
    cx, cy, r = 16 * s, 16 * s, 14.5 * s
    g.fill(img, g.mask(size, lambda p: p.circle(cx, cy, r)), CHECK_EDGE)
    body = g.vgrad(n, n, [(0, CHECK_LIGHT), (1, CHECK_DARK)])
    g.fill(img, g.mask(size, lambda p: p.circle(cx, cy, r - max(1.0, 1.3 * s))), body)
    g.fill(img, g.mask(size, lambda p: p.ellipse((cx - r * 0.7, cy - r * 0.85,
                                                  cx + r * 0.7, cy - r * 0.05))),
           (255, 255, 255), alpha=0.3)
    tick = [(9 * s, 16.5 * s), (14 * s, 21.5 * s), (23.5 * s, 10.5 * s)]
    width = max(2.2, 4.2 * s)
    g.fill(img, g.mask(size, lambda p: p.line([(x, y + 0.8 * s) for x, y in tick], width)),
           g.SHADOW, alpha=0.35)
    g.fill(img, g.mask(size, lambda p: p.line(tick, width)), (255, 255, 255))
    return img


def generate():
    # One size each: the page buttons (33 pixels high) show an icon at the
    # size its file gives.
    with g.pixels():
        g.save_icon([browser(g.art(24))], BROWSER_ICON)
        g.save_icon([check(g.art(24))], CHECK_ICON)
