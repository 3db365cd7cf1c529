#!/usr/bin/env python3
"""Draws the program's 32x32 icons into resources/Image/, and its application icon at the hicolor theme's sizes.

Only the standard library is used (zlib and struct for PNG). Shapes are tested at 4x4 samples per pixel and averaged,
which gives smooth edges. The output is deterministic, so running it again leaves the committed files unchanged.

    python3 scripts/make_icons.py [output folder]
    python3 scripts/make_icons.py --app-icons [hicolor folder]
"""

import math
import os
import struct
import sys
import zlib

SIZE = 32
SS = 4  # samples per pixel along each axis

# Palette
GREEN = (46, 160, 67)
RED = (215, 58, 58)
BLUE = (41, 121, 200)
DARK = (70, 76, 84)
GREY = (128, 134, 142)
LIGHT = (205, 210, 216)
WHITE = (255, 255, 255)
YELLOW = (240, 180, 40)
YELLOW_DARK = (205, 145, 25)
ORANGE = (235, 130, 40)
SKY = (150, 200, 240)
GRASS = (80, 160, 80)
SUN = (250, 200, 60)


# ---------------------------------------------------------------------------------------------------------------------
# Shapes: each is a function (x, y) -> bool in icon coordinates (0..32).


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_out, r_in):
    return lambda x, y: r_in * r_in <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out * r_out


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r

    return inside


def frame(x0, y0, x1, y1, w, r=0.0):
    outer = rounded_rect(x0, y0, x1, y1, r)
    inner = rounded_rect(x0 + w, y0 + w, x1 - w, y1 - w, max(r - w, 0.0))
    return lambda x, y: outer(x, y) and not inner(x, y)


def polygon(points):
    n = len(points)

    def inside(x, y):
        hit = False
        j = n - 1
        for i in range(n):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit

    return inside


def _segment_distance2(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
    px, py = ax + t * dx, ay + t * dy
    return (x - px) ** 2 + (y - py) ** 2


def stroke(points, width):
    """A polyline with round caps and joins."""
    half2 = (width / 2.0) ** 2
    segments = list(zip(points, points[1:]))
    return lambda x, y: any(_segment_distance2(x, y, a[0], a[1], b[0], b[1]) <= half2 for a, b in segments)


def arc(cx, cy, r, width, start_deg, end_deg):
    """A stroked circular arc from start to end angle (degrees, counter-clockwise on screen, 0 = right)."""
    half = width / 2.0
    cap_a = (cx + r * math.cos(math.radians(start_deg)), cy - r * math.sin(math.radians(start_deg)))
    cap_b = (cx + r * math.cos(math.radians(end_deg)), cy - r * math.sin(math.radians(end_deg)))

    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        if abs(d - r) <= half:
            a = math.degrees(math.atan2(cy - y, x - cx)) % 360.0
            if (a - start_deg) % 360.0 <= (end_deg - start_deg) % 360.0:
                return True
        for px, py in (cap_a, cap_b):
            if (x - px) ** 2 + (y - py) ** 2 <= half * half:
                return True
        return False

    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, *holes):
    return lambda x, y: shape(x, y) and not any(h(x, y) for h in holes)


# ---------------------------------------------------------------------------------------------------------------------
# Canvas


class Icon:
    """Shapes are drawn in the 0..32 coordinates of the toolbar icons whatever the pixel size."""

    def __init__(self, size=SIZE):
        self.size = size
        n = size * SS
        self.samples = [[(0, 0, 0, 0)] * n for _ in range(n)]

    def fill(self, shape, color, alpha=255):
        n = self.size * SS
        scale = SIZE / self.size
        rgba = (color[0], color[1], color[2], alpha)
        for sy in range(n):
            y = (sy + 0.5) / SS * scale
            row = self.samples[sy]
            for sx in range(n):
                x = (sx + 0.5) / SS * scale
                if shape(x, y):
                    if alpha == 255:
                        row[sx] = rgba
                    else:
                        row[sx] = _over(rgba, row[sx])
        return self

    def pixels(self):
        """Averages the samples of every pixel with premultiplied alpha."""
        out = []
        for py in range(self.size):
            line = []
            for px in range(self.size):
                r = g = b = a = 0
                for sy in range(py * SS, py * SS + SS):
                    for sx in range(px * SS, px * SS + SS):
                        sr, sg, sb, sa = self.samples[sy][sx]
                        r += sr * sa
                        g += sg * sa
                        b += sb * sa
                        a += sa
                if a == 0:
                    line.append((0, 0, 0, 0))
                else:
                    count = SS * SS
                    line.append((round(r / a), round(g / a), round(b / a), round(a / count)))
            out.append(line)
        return out


