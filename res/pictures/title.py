"""Bitmap 2, the title: "Vyrtel" lettered in yellow on a blue ground.
195 x 32 pixels, 16 colours. The letters are drawn with a broad pen along
the strokes below (x in letter units, y in pixels: cap line 4, x-height
line 11, baseline 24, descender 29)."""

from raster import Canvas, arc_points, mix, quantize, stroke, union

WIDTH, HEIGHT = 195, 32
BLUE = (16, 74, 168)
YELLOW = (255, 214, 0)
SHADOW = (0, 24, 66)

UNIT = 1.55   # pixels per letter unit, across
PEN = 4.4     # stroke width in pixels
SLANT = 0.16  # italic lean: pixels to the right per pixel up from the baseline
BASELINE = 24.0

# Each letter: its advance in letter units and its strokes.
LETTERS = {
    "V": (20, [[(0, 4), (9, 24), (18, 4)]]),
    "y": (15, [[(0, 11), (6.5, 24)], [(13, 11), (5.5, 27), (3.2, 29), (-0.5, 29)]]),
    "r": (12, [[(0, 11), (0, 24)], [(0.3, 17.5)] + arc_points(6.3, 17.5, 6.0, 180, 270, 8)[1:] + [(9.5, 11.6)]]),
    "t": (11, [[(3, 5.5), (3, 20.5)] + arc_points(6.5, 20.5, 3.5, 180, 90, 6)[1:] + [(9, 24)], [(-0.5, 11.5), (8.5, 11.5)]]),
    "e": (15, [[(1, 17.5), (12.5, 17.5)] + arc_points(6.6, 17.5, 6.1, 0, -318, 30)[1:]]),
    "l": (6, [[(2, 3.5), (2, 24)]]),
}


def lettering(text, x0, dy=0.0):
    strokes = []
    pen_x = x0
    for ch in text:
        advance, lines = LETTERS[ch]
        for line in lines:
            strokes.append(stroke([(pen_x + x * UNIT + (BASELINE - y) * SLANT, y + dy) for x, y in line], PEN))
        pen_x += advance * UNIT
    return union(*strokes), pen_x - x0


def draw():
    canvas = Canvas(WIDTH, HEIGHT)
    canvas.fill(lambda x, y: BLUE)
    _, width = lettering("Vyrtel", 0)
    x0 = (WIDTH - width) / 2.0
    shadow, _ = lettering("Vyrtel", x0 + 1.6, 1.6)
    text, _ = lettering("Vyrtel", x0)
    canvas.paint(shadow, SHADOW, opacity=0.8)
    canvas.paint(text, lambda x, y: mix((255, 236, 110), YELLOW, min(1.0, y / 16.0)))
    palette, rows = quantize(canvas.rgb(), 16)
    return WIDTH, HEIGHT, 4, palette, rows
