"""A tiny supersampling rasteriser: enough to draw the program's pictures
from geometry kept in the repository, with the Python standard library only.

Shapes are predicates inside(x, y) in pixel coordinates (x to the right,
y downwards, pixel centres at +0.5). Painting a shape blends its colour into
each pixel by the fraction of sub-samples that fall inside it.
"""

import math


class Canvas:
    def __init__(self, width, height, background=(0, 0, 0)):
        self.width = width
        self.height = height
        self.pixels = [[tuple(map(float, background)) for _ in range(width)] for _ in range(height)]

    def fill(self, colour_at):
        """Sets every pixel from colour_at(x, y), sampled at the pixel centre."""
        for y in range(self.height):
            for x in range(self.width):
                self.pixels[y][x] = tuple(map(float, colour_at(x + 0.5, y + 0.5)))

    def paint(self, inside, colour, samples=4, opacity=1.0):
        """Blends `colour` (an RGB tuple, or a function of x and y giving one)
        over the part of every pixel covered by the shape."""
        step = 1.0 / samples
        offsets = [(i + 0.5) * step for i in range(samples)]
        total = samples * samples
        for y in range(self.height):
            for x in range(self.width):
                hits = 0
                for oy in offsets:
                    for ox in offsets:
                        if inside(x + ox, y + oy):
                            hits += 1
                if hits:
                    c = colour(x + 0.5, y + 0.5) if callable(colour) else colour
                    a = opacity * hits / total
                    old = self.pixels[y][x]
                    self.pixels[y][x] = tuple(o * (1 - a) + n * a for o, n in zip(old, c))

    def rgb(self):
        """Rows of (r, g, b) byte tuples, top row first."""
        return [[tuple(max(0, min(255, int(round(v)))) for v in px) for px in row] for row in self.pixels]


# ---- shapes ----

def polygon(points):
    """Even-odd fill of a closed polygon."""
    pts = list(points)

    def inside(x, y):
        result = False
        j = len(pts) - 1
        for i in range(len(pts)):
            xi, yi = pts[i]
            xj, yj = pts[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def stroke(points, width):
    """A polyline of the given width with round joins and ends."""
    segs = list(zip(points, points[1:]))
    r = width / 2.0
    r2 = r * r
    left = min(p[0] for p in points) - r
    right = max(p[0] for p in points) + r
    top = min(p[1] for p in points) - r
    bottom = max(p[1] for p in points) + r

    def inside(x, y):
        if x < left or x > right or y < top or y > bottom:
            return False
        for (ax, ay), (bx, by) in segs:
            dx, dy = bx - ax, by - ay
            length2 = dx * dx + dy * dy
            t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
            px, py = ax + t * dx - x, ay + t * dy - y
            if px * px + py * py <= r2:
                return True
        return False
    return inside


def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, hole):
    return lambda x, y: shape(x, y) and not hole(x, y)


def arc_points(cx, cy, r, start_deg, end_deg, steps=24):
    """Points along a circular arc; angles in degrees, 0 = right, 90 = down."""
    return [(cx + r * math.cos(math.radians(a)), cy + r * math.sin(math.radians(a)))
            for a in (start_deg + (end_deg - start_deg) * i / steps for i in range(steps + 1))]


def scaled(points, sx, sy, dx=0.0, dy=0.0):
    return [(x * sx + dx, y * sy + dy) for x, y in points]


# ---- colour ----

def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def noise(seed):
    """Deterministic value noise in [0, 1): the same picture on every build."""
    def hash01(ix, iy):
        h = (ix * 374761393 + iy * 668265263 + seed * 2147483647) & 0xFFFFFFFF
        h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
        return ((h ^ (h >> 16)) & 0xFFFF) / 65536.0

    def smooth(x, y, cell):
        gx, gy = x / cell, y / cell
        ix, iy = math.floor(gx), math.floor(gy)
        fx, fy = gx - ix, gy - iy
        fx, fy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
        top = hash01(ix, iy) * (1 - fx) + hash01(ix + 1, iy) * fx
        bottom = hash01(ix, iy + 1) * (1 - fx) + hash01(ix + 1, iy + 1) * fx
        return top * (1 - fy) + bottom * fy

    def value(x, y):
        return (0.5 * smooth(x, y, 9.0) + 0.3 * smooth(x, y, 4.0) + 0.2 * hash01(int(x * 7), int(y * 7)))
    return value


def median_cut(colours, count):
    """Reduces a list of RGB tuples to at most `count` representative colours."""
    boxes = [list(set(colours))]
    while len(boxes) < count:
        boxes.sort(key=lambda b: max(max(c[i] for c in b) - min(c[i] for c in b) for i in range(3)) if len(b) > 1 else -1)
        box = boxes.pop()
        if len(box) < 2:
            boxes.append(box)
            break
        axis = max(range(3), key=lambda i: max(c[i] for c in box) - min(c[i] for c in box))
        box.sort(key=lambda c: c[axis])
        half = len(box) // 2
        boxes += [box[:half], box[half:]]
    return [tuple(int(round(sum(c[i] for c in b) / len(b))) for i in range(3)) for b in boxes if b]


def nearest(palette):
    cache = {}

    def index(c):
        if c not in cache:
            cache[c] = min(range(len(palette)),
                           key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], c)))
        return cache[c]
    return index


def quantize(rows, count, fixed=None):
    """(palette, rows of indices): a palette of `count` colours fitted to the
    picture, or the given fixed palette."""
    palette = list(fixed) if fixed else median_cut([c for row in rows for c in row], count)
    while len(palette) < count:
        palette.append((0, 0, 0))
    index = nearest(palette)
    return palette, [[index(c) for c in row] for row in rows]