def _over(src, dst):
    sa = src[3] / 255.0
    da = dst[3] / 255.0
    oa = sa + da * (1 - sa)
    if oa == 0:
        return (0, 0, 0, 0)
    mix = [round((src[i] * sa + dst[i] * da * (1 - sa)) / oa) for i in range(3)]
    return (mix[0], mix[1], mix[2], round(oa * 255))


def write_png(path, pixels):
    raw = b"".join(b"\x00" + bytes(c for p in line for c in p) for line in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", len(pixels[0]), len(pixels), 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", header))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


# ---------------------------------------------------------------------------------------------------------------------
# The icons


def arrow_head(tip, direction_deg, length, half_width):
    a = math.radians(direction_deg)
    dx, dy = math.cos(a), -math.sin(a)
    bx, by = tip[0] - dx * length, tip[1] - dy * length
    nx, ny = -dy, dx
    return polygon([tip, (bx + nx * half_width, by + ny * half_width), (bx - nx * half_width, by - ny * half_width)])


def icon_validate_ok():
    return Icon().fill(circle(16, 16, 14.5), GREEN).fill(stroke([(9, 16.5), (14, 21.5), (23, 11)], 3.6), WHITE)


def icon_validate_error():
    return (
        Icon()
        .fill(circle(16, 16, 14.5), RED)
        .fill(stroke([(10.5, 10.5), (21.5, 21.5)], 3.6), WHITE)
        .fill(stroke([(21.5, 10.5), (10.5, 21.5)], 3.6), WHITE)
    )


def icon_close():
    return Icon().fill(stroke([(7, 7), (25, 25)], 4.5), DARK).fill(stroke([(25, 7), (7, 25)], 4.5), DARK)


def icon_clear():
    icon = Icon()
    icon.fill(rounded_rect(12, 3, 20, 7, 1.5), GREY)
    icon.fill(rounded_rect(5, 6, 27, 9.5, 1.5), DARK)
    icon.fill(polygon([(7.5, 11), (24.5, 11), (23, 29), (9, 29)]), GREY)
    for x in (12, 16, 20):
        icon.fill(stroke([(x, 14), (x, 26)], 1.8), LIGHT)
    return icon


def gear(cx, cy, r_out, r_in, r_hole, teeth):
    points = []
    for i in range(teeth * 4):
        a = 2 * math.pi * i / (teeth * 4) + math.pi / (teeth * 4)
        r = r_out if (i % 4) in (0, 1) else r_in
        points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return minus(union(polygon(points), circle(cx, cy, r_in)), circle(cx, cy, r_hole))


def icon_configure():
    return Icon().fill(gear(16, 16, 14.5, 10.5, 4.5, 8), GREY)


def icon_settings():
    icon = Icon()
    for y, knob in ((8, 20), (16, 11), (24, 17)):
        icon.fill(stroke([(4, y), (28, y)], 2.5), GREY)
        icon.fill(circle(knob, y, 4), BLUE)
        icon.fill(circle(knob, y, 1.8), WHITE)
    return icon


def icon_open_folder():
    icon = Icon()
    icon.fill(polygon([(3, 7), (12, 7), (14.5, 10), (26, 10), (26, 27), (3, 27)]), YELLOW_DARK)
    icon.fill(polygon([(7.5, 14), (30, 14), (25.5, 27), (3, 27)]), YELLOW)
    return icon


