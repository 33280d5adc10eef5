#!/usr/bin/env python3
"""Generate Trimvex skin bitmaps and the application icon.

Run from the repository root with Debian's Python:

    /usr/bin/python3 tools/gen_artwork.py [--preview /tmp/artwork_preview.png]

Needs python3-pil and fonts-wqy-microhei (apt).  Writes 24-bit BMPs into
res/bitmaps/ (file name = resource id) and res/icons/128.ico (+ 128.png
preview).  Output is deterministic: regenerating gives identical bytes.

Shapes are drawn as coverage masks at 4x and downsampled for anti-aliasing.
Button "normal" images are crops of the window background with the glyph on
top, so they blend in seamlessly at their on-screen position.

Every image is drawn three times: for 96 dpi, and natively (not resized) for
125% (120 dpi, res/*/125/) and 150% (144 dpi, res/*/150/) text size. Layout
figures are 96-dpi pixels; px() and ipx() turn them into pixels of the set
being drawn, the way the program scales its own figures.
"""
import contextlib
import math
import os
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BMP_DIR = os.path.join(ROOT, "res", "bitmaps")
ICO_DIR = os.path.join(ROOT, "res", "icons")

CJK_FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
LATIN_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

SS = 4  # supersampling factor for shapes

# The resolution being drawn (what px/ipx and the Pen scale 96-dpi figures
# to) and the set being written. Icons are drawn in their own pixels: see
# pixels().
DPI = 96
SET_DPI = 96
# (folder, dpi, resource id offset: IDR_ART_125_OFFSET / IDR_ART_150_OFFSET
# in res/resource.h)
SCALED_SETS = [("125", 120, 20000), ("150", 144, 30000)]

# Window layout (background coordinates)
WIN_W, WIN_H = 780, 565
HEADER_H = 118
# White content panel, exclusive right/bottom. The main window paints its
# content frame (x 11..772, y 125..537) white over it, so the border lies
# just outside that frame to stay visible.
PANEL = (10, 124, 774, 539)
SECTION_Y, SECTION_W, SECTION_H = 25, 65, 60
CAPTION_Y, CAPTION_SIZE = 7, 18
LOGO_POS, LOGO_SIZE = (618, 42), (150, 40)

# Palette
HEADER_TOP = (0x1d, 0x4f, 0x91)
HEADER_BOTTOM = (0x2f, 0x6f, 0xbf)
ACCENT_DARK = (0x1d, 0x4f, 0x91)
PAGE_BG = (0xe8, 0xee, 0xf6)
PANEL_BORDER = (0xa9, 0xbd, 0xd6)
WHITE = (255, 255, 255)
SHADOW = (0, 20, 60)
ORANGE = (0xf5, 0x9a, 0x23)
GREEN = (0x3d, 0xb8, 0x4c)
RED = (0xe4, 0x4d, 0x3a)
YELLOW = (0xf7, 0xc8, 0x2a)
SKY = (0x3f, 0x93, 0xf0)

# (label, normal id, down id, hover id, pictogram)
SECTIONS = [
    ("系统信息", 187, 205, 204, "monitor"),
    ("系统优化", 193, 192, 191, "gauge"),
    ("美化设置", 196, 195, 194, "palette"),
    ("系统管理", 190, 189, 188, "gear"),
    ("驱动下载", 207, 208, 200, "chip"),
    ("软件推荐", 199, 198, 197, "apps"),
    ("帮助中心", 203, 202, 201, "help"),
]
UNUSED_SECTION_COPY = 206  # copy of section 1's down look

# (glyph, x, normal id, pressed id, hover id)
CAPTIONS = [
    ("home", 679, 209, 214, 215),
    ("minimize", 723, 211, 210, 216),
    ("close", 750, 213, 212, 217),
]

# (label, normal id, down id, hover id)
TABS = [
    ("启动项目", 229, 228, 227),
    ("进程管理", 230, 232, 231),
    ("服务管理", 235, 234, 233),
    ("IE插件", 236, 238, 237),
    ("安全设置", 241, 240, 239),
]
TAB_SIZE = (90, 28)


# ---------------------------------------------------------------- helpers

def scaled(v, dpi):
    """A whole 96-dpi length at dpi, rounded as the program rounds (MulDiv)."""
    return (v * dpi + 48) // 96


def px(v):
    """A 96-dpi figure (coordinate, radius, width, blur) at DPI, unrounded.
    Rounded off at a millionth so that a canvas edge given in 96-dpi units
    lands exactly on its pixel."""
    return v if DPI == 96 else round(v * DPI / 96.0, 6)


def pxs(values):
    return tuple(px(v) for v in values)


