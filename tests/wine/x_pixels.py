"""Pixels straight from an X display, fast enough to time what a screen
shows to the millisecond: XGetImage of a small rectangle of the root window
through the X library itself (ctypes), where a screenshot by ImageMagick
costs a tenth of a second. Assumes the 24-bit TrueColor screens of Xvfb.
Key and button events go through the XTEST extension on the same
connection, so that a timing starts as the event is sent, not as a helper
program starts."""

import ctypes
import ctypes.util

ZPIXMAP = 2
ALL_PLANES = ctypes.c_ulong(-1).value


class _XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int),
                ("bits_per_pixel", ctypes.c_int), ("red_mask", ctypes.c_ulong), ("green_mask", ctypes.c_ulong),
                ("blue_mask", ctypes.c_ulong), ("obdata", ctypes.c_void_p),
                ("create_image", ctypes.c_void_p),
                ("destroy_image", ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p))]


def _library():
    x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    x11.XOpenDisplay.restype = ctypes.c_void_p
    x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x11.XDefaultRootWindow.restype = ctypes.c_ulong
    x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x11.XGetImage.restype = ctypes.POINTER(_XImage)
    x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                              ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x11.XFlush.argtypes = [ctypes.c_void_p]
    x11.XStringToKeysym.restype = ctypes.c_ulong
    x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
    x11.XKeysymToKeycode.restype = ctypes.c_ubyte
    x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    return x11


def _xtest():
    xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
    xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
    xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
    return xtst


class XScreen:
    """One connection to `display`; use as a context manager."""

    def __init__(self, display):
        self.x11 = _library()
        self.display = self.x11.XOpenDisplay(display.encode())
        if not self.display:
            raise RuntimeError(f"cannot open X display {display}")
        self.root = self.x11.XDefaultRootWindow(self.display)
        self.xtest = _xtest()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.x11.XCloseDisplay(self.display)
        return False

    def key(self, key, down):
        """Presses or releases a key, by keysym name or by keycode."""
        code = key if isinstance(key, int) else self.x11.XKeysymToKeycode(
            self.display, self.x11.XStringToKeysym(key.encode()))
        if not code:
            raise ValueError(f"no keycode for {key!r}")
        self.xtest.XTestFakeKeyEvent(self.display, code, 1 if down else 0, 0)
        self.x11.XFlush(self.display)

    def button(self, number, down):
        self.xtest.XTestFakeButtonEvent(self.display, number, 1 if down else 0, 0)
        self.x11.XFlush(self.display)

    def grab(self, left, top, width, height):
        """Rows of (r, g, b) of the rectangle, top row first."""
        image = self.x11.XGetImage(self.display, self.root, left, top, width, height, ALL_PLANES, ZPIXMAP)
        if not image:
            raise RuntimeError("XGetImage failed")
        try:
            im = image.contents
            assert im.bits_per_pixel == 32 and im.byte_order == 0, "a 24-bit little-endian screen"
            stride = im.bytes_per_line
            raw = ctypes.string_at(im.data, stride * height)
        finally:
            image.contents.destroy_image(ctypes.cast(image, ctypes.c_void_p))
        return [[(raw[y * stride + 4 * x + 2], raw[y * stride + 4 * x + 1], raw[y * stride + 4 * x])
                 for x in range(width)] for y in range(height)]
