"""Writes the test program's icon: one group with a 32x32 and a 16x16
32-bit image (a blue square on a yellow field), so that the framework's
large and small icons can be told apart by size."""

import struct
import sys


def image(size):
    pixels = bytearray()
    for y in range(size):          # bottom-up rows, BGRA
        for x in range(size):
            inner = size // 4 <= x < size * 3 // 4 and size // 4 <= y < size * 3 // 4
            pixels += bytes((200, 60, 20, 255)) if inner else bytes((0, 200, 240, 255))
    mask_row = ((size + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels), 0, 0, 0, 0)
    return header + bytes(pixels) + bytes(mask_row * size)


def main(path):
    images = [image(32), image(16)]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1])