def ipx(v):
    """A whole 96-dpi length (size, position, offset) at DPI, in whole pixels."""
    return scaled(v, DPI)


def art(v):
    """An icon size of the 96-dpi set in the set being written."""
    return scaled(v, SET_DPI)


def units(v):
    """The 96-dpi figure that px() takes to v pixels (a canvas edge)."""
    return v if DPI == 96 else v * 96.0 / DPI


@contextlib.contextmanager
def pixels():
    """Draws in plain pixels: icons take their pixel size and scale their
    own shapes to it."""
    global DPI
    saved, DPI = DPI, 96
    try:
        yield
    finally:
        DPI = saved


@contextlib.contextmanager
def art_set(dpi):
    global DPI, SET_DPI
    DPI = SET_DPI = dpi
    try:
        yield
    finally:
        DPI = SET_DPI = 96


def set_folder():
    return {dpi: folder for folder, dpi, _o in SCALED_SETS}.get(SET_DPI, "")


def font(path, size, index=0):
    return ImageFont.truetype(path, size, index=index)


def sfont(path, size):
    """A font of a 96-dpi size (supersampled or not) at DPI."""
    return font(path, size if DPI == 96 else int(round(size * DPI / 96.0)))


def mix(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def vgrad(w, h, stops):
    """Vertical gradient; stops are (position 0..1, rgb) pairs."""
    col = Image.new("RGB", (1, h))
    for y in range(h):
        t = y / max(1, h - 1)
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if p0 <= t <= p1:
                col.putpixel((0, y), mix(c0, c1, (t - p0) / max(1e-9, p1 - p0)))
                break
    return col.resize((w, h), Image.NEAREST)


class Pen:
    """Draws on a supersampled mask using 1x (float) coordinates."""

    def __init__(self, draw):
        self.d = draw

    @staticmethod
    def box(b):
        x0, y0, x1, y1 = pxs(b)
        return [x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1]

    def rect(self, b, r=0, v=255):
        self.d.rounded_rectangle(self.box(b), radius=px(r) * SS, fill=v)

    def ellipse(self, b, v=255):
        self.d.ellipse(self.box(b), fill=v)

    def circle(self, cx, cy, r, v=255):
        self.ellipse((cx - r, cy - r, cx + r, cy + r), v)

    def poly(self, pts, v=255):
        self.d.polygon([(px(x) * SS, px(y) * SS) for x, y in pts], fill=v)

    def line(self, pts, w, v=255):
        """Polyline with round caps and joints."""
        self.d.line([(px(x) * SS, px(y) * SS) for x, y in pts], fill=v,
                    width=int(round(px(w) * SS)), joint="curve")
        for x, y in (pts[0], pts[-1]):
            self.circle(x, y, w / 2, v)

    def pie(self, b, a0, a1, v=255):
        self.d.pieslice(self.box(b), a0, a1, fill=v)

    def text(self, xy, s, fnt, v=255, anchor="mm"):
        self.d.text((px(xy[0]) * SS, px(xy[1]) * SS), s, font=fnt, fill=v, anchor=anchor)


def mask(size, fn):
    """Coverage mask of size (1x) drawn by fn(pen) at SS x, downsampled."""
    m = Image.new("L", (size[0] * SS, size[1] * SS), 0)
    fn(Pen(ImageDraw.Draw(m)))
    return m.resize(size, Image.LANCZOS)


def fill(layer, m, paint, alpha=1.0, offset=(0, 0)):
    """Composite a colour or image onto RGBA layer through mask m."""
    if isinstance(paint, tuple):
        paint = Image.new("RGB", m.size, paint[:3])
    src = paint.convert("RGBA")
    a = m if alpha >= 1.0 else m.point(lambda p: int(p * alpha + 0.5))
    src.putalpha(a)
    layer.alpha_composite(src, offset)


def shadowed(base, layer, alpha=0.45, blur=1.0, dy=1):
    """Put layer onto base with a soft dark drop shadow below it (blur and
    drop in 96-dpi pixels)."""
    sh = layer.getchannel("A").filter(ImageFilter.GaussianBlur(px(blur)))
    out = base.copy()
    fill(out, sh, SHADOW, alpha, (0, ipx(dy)))
    out.alpha_composite(layer)
    return out


def text_mask(size, s, fnt, xy, bold=False):
    """1x text mask (hinted FreeType rendering keeps small CJK crisp)."""
    m = Image.new("L", size, 0)
    d = ImageDraw.Draw(m)
    d.text(xy, s, font=fnt, fill=255)
    if bold:  # synthetic bold: overstrike one pixel to the right
        d.text((xy[0] + 1, xy[1]), s, font=fnt, fill=255)
    return m


def centred_text_xy(size, s, fnt, cy, bold=False):
    x0, y0, x1, y1 = fnt.getbbox(s)
    w = x1 - x0 + (1 if bold else 0)
    return ((size[0] - w) // 2 - x0, int(round(cy - (y0 + y1) / 2)))


def bmp_path(rid):
    return os.path.join(BMP_DIR, set_folder(), "%d.bmp" % rid)


def icon_path(rid):
    return os.path.join(ICO_DIR, set_folder(), "%d.ico" % rid)


def save_bmp(img, rid):
    img.convert("RGB").save(bmp_path(rid), "BMP")


def save_icon(images, rid):
    """Writes res/icons[/<set>]/<rid>.ico from RGBA images, largest first,
    one per size the icon carries."""
    images = sorted(images, key=lambda im: -im.size[0])
    images[0].save(icon_path(rid),
                   sizes=[im.size for im in reversed(images)], append_images=images[1:])


# ------------------------------------------------------------- background

def background():
    w, h, header = ipx(WIN_W), ipx(WIN_H), ipx(HEADER_H)
    line = ipx(1)  # a one-pixel rule, thicker when scaled
    img = Image.new("RGBA", (w, h), PAGE_BG + (255,))
    img.paste(vgrad(w, header, [(0, HEADER_TOP), (1, HEADER_BOTTOM)]))
    # glossy light stripe across the top of the header
    gloss = Image.new("L", (1, header), 0)
    for y in range(header):
        t = y / px(62.0)
        gloss.putpixel((0, y), int(48 * (1 - t) ** 2) if t < 1 else 0)
    fill(img, gloss.resize((w, header)), WHITE)
    # soft glow behind the logo area (smooth, so stretching is harmless)
    glow = Image.new("L", (w, header), 0)
    ImageDraw.Draw(glow).ellipse(pxs((560, -40, 860, 150)), fill=60)
    fill(img, glow.filter(ImageFilter.GaussianBlur(px(40))), (120, 180, 255))
    d = ImageDraw.Draw(img)
    for i in range(line):
        d.line((0, i, w, i), fill=(0x4a, 0x7d, 0xc0))           # top rim
        y = header - 2 * line + i
        d.line((0, y, w, y), fill=(0x6c, 0xa2, 0xe2))
        y = header - line + i
        d.line((0, y, w, y), fill=(0x1a, 0x46, 0x80))
    # soft shadow of the header on the light area below
    sh = vgrad(w, ipx(6), [(0, (0xb9, 0xc8, 0xdb)), (1, PAGE_BG)])
    img.paste(sh, (0, header))
    draw_panel(img)
    return img.convert("RGB")


def panel_box():
    """PANEL at DPI, and its border's width. The program scales the content
    frame's edges, so the border stays just outside the scaled frame."""
    b = ipx(1)
    x0, y0, x1, y1 = PANEL
    return (ipx(x0 + 1) - b, ipx(y0 + 1) - b, ipx(x1 - 1) + b, ipx(y1 - 1) + b), b


def draw_panel(img):
    (x0, y0, x1, y1), b = panel_box()
    sh = Image.new("L", img.size, 0)
    ImageDraw.Draw(sh).rectangle((x0, y0 + b, x1 + b - 1, y1 + b - 1), fill=70)
    fill(img, sh.filter(ImageFilter.GaussianBlur(px(2))), (0x60, 0x78, 0x98))
    d = ImageDraw.Draw(img)
    d.rectangle((x0, y0, x1 - 1, y1 - 1), fill=WHITE, outline=PANEL_BORDER, width=b)
    for i in range(b):
        d.line((x0 + b, y0 + b + i, x1 - 1 - b, y0 + b + i), fill=(0xf3, 0xf7, 0xfc))


# -------------------------------------------------------------- pictograms
# Each paints onto an RGBA layer of the button size using two colour roles:
# fg (main body: white on blue, dark blue on the selected panel) and ink
# (details that contrast with fg).  Pictograms occupy roughly y 4..37.

def pic_monitor(size, fg, ink, layer):
    fill(layer, mask(size, lambda p: (
        p.rect((15, 6, 50, 30), 3),
        p.poly([(29, 29), (36, 29), (38, 34), (27, 34)]),
        p.rect((22, 33.5, 43, 36.5), 1.5))), fg)
    screen = vgrad(size[0], size[1], [(0, (0x9c, 0xd2, 0xff)), (0.35, SKY),
                                      (0.55, (0x1f, 0x62, 0xb8)), (1, (0x1f, 0x62, 0xb8))])
    fill(layer, mask(size, lambda p: p.rect((18, 9, 47, 27), 1)), screen)
    # reflection and a small chart on the screen
    fill(layer, mask(size, lambda p: p.poly([(18, 9), (38, 9), (24, 27), (18, 27)])),
         WHITE, 0.22)
    fill(layer, mask(size, lambda p: p.line([(22, 23), (28, 18), (33, 21), (42, 13)], 1.6)),
         WHITE)


def pic_gauge(size, fg, ink, layer):
    cx, cy, r = 32.5, 28, 19
    fill(layer, mask(size, lambda p: (
        p.pie((cx - r, cy - r, cx + r, cy + r), 180, 360),
        p.rect((cx - r, cy - 0.5, cx + r, cy + 5), 2.5))), fg)
    ri = r - 3
    for a0, a1, col in ((180, 240, GREEN), (240, 300, YELLOW), (300, 360, RED)):
        fill(layer, mask(size, lambda p, a0=a0, a1=a1: (
            p.pie((cx - ri, cy - ri, cx + ri, cy + ri), a0, a1),
            p.circle(cx, cy, ri - 4, 0))), col)

    def needle(p):
        a = math.radians(-52)
        tip = (cx + 14 * math.cos(a), cy + 14 * math.sin(a))
        p.line([(cx, cy), tip], 2.4)
        p.circle(cx, cy, 3.6)
    fill(layer, mask(size, needle), ink)


def pic_palette(size, fg, ink, layer):
    def body(p):
        p.ellipse((14, 5, 51, 35))
        p.circle(44, 31, 6.5, 0)           # notch where the thumb goes
        p.circle(37, 25, 3.2, 0)           # thumb hole
    fill(layer, mask(size, body), fg)
    for (x, y), col in (((21, 16), RED), ((28, 10.5), YELLOW),
                        ((37.5, 11), GREEN), ((44, 17.5), SKY), ((22.5, 25.5), ORANGE)):
        fill(layer, mask(size, lambda p, x=x, y=y: p.circle(x, y, 3.3)), col)
    # brush across the palette
    fill(layer, mask(size, lambda p: p.line([(48, 4), (34, 22)], 2.6)), ink)
    fill(layer, mask(size, lambda p: p.poly([(33, 20.5), (36.5, 23.5), (32, 28.5), (29.5, 27.5)])),
         ORANGE)


def pic_gear(size, fg, ink, layer):
    cx, cy, teeth = 32.5, 20.5, 8

    def gear(p):
        pts = []
        for i in range(teeth):
            base = 2 * math.pi * i / teeth
            for da, rad in ((-0.30, 12), (-0.17, 16), (0.17, 16), (0.30, 12)):
                a = base + da
                pts.append((cx + rad * math.cos(a), cy + rad * math.sin(a)))
        p.poly(pts)
        p.circle(cx, cy, 12.5)
        p.circle(cx, cy, 5.2, 0)
    fill(layer, mask(size, gear), fg)
    fill(layer, mask(size, lambda p: (p.circle(cx, cy, 9.2), p.circle(cx, cy, 7, 0))), ink, 0.55)


def pic_chip(size, fg, ink, layer):
    fill(layer, mask(size, _chip_pins), fg)
    fill(layer, mask(size, lambda p: p.rect((21, 13, 37, 25), 1.5)), ink, 0.75)
    fill(layer, mask(size, lambda p: p.circle(44, 28, 8.5)), WHITE)
    fill(layer, mask(size, lambda p: p.circle(44, 28, 7.3)), GREEN)
    fill(layer, mask(size, lambda p: (
        p.rect((42.6, 22.5, 45.4, 28.5)),
        p.poly([(39.5, 27.5), (48.5, 27.5), (44, 32.5)]))), WHITE)


def _chip_pins(p):
    for i in range(4):
        o = 21.5 + i * 5
        p.rect((o - 1, 5, o + 1, 10), 0.5)
        p.rect((o - 1, 28, o + 1, 33), 0.5)
        y = 12.5 + i * 5 - 1.5
        p.rect((12, y - 1, 18, y + 1), 0.5)
        p.rect((40, y - 1, 46, y + 1), 0.5)
    p.rect((16, 8.5, 42, 29.5), 2.5)


def pic_apps(size, fg, ink, layer):
    tiles = [((17, 5), fg), ((34, 5), ORANGE), ((17, 22), GREEN), ((34, 22), RED)]
    for (x, y), col in tiles:
        fill(layer, mask(size, lambda p, x=x, y=y: p.rect((x, y, x + 14, y + 14), 3)), col)
        fill(layer, mask(size, lambda p, x=x, y=y: p.rect((x + 1, y + 1, x + 13, y + 6.5), 2.5)),
             WHITE, 0.28)
    # a tiny download arrow on the first tile so the grid reads as "get apps"
    fill(layer, mask(size, lambda p: (p.rect((23, 8, 25, 14)),
                                      p.poly([(20.5, 13), (27.5, 13), (24, 16.5)]))), ink)


def pic_help(size, fg, ink, layer):
    fill(layer, mask(size, lambda p: p.circle(32.5, 20.5, 15.5)), fg)
    qf = sfont(LATIN_BOLD, 25 * SS)
    fill(layer, mask(size, lambda p: p.text((32.6, 21.5), "?", qf)), ink)


PICTOGRAMS = {"monitor": pic_monitor, "gauge": pic_gauge, "palette": pic_palette,
              "gear": pic_gear, "chip": pic_chip, "apps": pic_apps, "help": pic_help}


# -------------------------------------------------------- section buttons

def rounded_panel(size, box, r, paint, alpha=1.0):
    layer = Image.new("RGBA", size, (0, 0, 0, 0))
    fill(layer, mask(size, lambda p: p.rect(box, r)), paint, alpha)
    return layer


def edge_box(size, inset=0):
    """The canvas' own edges in 96-dpi units, moved in by `inset` units."""
    w, h = units(size[0]), units(size[1])
    return (inset, inset, w - inset, h - inset)


def crop_at(bg, xy96, size):
    """The background under an image the program places at the scaled
    96-dpi position xy96 with its size scaled (size is already scaled)."""
    x, y = ipx(xy96[0]), ipx(xy96[1])
    return bg.crop((x, y, x + size[0], y + size[1])).convert("RGBA")


def section_button(bg, index, kind, look):
    label = SECTIONS[index][0]
    size = (ipx(SECTION_W), ipx(SECTION_H))
    img = crop_at(bg, (12 + 75 * index, SECTION_Y), size)
    if look == "hover":
        # translucent light panel: pale rim, header-blue body, fading white sheen
        img.alpha_composite(rounded_panel(size, edge_box(size), 6, (0xc8, 0xe0, 0xff), 0.55))
        img.alpha_composite(rounded_panel(size, edge_box(size, 1), 5, HEADER_BOTTOM, 0.55))
        sheen = vgrad(*size, [(0, (90,) * 3), (0.5, (34,) * 3), (1, (20,) * 3)]).convert("L")
        fill(img, ImageChops.multiply(mask(size, lambda p: p.rect(edge_box(size, 1), 5)), sheen),
             WHITE)
    if look == "down":
        img.alpha_composite(rounded_panel(size, edge_box(size), 6, (0x12, 0x3a, 0x72), 0.6))
        face = vgrad(*size, [(0, WHITE), (0.6, (0xf0, 0xf5, 0xfc)), (1, (0xd9, 0xe6, 0xf6))])
        img.alpha_composite(rounded_panel(size, edge_box(size, 1), 5, face))
    on_blue = look != "down"
    fg, ink = (WHITE, ACCENT_DARK) if on_blue else (ACCENT_DARK, WHITE)
    glyph = Image.new("RGBA", size, (0, 0, 0, 0))
    PICTOGRAMS[kind](size, fg, ink, glyph)
    img = shadowed(img, glyph, 0.5 if on_blue else 0.18, 1.2 if on_blue else 1.0)
    f = font(CJK_FONT, ipx(12))
    xy = centred_text_xy(size, label, f, px(48.5))
    tm = text_mask(size, label, f, xy)
    if on_blue:
        fill(img, tm, SHADOW, 0.55, (0, ipx(1)))
        fill(img, tm, WHITE)
    else:
        fill(img, tm, ACCENT_DARK)
    return img.convert("RGB")


# -------------------------------------------------------- caption buttons

def caption_glyph(kind, size):
    def draw(p):
        if kind == "close":
            p.line([(5.5, 5.5), (12.5, 12.5)], 1.9)
            p.line([(12.5, 5.5), (5.5, 12.5)], 1.9)
        elif kind == "minimize":
            p.rect((4.5, 10.5, 13.5, 12.5), 0.6)
        else:  # house: roof, body, door
            p.line([(3, 9.5), (9, 3.8), (15, 9.5)], 1.8)
            p.rect((5.5, 8.5, 12.5, 14.5), 0.5)
            p.rect((8, 10.5, 10, 14.5), 0, 0)
    return mask(size, draw)


def caption_button(bg, kind, x, look):
    size = (ipx(CAPTION_SIZE), ipx(CAPTION_SIZE))
    img = crop_at(bg, (x, CAPTION_Y), size)
    box, inner = edge_box(size), edge_box(size, 1)
    if look == "hover":
        if kind == "close":
            face = vgrad(*size, [(0, (0xf2, 0x7b, 0x6f)), (0.5, (0xde, 0x45, 0x3a)),
                                 (1, (0xc0, 0x2a, 0x22))])
            img.alpha_composite(rounded_panel(size, box, 3, (0x8a, 0x1c, 0x16)))
            img.alpha_composite(rounded_panel(size, inner, 2.5, face))
        else:
            img.alpha_composite(rounded_panel(size, box, 3, WHITE, 0.5))
            img.alpha_composite(rounded_panel(size, inner, 2.5, HEADER_BOTTOM, 0.75))
            img.alpha_composite(rounded_panel(size, inner[:3] + (9,), 2.5, WHITE, 0.15))
    elif look == "pressed":
        col = (0x8e, 0x1a, 0x14) if kind == "close" else (0x0c, 0x2a, 0x58)
        img.alpha_composite(rounded_panel(size, box, 3, col, 0.85 if kind == "close" else 0.55))
    g = caption_glyph(kind, size)
    dy = ipx(1) if look == "pressed" else 0
    fill(img, g, SHADOW, 0.5, (0, ipx(1) + dy))
    fill(img, g, WHITE, 0.8 if look == "pressed" else 1.0, (0, dy))
    return img.convert("RGB")


# ------------------------------------------------------------- logo/icon

def emblem_mask(size, box):
    """Stylised T in a rounded square; returns (square, T, spark) masks.
    T edges are snapped to whole pixels so small sizes stay crisp."""
    x0, y0, x1, y1 = box
    s = (x1 - x0) / 32.0
    snap = lambda v: math.floor(v + 0.5)
    if x1 - x0 <= 16:  # hand-fitted 16 px grid
        bar, stem = (x0 + 3, y0 + 3, x0 + 13, y0 + 6), (x0 + 6, y0 + 4, x0 + 10, y0 + 13)
        dot = (x0 + 12.6, y0 + 11.8, 1.9)
    else:
        bar = tuple(snap(v) for v in (x0 + 7 * s, y0 + 7 * s, x1 - 7 * s, y0 + 13 * s))
        stem = tuple(snap(v) for v in (x0 + 13 * s, y0 + 9 * s, x0 + 19 * s, y1 - 5.5 * s))
        dot = (x1 - 6.5 * s, y1 - 8 * s, 3.2 * s)

    def t(p):
        p.rect(bar, min(2 * s, 1.5))
        p.rect(stem, min(2 * s, 1.5))
    return (mask(size, lambda p: p.rect(box, 7 * s)), mask(size, t),
            mask(size, lambda p: p.circle(*dot)))


def draw_emblem(img, box, ring=True, spark=ORANGE, k=1, dy=1):
    """The emblem in pixel box `box`; k scales the ring and the highlight's
    reach (the logo's resolution over 96 dpi), dy is the T's shadow drop."""
    size = img.size
    sq, t, sp = emblem_mask(size, box)
    x0, y0, x1, y1 = box
    if ring:
        ring_box = (x0 - 1.2 * k, y0 - 1.2 * k, x1 + 1.2 * k, y1 + 1.2 * k)
        fill(img, mask(size, lambda p: p.rect(ring_box, 8 * k)), WHITE, 0.9)
    face = vgrad(size[0], size[1], [(0, (0x6c, 0xb4, 0xff)), (y0 / size[1], (0x6c, 0xb4, 0xff)),
                                    (y1 / size[1], (0x17, 0x4c, 0x9a)), (1, (0x17, 0x4c, 0x9a))])
    fill(img, sq, face)
    hl = mask(size, lambda p: p.ellipse((x0 - 6 * k, y0 - (y1 - y0) * 0.55, x1 + 6 * k,
                                         y0 + (y1 - y0) * 0.45)))
    fill(img, Image.composite(hl, Image.new("L", size, 0), sq), WHITE, 0.25)
    fill(img, t, SHADOW, 0.35, (0, dy))
    fill(img, t, WHITE)
    fill(img, sp, spark)


def logo(bg, blink):
    size = (ipx(LOGO_SIZE[0]), ipx(LOGO_SIZE[1]))
    img = crop_at(bg, LOGO_POS, size)
    # The emblem on whole pixels, so that its T snaps to them at every set.
    x0, y0, side = ipx(6), ipx(5), ipx(30)
    k, dy = (1 if DPI == 96 else DPI / 96.0), ipx(1)
    with pixels():
        draw_emblem(img, (x0, y0, x0 + side, y0 + side), spark=YELLOW if blink else ORANGE,
                    k=k, dy=dy)
    big = sfont(LATIN_BOLD, 23 * SS)
    tm = mask(size, lambda p: p.text((44, 20.5), "Trimvex", big, anchor="lm"))
    fill(img, tm.filter(ImageFilter.GaussianBlur(px(1.2))), SHADOW, 0.6, (0, ipx(1)))
    fill(img, tm, WHITE)
    if blink:
        glint_logo(img, tm)
    return img.convert("RGB")


def glint_logo(img, text_m):
    """Diagonal light sweep over the logo plus a glowing star on the spark."""
    size = img.size
    band = mask(size, lambda p: p.poly([(72, -2), (88, -2), (66, 42), (50, 42)]))
    band = band.filter(ImageFilter.GaussianBlur(px(2.5)))
    fill(img, Image.composite(band, Image.new("L", size, 0), text_m), (0xff, 0xe3, 0x7a))
    fill(img, band, WHITE, 0.3)
    cx, cy = 30, 27
    glow = mask(size, lambda p: p.circle(cx, cy, 5)).filter(ImageFilter.GaussianBlur(px(2)))
    fill(img, glow, YELLOW)

    def star(p):
        p.poly([(cx, cy - 8), (cx + 1.3, cy - 1.3), (cx + 8, cy), (cx + 1.3, cy + 1.3),
                (cx, cy + 8), (cx - 1.3, cy + 1.3), (cx - 8, cy), (cx - 1.3, cy - 1.3)])
    fill(img, mask(size, star), WHITE)


def app_icon(n):
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    draw_emblem(img, (0, 0, n, n), ring=False)
    return img


# ------------------------------------------------------------------ tabs

def tab(label, look):
    w, h = ipx(TAB_SIZE[0]), ipx(TAB_SIZE[1])
    img = Image.new("RGBA", (w, h), WHITE + (255,))
    uw, uh = units(w), units(h)
    body = (0, 3, uw, uh + 6)  # bottom corners fall outside: rounded top only
    inner = (1, 4, uw - 1, uh + 6)
    if look == "down":
        border, face = ACCENT_DARK, vgrad(w, h, [(0, (0x4d, 0x8b, 0xd8)), (0.5, (0x35, 0x74, 0xc4)),
                                                 (1, (0x27, 0x5f, 0xab))])
        text_col, bold = WHITE, True
    elif look == "hover":
        border, face = (0x5b, 0x92, 0xd6), vgrad(w, h, [(0, WHITE), (1, (0xe2, 0xee, 0xfc))])
        text_col, bold = ACCENT_DARK, False
    else:
        border, face = (0xb4, 0xc4, 0xd9), vgrad(w, h, [(0, (0xf7, 0xf9, 0xfc)),
                                                       (1, (0xe1, 0xe8, 0xf2))])
        text_col, bold = (0x33, 0x3d, 0x4a), False
    img.alpha_composite(rounded_panel((w, h), body, 4, border))
    img.alpha_composite(rounded_panel((w, h), inner, 3, face))
    f = font(CJK_FONT, ipx(12))
    xy = centred_text_xy((w, h), label, f, px(16), bold)
    tm = text_mask((w, h), label, f, xy, bold)
    if look == "down":
        fill(img, tm, SHADOW, 0.45, (0, ipx(1)))
    fill(img, tm, text_col)
    return img.convert("RGB")


def separator():
    w, h = ipx(772), ipx(1)
    img = Image.new("RGB", (w, h))
    line = (0xb8, 0xc9, 0xdf)
    for x in range(w):
        edge = min(x, w - 1 - x) / px(120.0)
        for y in range(h):
            img.putpixel((x, y), mix(WHITE, line, min(1.0, edge)))
    return img


# ------------------------------------------------------------------ main

def preview(bg, out):
    """Mock window (some buttons hovered/down) plus strips with every tab,
    caption button and the blink logo, for eyeballing only; at DPI."""
    at = lambda x, y: (ipx(x), ipx(y))
    w, h = bg.size
    canvas = Image.new("RGB", (w, h + ipx(250)), WHITE)
    canvas.paste(bg, (0, 0))
    for i, (_, n, d, hv, _k) in enumerate(SECTIONS):
        canvas.paste(out[{1: d, 2: hv}.get(i, n)], at(12 + 75 * i, SECTION_Y))
    for kind, x, n, _p, hv in CAPTIONS:
        canvas.paste(out[hv if kind == "close" else n], at(x, CAPTION_Y))
    canvas.paste(out[218], at(*LOGO_POS))
    for i, (_, n, d, hv) in enumerate(TABS):
        canvas.paste(out[d if i == 0 else hv if i == 1 else n], at(20 + 92 * i, 134))
    (x0, _y0, x1, _y1), b = panel_box()
    canvas.paste(out[226].crop((0, 0, x1 - x0 - 2 * b, 1)), (x0 + b, ipx(162)))
    for i, ids in enumerate(TABS):
        for j, rid in enumerate(ids[1:]):
            canvas.paste(out[rid], (ipx(8 + 152 * i), h + ipx(8 + 34 * j)))
    for k in range(3):  # one header strip per caption look, buttons at their own x
        strip = bg.crop((0, 0, w, ipx(32)))
        for _kind, x, *ids in CAPTIONS:
            strip.paste(out[ids[k]], at(x, CAPTION_Y))
        canvas.paste(strip, (0, h + ipx(152 + 32 * k)))
    canvas.paste(bg.crop((ipx(400), ipx(LOGO_POS[1]), w, ipx(LOGO_POS[1] + 40))),
                 (ipx(400), h + ipx(108)))
    canvas.paste(out[219], (ipx(LOGO_POS[0] - 180), h + ipx(108)))
    return canvas


def draw_set():
    """Every bitmap and icon of the set SET_DPI, drawn at its resolution."""
    bg = background()
    out = {186: bg}
    for i, (label, n, d, hv, kind) in enumerate(SECTIONS):
        for rid, look in ((n, "normal"), (d, "down"), (hv, "hover")):
            out[rid] = section_button(bg, i, kind, look)
    out[UNUSED_SECTION_COPY] = out[SECTIONS[0][2]].copy()
    for kind, x, n, p, hv in CAPTIONS:
        for rid, look in ((n, "normal"), (p, "pressed"), (hv, "hover")):
            out[rid] = caption_button(bg, kind, x, look)
    out[218] = logo(bg, False)
    out[219] = logo(bg, True)
    out[226] = separator()
    for label, n, d, hv in TABS:
        for rid, look in ((n, "normal"), (d, "down"), (hv, "hover")):
            out[rid] = tab(label, look)
    for rid in sorted(out):
        save_bmp(out[rid], rid)
    with pixels():
        icons = [app_icon(art(n)) for n in (48, 32, 16)]
    save_icon(icons, 128)
    if SET_DPI == 96:
        icons[0].save(os.path.join(ICO_DIR, "128.png"))
    run_area_modules()
    return bg, out


def main():
    os.makedirs(BMP_DIR, exist_ok=True)
    os.makedirs(ICO_DIR, exist_ok=True)
    previews = []
    for folder, dpi in [("", 96)] + [(f, d) for f, d, _o in SCALED_SETS]:
        os.makedirs(os.path.join(BMP_DIR, folder), exist_ok=True)
        os.makedirs(os.path.join(ICO_DIR, folder), exist_ok=True)
        with art_set(dpi):
            bg, out = draw_set()
            if len(sys.argv) == 3 and sys.argv[1] == "--preview":
                previews.append(preview(bg, out))
    write_scaled_rc()
    if previews:
        # The 96, 125% and 150% windows one below the other.
        sheet = Image.new("RGB", (max(p.width for p in previews),
                                  sum(p.height for p in previews)), WHITE)
        y = 0
        for p in previews:
            sheet.paste(p, (0, y))
            y += p.height
        sheet.save(sys.argv[2])


def write_scaled_rc():
    """Lists the 125% and 150% sets in res/art/ScaledArt.rc under the offset
    ids: every bitmap and icon the 96-dpi set has."""
    bitmaps = sorted(int(f[:-4]) for f in os.listdir(BMP_DIR) if f.endswith(".bmp"))
    icons = sorted(int(f[:-4]) for f in os.listdir(ICO_DIR) if f.endswith(".ico"))
    lines = ["// Made by tools/gen_artwork.py: the artwork drawn for 125% (120 dpi)",
             "// and 150% (144 dpi) text size; id = 96-dpi id + the set's offset."]
    for folder, dpi, offset in SCALED_SETS:
        for rid in bitmaps:
            lines.append('%d BITMAP "bitmaps/%s/%d.bmp"' % (rid + offset, folder, rid))
        for rid in icons:
            lines.append('%d ICON "icons/%s/%d.ico"' % (rid + offset, folder, rid))
    with open(os.path.join(ROOT, "res", "art", "ScaledArt.rc"), "w") as f:
        f.write("\n".join(lines) + "\n")


def run_area_modules():
    """Each module in tools/artwork/ draws the artwork of its pages with the
    helpers above: it imports this file as gen_artwork and has generate().
    It must see this very module (the set being drawn), not a fresh copy."""
    import glob
    import importlib.util
    here = os.path.dirname(os.path.abspath(__file__))
    sys.modules.setdefault("gen_artwork", sys.modules[__name__])
    for path in sorted(glob.glob(os.path.join(here, "artwork", "*.py"))):
        name = os.path.splitext(os.path.basename(path))[0]
        found = importlib.util.spec_from_file_location("artwork_" + name, path)
        module = importlib.util.module_from_spec(found)
        found.loader.exec_module(module)
        module.generate()


if __name__ == "__main__":
    main()
