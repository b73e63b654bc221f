"""Draws the program's pictures into the folder named on the command line:
emblem.bmp (bitmap 1), title.bmp (bitmap 2), vyrtel.ico (icon group 1001)
and the notification-area icon's looks mode_<name>.ico (groups 1002-1004).
With --preview, also writes enlarged .ppm copies for looking at them."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import dib      # noqa: E402
import emblem   # noqa: E402
import icon     # noqa: E402
import mode_icons  # noqa: E402
import title    # noqa: E402


def preview(path, width, height, palette, rows, zoom):
    with open(path, "wb") as f:
        f.write(b"P6 %d %d 255\n" % (width * zoom, height * zoom))
        for row in rows:
            line = b"".join(bytes(palette[i]) * zoom for i in row)
            f.write(line * zoom)


def main(argv):
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    pictures = {"emblem": emblem.draw(), "title": title.draw()}
    for name, (width, height, bits, palette, rows) in pictures.items():
        with open(os.path.join(out, name + ".bmp"), "wb") as f:
            f.write(dib.bmp(width, height, bits, palette, rows))
        if "--preview" in argv:
            preview(os.path.join(out, name + ".ppm"), width, height, palette, rows, 6)
    images = icon.draw()
    with open(os.path.join(out, "vyrtel.ico"), "wb") as f:
        f.write(dib.ico([(w, h, bits, dib.icon_image(w, h, bits, pal, rows, opaque))
                         for w, h, bits, pal, rows, opaque in images]))
    if "--preview" in argv:
        for w, h, bits, pal, rows, _ in images:
            preview(os.path.join(out, "icon%dx%d_%d.ppm" % (w, h, bits)), w, h, pal, rows, 8)
    for name in mode_icons.LOOKS:
        looks = mode_icons.draw(name)
        with open(os.path.join(out, "mode_%s.ico" % name), "wb") as f:
            f.write(dib.ico([(w, h, bits, dib.icon_image(w, h, bits, pal, rows, opaque))
                             for w, h, bits, pal, rows, opaque in looks]))
        if "--preview" in argv:
            w, h, _, pal, rows, _ = looks[0]
            preview(os.path.join(out, "mode_%s.ppm" % name), w, h, pal, rows, 8)


if __name__ == "__main__":
    main(sys.argv)