def icon_class():
    icon = Icon()
    tag = polygon([(4, 8), (18, 8), (28, 16), (18, 24), (4, 24)])
    icon.fill(tag, ORANGE)
    icon.fill(circle(18.5, 16, 2.6), WHITE)
    icon.fill(stroke([(7.5, 12.5), (13, 12.5)], 1.8), WHITE)
    icon.fill(stroke([(7.5, 19.5), (13, 19.5)], 1.8), WHITE)
    return icon


def icon_photo(size=SIZE):
    icon = Icon(size)
    icon.fill(rounded_rect(2, 5, 30, 27, 2.5), DARK)
    icon.fill(rect(4.5, 7.5, 27.5, 24.5), SKY)
    icon.fill(circle(22, 12.5, 2.8), SUN)
    icon.fill(polygon([(4.5, 24.5), (12, 14), (18, 21), (21, 17.5), (27.5, 24.5)]), GRASS)
    return icon


def icon_plus():
    return Icon().fill(stroke([(16, 5), (16, 27)], 5), GREEN).fill(stroke([(5, 16), (27, 16)], 5), GREEN)


def icon_save_file():
    icon = Icon()
    icon.fill(polygon([(3, 3), (24, 3), (29, 8), (29, 29), (3, 29)]), BLUE)
    icon.fill(rect(8, 3, 22, 11), LIGHT)
    icon.fill(rect(17, 4.5, 20, 9.5), BLUE)
    icon.fill(rounded_rect(7, 16, 25, 29, 1), WHITE)
    icon.fill(stroke([(10, 20.5), (22, 20.5)], 1.4), LIGHT)
    icon.fill(stroke([(10, 24.5), (22, 24.5)], 1.4), LIGHT)
    return icon


def curved_arrow(head_on_left):
    """Half a circle over the top with the head at one end pointing down: the usual undo and redo sign."""
    icon = Icon()
    cx, cy, r = 16, 18, 9
    icon.fill(arc(cx, cy, r, 3.6, 0, 180), BLUE)
    end_x = cx - r if head_on_left else cx + r
    icon.fill(polygon([(end_x - 6, cy - 1), (end_x + 6, cy - 1), (end_x, cy + 8)]), BLUE)
    return icon


def icon_undo():
    return curved_arrow(True)


def icon_redo():
    return curved_arrow(False)


def icon_layout(columns, rows):
    icon = Icon()
    icon.fill(frame(3, 5, 29, 27, 2.2, 2), DARK)
    width = (29 - 3) / columns
    height = (27 - 5) / rows
    for c in range(1, columns):
        x = 3 + c * width
        icon.fill(rect(x - 1.1, 5, x + 1.1, 27), DARK)
    for r in range(1, rows):
        y = 5 + r * height
        icon.fill(rect(3, y - 1.1, 29, y + 1.1), DARK)
    return icon


def icon_play():
    return Icon().fill(polygon([(8, 4), (27, 16), (8, 28)]), GREEN)


def icon_stop():
    return Icon().fill(rounded_rect(6, 6, 26, 26, 2.5), RED)


def icon_exit():
    icon = Icon()
    icon.fill(frame(4, 3, 19, 29, 2.4, 1), DARK)
    icon.fill(stroke([(13, 16), (26, 16)], 3.2), RED)
    icon.fill(arrow_head((30.5, 16), 0, 8, 6), RED)
    return icon


def icon_about():
    icon = Icon()
    icon.fill(circle(16, 16, 14.5), BLUE)
    icon.fill(circle(16, 9.5, 2.4), WHITE)
    icon.fill(stroke([(16, 14.5), (16, 24)], 4), WHITE)
    return icon


def icon_2d():
    icon = Icon()
    icon.fill(frame(4, 4, 28, 28, 2.2, 1.5), DARK)
    icon.fill(rect(9, 9, 23, 23), BLUE)
    return icon


