"""Writes dialog templates in the binary DLGTEMPLATE form that the dialog
manager reads. We write them ourselves because windres rewrites window
class names in upper case and stores the standard classes as names rather
than atoms; the templates must carry exactly the names and atoms given."""

import struct

BUTTON = 0x0080  # atoms of the standard window classes
STATIC = 0x0082


class Control:
    def __init__(self, id, window_class, text, x, y, width, height, style, ex_style=0):
        self.id, self.window_class, self.text = id, window_class, text
        self.box = (x, y, width, height)
        self.style, self.ex_style = style, ex_style


class Dialog:
    def __init__(self, style, ex_style, box, window_class, caption, font, controls, menu=""):
        self.style, self.ex_style, self.box = style, ex_style, box
        self.window_class, self.caption, self.font = window_class, caption, font
        self.controls, self.menu = controls, menu


def _sz(text):
    return text.encode("utf-16-le") + b"\0\0"


def _name_or_atom(value):
    if isinstance(value, int):
        return struct.pack("<HH", 0xFFFF, value)
    return _sz(value)


def _align4(data):
    return data + b"\0" * (-len(data) % 4)


def build(dialog):
    out = struct.pack("<IIHhhhh", dialog.style, dialog.ex_style, len(dialog.controls), *dialog.box)
    out += _name_or_atom(dialog.menu) + _name_or_atom(dialog.window_class) + _sz(dialog.caption)
    if dialog.style & 0x40:  # DS_SETFONT
        points, face = dialog.font
        out += struct.pack("<H", points) + _sz(face)
    for c in dialog.controls:
        out = _align4(out)
        out += struct.pack("<IIhhhhH", c.style, c.ex_style, *c.box, c.id & 0xFFFF)
        out += _name_or_atom(c.window_class) + _sz(c.text) + struct.pack("<H", 0)  # no creation data
    return out
