"""Reads a Windows shortcut (.lnk, the Shell Link Binary File Format) as far
as the tests need it: where it points, where the program starts, and how
its window shows."""

import struct

HAS_ID_LIST, HAS_LINK_INFO, HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR = 0x1, 0x2, 0x4, 0x8, 0x10
HAS_ARGUMENTS, HAS_ICON_LOCATION, IS_UNICODE = 0x20, 0x40, 0x80
LINK_CLSID = bytes.fromhex("0114020000000000c000000000000046")


class ShellLink:
    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        if len(data) < 0x4C or struct.unpack_from("<I", data)[0] != 0x4C or data[4:20] != LINK_CLSID:
            raise ValueError(f"{path} is not a shell link")
        flags, = struct.unpack_from("<I", data, 0x14)
        self.show_command, = struct.unpack_from("<I", data, 0x3C)
        at = 0x4C
        if flags & HAS_ID_LIST:
            at += 2 + struct.unpack_from("<H", data, at)[0]
        self.target = None
        if flags & HAS_LINK_INFO:
            size, header, info_flags, _, base_offset = struct.unpack_from("<5I", data, at)
            if info_flags & 1:  # VolumeIDAndLocalBasePath
                if header >= 0x24:
                    unicode_offset, = struct.unpack_from("<I", data, at + 0x1C)
                    self.target = _utf16z(data, at + unicode_offset)
                else:
                    end = data.index(b"\0", at + base_offset)
                    self.target = data[at + base_offset:end].decode("latin-1")
            at += size
        strings = {}
        for flag, name in ((HAS_NAME, "description"), (HAS_RELATIVE_PATH, "relative_path"),
                           (HAS_WORKING_DIR, "working_dir"), (HAS_ARGUMENTS, "arguments"),
                           (HAS_ICON_LOCATION, "icon_location")):
            if flags & flag:
                count, = struct.unpack_from("<H", data, at)
                at += 2
                if flags & IS_UNICODE:
                    strings[name] = data[at:at + 2 * count].decode("utf-16-le").rstrip("\0")  # Wine counts the NUL
                    at += 2 * count
                else:
                    strings[name] = data[at:at + count].decode("latin-1")
                    at += count
        self.description = strings.get("description")
        self.working_dir = strings.get("working_dir")
        self.arguments = strings.get("arguments")


def _utf16z(data, at):
    end = at
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[at:end].decode("utf-16-le")
