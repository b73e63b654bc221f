"""Writes palette pictures as Windows device-independent bitmaps: .bmp files
and .ico files (whose images are DIBs with an AND mask appended)."""

import struct


def _row_bytes(width, bits):
    return ((width * bits + 31) // 32) * 4


def _pack_rows(rows, width, bits):
    """Bottom-up rows of palette indices, each padded to 32 bits."""
    out = bytearray()
    stride = _row_bytes(width, bits)
    for row in reversed(rows):
        line = bytearray()
        acc, used = 0, 0
        for value in row:
            acc = (acc << bits) | value
            used += bits
            if used == 8:
                line.append(acc)
                acc, used = 0, 0
        if used:
            line.append(acc << (8 - used))
        out += line + bytes(stride - len(line))
    return bytes(out)


def _palette_bytes(palette):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)


def _info_header(width, height, bits, colours, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 0, 0, colours, 0)


def bmp(width, height, bits, palette, rows):
    """A complete .bmp file."""
    assert len(palette) == 1 << bits
    pixels = _pack_rows(rows, width, bits)
    header = _info_header(width, height, bits, len(palette), len(pixels))
    body = header + _palette_bytes(palette) + pixels
    offset = 14 + len(header) + 4 * len(palette)
    return struct.pack("<2sIHHI", b"BM", 14 + len(body), 0, 0, offset) + body


def icon_image(width, height, bits, palette, rows, opaque):
    """One image of an icon: header (height doubled for the mask), palette,
    colour bits, then the AND mask (1 = transparent)."""
    assert len(palette) == 1 << bits
    colour = _pack_rows(rows, width, bits)
    mask = _pack_rows([[0 if opaque(x, y) else 1 for x in range(width)] for y in range(height)], width, 1)
    header = _info_header(width, height * 2, bits, 0, len(colour) + len(mask))
    return header + _palette_bytes(palette) + colour + mask


def ico(images):
    """An .ico file from (width, height, bits, image bytes) tuples."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    directory, data = b"", b""
    for width, height, bits, image in images:
        colours = (1 << bits) if bits < 8 else 0
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, colours, 0, 1, bits,
                                 len(image), offset + len(data))
        data += image
    return out + directory + data
