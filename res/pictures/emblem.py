"""Bitmap 1, the emblem: a yellow trident on a blue shield, over a dark,
textured background that reads like a photograph of cloth. 45 x 62 pixels,
256 colours."""

from raster import Canvas, ellipse, mix, noise, polygon, quantize, stroke, union

WIDTH, HEIGHT = 45, 62
BLUE = (0, 87, 183)
DEEP_BLUE = (0, 48, 112)
YELLOW = (255, 213, 0)
GOLD = (214, 160, 20)
CX = 22.5  # the emblem is symmetric about this line


def mirrored(points):
    return [(2 * CX - x, y) for x, y in reversed(points)]


def shield():
    left = [(3.5, 4.0), (3.5, 38.0), (5.0, 45.0), (9.0, 51.0), (15.0, 55.5), (CX, 58.5)]
    return polygon(left + mirrored(left)[1:])


def shield_inner():
    left = [(5.5, 6.0), (5.5, 37.5), (6.9, 44.0), (10.5, 49.5), (16.0, 53.6), (CX, 56.3)]
    return polygon(left + mirrored(left)[1:])


def trident():
    side = [(11.0, 15.0), (11.0, 37.5), (12.5, 42.0), (16.0, 44.5), (CX, 45.0)]
    wing = [(11.2, 27.0), (15.5, 32.5), (19.0, 38.0), (CX, 41.5)]
    parts = [
        stroke([(CX, 14.0), (CX, 43.0)], 3.2),                                       # middle prong
        polygon([(CX, 8.0), (CX + 2.4, 15.0), (CX - 2.4, 15.0)]),                    # its point
        stroke(side, 2.6), stroke(mirrored(side), 2.6),                              # side prongs
        polygon([(11.0, 10.5), (12.8, 16.0), (9.2, 16.0)]),                          # their points
        polygon([(2 * CX - 11.0, 10.5), (2 * CX - 9.2, 16.0), (2 * CX - 12.8, 16.0)]),
        stroke(wing, 2.0), stroke(mirrored(wing), 2.0),                              # inner wings
        stroke([(14.5, 47.0), (2 * CX - 14.5, 47.0)], 2.2),                          # foot
        polygon([(CX, 45.5), (CX + 2.6, 49.0), (CX, 53.0), (CX - 2.6, 49.0)]),       # drop
    ]
    return union(*parts)


def background(x, y):
    grain = noise(7)(x, y)
    light = max(0.0, 1.0 - ((x - 8) ** 2 + (y - 6) ** 2) / 2600.0)  # soft light from the upper left
    base = mix((22, 19, 18), (70, 58, 48), 0.55 * light)
    return mix(base, (95, 82, 70), 0.45 * grain * (0.4 + light))


def draw():
    canvas = Canvas(WIDTH, HEIGHT)
    canvas.fill(background)
    canvas.paint(ellipse(CX + 1.5, 33.0, 21.0, 28.0), (0, 0, 0), opacity=0.35)  # shadow behind the shield
    canvas.paint(shield(), GOLD)
    canvas.paint(shield_inner(), lambda x, y: mix(mix(BLUE, (40, 120, 215), max(0.0, 1 - y / 40)),
                                                  DEEP_BLUE, max(0.0, (x - 8) / 70 + (y - 20) / 90)))
    canvas.paint(trident(), lambda x, y: mix(YELLOW, GOLD, max(0.0, min(1.0, (y - 10) / 55 + (x - CX) / 60))))
    palette, rows = quantize(canvas.rgb(), 256)
    return WIDTH, HEIGHT, 8, palette, rows
