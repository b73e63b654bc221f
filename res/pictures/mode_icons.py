"""The three looks of the notification-area icon, one icon group each: the
mode typing is in, lettered as the system's own language indicator letters
its languages, three capitals on a field that tells the modes apart at a
glance even where the letters cannot be read.

- Ukrainian (group 1002): "УКР" in yellow on blue, over a yellow band: the
  flag's colours, as on the program's own icon.
- Latin (group 1003): "LAT" in black on white.
- Off (group 1004): "OFF" in dark grey on light grey, as a disabled control.

Each group holds a 16 x 16 image in 16 colours, drawn pixel by pixel, and
the same doubled to 32 x 32. Every pixel is opaque but the four corners,
which round the field off."""

from icon import VGA

BLACK, DARK_GREY, LIGHT_GREY, WHITE = (0, 0, 0), (128, 128, 128), (192, 192, 192), (255, 255, 255)
BLUE, YELLOW = (0, 0, 255), (255, 255, 0)

# Capitals 7 pixels high, each row a string of its columns.
GLYPHS = {
    "У": ["#..#", "#..#", "#..#", ".###", "...#", "#..#", ".##."],
    "К": ["#..#", "#..#", "#.#.", "##..", "#.#.", "#..#", "#..#"],
    "Р": ["###.", "#..#", "#..#", "###.", "#...", "#...", "#..."],
    "L": ["#..", "#..", "#..", "#..", "#..", "#..", "###"],
    "A": [".##.", "#..#", "#..#", "####", "#..#", "#..#", "#..#"],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "O": [".##.", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."],
    "F": ["###", "#..", "#..", "##.", "#..", "#..", "#.."],
}

SIZE = 16
TEXT_TOP = 4  # rows 4 to 10: the middle of the 14 rows inside the border

# name: (group id, letters, border, field, band below the letters or None, letters)
LOOKS = {
    "ukrainian": (1002, "УКР", BLACK, BLUE, YELLOW, YELLOW),
    "latin": (1003, "LAT", BLACK, WHITE, None, BLACK),
    "off": (1004, "OFF", DARK_GREY, LIGHT_GREY, None, DARK_GREY),
}

CORNERS = {(0, 0), (SIZE - 1, 0), (0, SIZE - 1), (SIZE - 1, SIZE - 1)}


def _lettering(text):
    """{(x, y)} of the letters' pixels, centred across the field, one
    column between letters."""
    width = sum(len(GLYPHS[c][0]) for c in text) + len(text) - 1
    x0 = (SIZE - width) // 2
    pixels = set()
    for c in text:
        glyph = GLYPHS[c]
        for y, row in enumerate(glyph):
            for x, mark in enumerate(row):
                if mark == "#":
                    pixels.add((x0 + x, TEXT_TOP + y))
        x0 += len(glyph[0]) + 1
    return pixels


def look(name):
    """Rows of (r, g, b), 16 x 16, and the opaque test opaque(x, y)."""
    _, text, border, field, band, ink = LOOKS[name]
    letters = _lettering(text)
    rows = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            if x in (0, SIZE - 1) or y in (0, SIZE - 1):
                colour = border
            elif (x, y) in letters:
                colour = ink
            elif band is not None and y >= SIZE - 4:
                colour = band
            else:
                colour = field
            row.append(colour)
        rows.append(row)
    return rows, lambda x, y: (x, y) not in CORNERS


def _doubled(rows):
    return [[c for c in row for _ in (0, 1)] for row in rows for _ in (0, 1)]


def draw(name):
    """The icon group's images as (width, height, bits, palette, index rows,
    opaque), 16 x 16 first."""
    rows, opaque = look(name)
    small = [[VGA.index(c) for c in row] for row in rows]
    big = [[VGA.index(c) for c in row] for row in _doubled(rows)]
    return [
        (SIZE, SIZE, 4, VGA, small, opaque),
        (2 * SIZE, 2 * SIZE, 4, VGA, big, lambda x, y: opaque(x // 2, y // 2)),
    ]