def icon_3d():
    icon = Icon()
    front = polygon([(5, 12), (20, 12), (20, 27), (5, 27)])
    top = polygon([(5, 12), (12, 5), (27, 5), (20, 12)])
    side = polygon([(20, 12), (27, 5), (27, 20), (20, 27)])
    icon.fill(front, BLUE)
    icon.fill(top, SKY)
    icon.fill(side, (30, 90, 160))
    return icon


def icon_add():
    icon = Icon()
    icon.fill(rounded_rect(3, 6, 25, 26, 2), DARK)
    icon.fill(rect(5.5, 8.5, 22.5, 23.5), SKY)
    icon.fill(circle(24, 24, 7), GREEN)
    icon.fill(stroke([(24, 20), (24, 28)], 2.4), WHITE)
    icon.fill(stroke([(20, 24), (28, 24)], 2.4), WHITE)
    return icon


def icon_capture():
    icon = Icon()
    icon.fill(rounded_rect(3, 9, 29, 27, 3), DARK)
    icon.fill(rounded_rect(10, 5, 20, 10, 1.5), DARK)
    icon.fill(circle(16, 18, 6.5), LIGHT)
    icon.fill(circle(16, 18, 4), BLUE)
    return icon


def two_pages(back_color, front_color):
    icon = Icon()
    icon.fill(rounded_rect(4, 3, 20, 23, 1.5), back_color)
    icon.fill(rounded_rect(11, 9, 28, 29, 1.5), DARK)
    icon.fill(rect(13, 11, 26, 27), front_color)
    return icon


def icon_copy():
    icon = two_pages(GREY, WHITE)
    for y in (15, 19, 23):
        icon.fill(stroke([(15.5, y), (23.5, y)], 1.4), LIGHT)
    return icon


def icon_paste():
    icon = Icon()
    icon.fill(rounded_rect(5, 5, 25, 29, 2), YELLOW_DARK)
    icon.fill(rounded_rect(11, 3, 19, 8, 1.5), DARK)
    icon.fill(rect(12, 11, 28, 29), WHITE)
    for y in (16, 20, 24):
        icon.fill(stroke([(15, y), (25, y)], 1.4), LIGHT)
    return icon


def icon_move():
    icon = Icon()
    icon.fill(stroke([(16, 7), (16, 25)], 2.6), DARK)
    icon.fill(stroke([(7, 16), (25, 16)], 2.6), DARK)
    for tip, direction in (((16, 2), 90), ((16, 30), 270), ((2, 16), 180), ((30, 16), 0)):
        icon.fill(arrow_head(tip, direction, 7, 5), DARK)
    return icon


def icon_step(pointing_right):
    tip = 27 if pointing_right else 5
    base = 11 if pointing_right else 21
    return Icon().fill(polygon([(tip, 16), (base, 5), (base, 27)]), BLUE)


def icon_pdf():
    icon = Icon()
    icon.fill(polygon([(6, 3), (20, 3), (26, 9), (26, 29), (6, 29)]), WHITE)
    icon.fill(frame(6, 3, 26, 29, 1.6), GREY)
    icon.fill(polygon([(20, 3), (26, 9), (20, 9)]), LIGHT)
    icon.fill(rounded_rect(3, 15, 24, 25, 1.5), RED)
    for x in (7, 13, 19):
        icon.fill(rect(x - 1, 17.5, x + 1, 22.5), WHITE)
    return icon


def rotate_arrow(clockwise):
    """Three quarters of a circle with the head at its open end."""
    icon = Icon()
    if clockwise:
        icon.fill(arc(16, 17, 9, 3.4, 300, 180), GREEN)
        icon.fill(arrow_head((25, 28), 270, 8, 6), GREEN)
    else:
        icon.fill(arc(16, 17, 9, 3.4, 0, 240), GREEN)
        icon.fill(arrow_head((7, 28), 270, 8, 6), GREEN)
    return icon


