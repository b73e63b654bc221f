"""Icon group 1001: a light-grey keyboard lying diagonally over a field that
is blue in its upper half and yellow in its lower half. Three images: 32 x 32
in 16 colours, 32 x 32 in black and white, 16 x 16 in 16 colours.

The keyboard is drawn as pixel art on a sheared grid: its key rows rise one
pixel for every two to the right, so every key comes out as the same crisp
block at any size, which a rotated drawing would not."""

# The standard 16-colour palette of the display drivers.
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
MONO = [(0, 0, 0), (255, 255, 255)]

BLACK, DARK_GREY, LIGHT_GREY, WHITE = (0, 0, 0), (128, 128, 128), (192, 192, 192), (255, 255, 255)
BLUE, YELLOW = (0, 0, 255), (255, 255, 0)


class Keyboard:
    """Where the keyboard lies and how its keys are spaced, in pixels."""

    def __init__(self, left, top, keys, rows, key_width, row_height, depth):
        self.left, self.top = left, top
        self.keys, self.rows = keys, rows
        self.key_width, self.row_height, self.depth = key_width, row_height, depth
        self.width = keys * key_width + 1    # along a key row, outline included
        self.height = rows * row_height + 1  # across the rows, outline included

    def colour(self, x, y, field, outline, gap, key, shine):
        t = x - self.left                    # along the rows
        if not 0 <= t <= self.width:
            return field
        s = y - self.top + t // 2            # across the rows: the grid is sheared
        if not 0 <= s <= self.height + self.depth:
            return field
        if s > self.height:                  # the keyboard's front side
            return outline if s == self.height + self.depth or t in (0, self.width) else gap
        if t in (0, self.width) or s in (0, self.height):
            return outline
        along, across = (t - 1) % self.key_width, (s - 1) % self.row_height
        row, column = (s - 1) // self.row_height, (t - 1) // self.key_width
        if row == self.rows - 1 and 1 <= column <= self.keys - 2:   # the space bar
            return key if across < self.row_height - 1 else gap
        if along < self.key_width - 1 and across < self.row_height - 1:
            return shine if along == 0 and across == 0 else key
        return gap


def image(size, palette, keyboard, field, outline, gap, key, shine):
    rows = [[palette.index(keyboard.colour(x, y, field(y), outline, gap, key, shine)) for x in range(size)]
            for y in range(size)]
    bits = 4 if len(palette) == 16 else 1
    return size, size, bits, palette, rows, lambda x, y: True


def draw():
    big = Keyboard(left=1, top=15, keys=7, rows=4, key_width=4, row_height=3, depth=2)
    small = Keyboard(left=0, top=8, keys=5, rows=3, key_width=3, row_height=2, depth=1)

    def flag(size):
        return lambda y: BLUE if y < size // 2 else YELLOW

    return [
        image(32, VGA, big, flag(32), BLACK, DARK_GREY, LIGHT_GREY, WHITE),
        image(32, MONO, big, lambda y: BLACK if y < 16 else WHITE, BLACK, BLACK, WHITE, WHITE),
        image(16, VGA, small, flag(16), BLACK, DARK_GREY, LIGHT_GREY, WHITE),
    ]