def icon_ruler():
    icon = Icon()
    icon.fill(polygon([(3, 22), (22, 3), (29, 10), (10, 29)]), YELLOW)
    for i in range(1, 7):
        x, y = 3 + i * 2.7 + 3.5, 22 - i * 2.7 + 3.5
        icon.fill(stroke([(x - 2.2, y - 2.2), (x - 0.2, y - 0.2)], 1.2), DARK)
    return icon


def icon_search():
    icon = Icon()
    icon.fill(ring(13, 13, 9.5, 6.5), DARK)
    icon.fill(stroke([(20, 20), (28, 28)], 4), DARK)
    return icon


def icon_selection():
    icon = Icon()
    for x0, y0, x1, y1 in ((4, 4, 28, 6), (4, 26, 28, 28), (4, 4, 6, 28), (26, 4, 28, 28)):
        horizontal = x1 - x0 > y1 - y0
        for k in range(4):
            a = (x0 if horizontal else y0) + k * 6.5
            icon.fill(rect(a, y0, a + 4, y1) if horizontal else rect(x0, a, x1, a + 4), BLUE)
    icon.fill(polygon([(13, 11), (13, 25), (16.5, 21.5), (19, 27), (21.5, 26), (19, 20.5), (24, 20.5)]), DARK)
    return icon


def icon_zoomfit():
    icon = Icon()
    icon.fill(frame(5, 5, 27, 27, 2, 1), GREY)
    for tip, direction in (((3, 3), 135), ((29, 3), 45), ((3, 29), 225), ((29, 29), 315)):
        icon.fill(arrow_head(tip, direction, 8, 4.5), BLUE)
    icon.fill(rect(11, 11, 21, 21), BLUE)
    return icon


ICONS = {
    "validate_ok.png": icon_validate_ok,
    "validate_error.png": icon_validate_error,
    "close.png": icon_close,
    "clear.png": icon_clear,
    "configure.png": icon_configure,
    "settings.png": icon_settings,
    "open-folder.png": icon_open_folder,
    "class.png": icon_class,
    "photo.png": icon_photo,
    "plus.png": icon_plus,
    "save_file.png": icon_save_file,
    "undo.png": icon_undo,
    "redo.png": icon_redo,
    "layout1x1.png": lambda: icon_layout(1, 1),
    "layout2x1.png": lambda: icon_layout(2, 1),
    "layout2x2.png": lambda: icon_layout(2, 2),
    "play.png": icon_play,
    "stop.png": icon_stop,
    "exit.png": icon_exit,
    "about.png": icon_about,
    "2D.png": icon_2d,
    "3D.png": icon_3d,
    "add.png": icon_add,
    "capture.png": icon_capture,
    "copy.png": icon_copy,
    "paste.png": icon_paste,
    "move.png": icon_move,
    "next.png": lambda: icon_step(True),
    "previous.png": lambda: icon_step(False),
    "pdf.png": icon_pdf,
    "rotate-left.png": lambda: rotate_arrow(False),
    "rotate-right.png": lambda: rotate_arrow(True),
    "ruler.png": icon_ruler,
    "search.png": icon_search,
    "selection.png": icon_selection,
    "zoomfit.png": icon_zoomfit,
}


# The application icon is the photo icon, drawn again at each size rather than scaled up from 32 pixels.
APP_ICON = icon_photo
APP_ICON_NAME = "ovreltrainer.png"
APP_ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def write_app_icons(hicolor):
    for size in APP_ICON_SIZES:
        folder = os.path.join(hicolor, "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        write_png(os.path.join(folder, APP_ICON_NAME), APP_ICON(size).pixels())
        print(os.path.join(folder, APP_ICON_NAME))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    if len(sys.argv) > 1 and sys.argv[1] == "--app-icons":
        hicolor = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "packaging", "icons", "hicolor")
        write_app_icons(hicolor)
        return
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "Image")
    os.makedirs(target, exist_ok=True)
    for name, draw in ICONS.items():
        write_png(os.path.join(target, name), draw().pixels())
        print(name)


if __name__ == "__main__":
    main()
