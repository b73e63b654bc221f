"""Just enough of a PE file, 32-bit (PE32) or 64-bit (PE32+): headers,
sections, exports, imports and resources, with the dialog template and
version record formats found among the resources. The tests' one reader of
Windows files. What is not well formed raises ValueError (or struct.error
where a field runs past the end)."""

import struct
from dataclasses import dataclass, field

MACHINE_I386, MACHINE_AMD64 = 0x14C, 0x8664
MAGIC_PE32, MAGIC_PE32_PLUS = 0x10B, 0x20B
RT_BITMAP, RT_ICON, RT_DIALOG, RT_GROUP_ICON, RT_VERSION = 2, 3, 5, 14, 16
DIRECTORY_RESOURCE = 2


@dataclass
class Resource:
    type: int
    id: int
    language: int
    data: bytes


class PeImage:
    def __init__(self, path):
        with open(path, "rb") as file:
            self._read(file.read(), path)

    @classmethod
    def from_bytes(cls, data):
        image = cls.__new__(cls)
        image._read(data, "the data")
        return image

    def _read(self, data, what):
        self.data = d = data
        if d[:2] != b"MZ":
            raise ValueError(f"{what} is no MZ file")
        pe = struct.unpack_from("<I", d, 0x3C)[0]
        if d[pe:pe + 4] != b"PE\0\0":
            raise ValueError(f"{what} has no PE signature")
        self.machine, nsections, _, _, _, optsize, self.characteristics = struct.unpack_from("<HHIIIHH", d, pe + 4)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", d, opt)[0]
        if self.magic not in (MAGIC_PE32, MAGIC_PE32_PLUS):
            raise ValueError(f"{what} is neither PE32 nor PE32+")
        self.is64 = self.magic == MAGIC_PE32_PLUS
        # The image base is the one field whose width differs before the
        # data directories, which start 16 bytes further on in PE32+.
        self.image_base = struct.unpack_from("<Q", d, opt + 24)[0] if self.is64 else struct.unpack_from("<I", d, opt + 28)[0]
        self.image_size = struct.unpack_from("<I", d, opt + 56)[0]
        directories = opt + (112 if self.is64 else 96)
        self.directories = [struct.unpack_from("<II", d, directories + 8 * i) for i in range(16)]
        self.sections = {}
        for i in range(nsections):
            at = opt + optsize + 40 * i
            name = d[at:at + 8].rstrip(b"\0").decode()
            vsize, va, rawsize, rawptr = struct.unpack_from("<IIII", d, at + 8)
            flags = struct.unpack_from("<I", d, at + 36)[0]
            self.sections[name] = dict(vsize=vsize, va=va, rawsize=rawsize, rawptr=rawptr, flags=flags)

    def at(self, rva):
        for s in self.sections.values():
            if s["va"] <= rva < s["va"] + max(s["vsize"], s["rawsize"]):
                return s["rawptr"] + rva - s["va"]
        raise ValueError(f"rva {rva:#x} in no section")

    def cstring(self, rva):
        at = self.at(rva)
        return self.data[at:self.data.index(b"\0", at)].decode()

    def section_bytes(self, name):
        s = self.sections[name]
        return self.data[s["rawptr"]:s["rawptr"] + min(s["vsize"], s["rawsize"])]

    def exports(self):
        """{name: ordinal}, and the number of functions in the address table."""
        rva, _ = self.directories[0]
        at = self.at(rva)
        _, _, _, _, _, base, nfunctions, nnames, _, names, ordinals = struct.unpack_from("<IIHHIIIIIII", self.data, at)
        result = {}
        for i in range(nnames):
            name = self.cstring(struct.unpack_from("<I", self.data, self.at(names) + 4 * i)[0])
            result[name] = base + struct.unpack_from("<H", self.data, self.at(ordinals) + 2 * i)[0]
        return result, nfunctions

    def export_dll_name(self):
        rva, _ = self.directories[0]
        return self.cstring(struct.unpack_from("<I", self.data, self.at(rva) + 12)[0])

    def imports(self):
        """{dll name (upper case): sorted function names}."""
        thunk_format, by_ordinal = ("<Q", 1 << 63) if self.is64 else ("<I", 1 << 31)
        thunk_size = struct.calcsize(thunk_format)
        rva, _ = self.directories[1]
        at = self.at(rva)
        result = {}
        while True:
            lookup, _, _, name, thunk = struct.unpack_from("<IIIII", self.data, at)
            if name == 0:
                return result
            functions = []
            entry = self.at(lookup or thunk)
            while True:
                value = struct.unpack_from(thunk_format, self.data, entry)[0]
                if value == 0:
                    break
                functions.append(f"#{value & 0xFFFF}" if value & by_ordinal else self.cstring(value + 2))
                entry += thunk_size
            result[self.cstring(name).upper()] = sorted(functions)
            at += 20

    def resources(self):
        """Every resource with a numeric type and name, in directory order.
        The directory has three levels: type, name, language."""
        rva, _ = self.directories[DIRECTORY_RESOURCE]
        if rva == 0:
            return []
        root = self.at(rva)

        def entries(directory):
            named, numbered = struct.unpack_from("<HH", self.data, directory + 12)
            return [struct.unpack_from("<II", self.data, directory + 16 + 8 * i) for i in range(named + numbered)]

        subdirectory = 0x80000000
        found = []
        for type_id, type_offset in entries(root):
            if type_id & subdirectory or not type_offset & subdirectory:
                continue
            for name_id, name_offset in entries(root + (type_offset & ~subdirectory)):
                if name_id & subdirectory or not name_offset & subdirectory:
                    continue
                for language, data_offset in entries(root + (name_offset & ~subdirectory)):
                    data_rva, size = struct.unpack_from("<II", self.data, root + data_offset)
                    found.append(Resource(type_id, name_id, language, _span(self.data, self.at(data_rva), size)))
        return found

    def resource(self, type_id, name_id):
        """The data of the resource of this type and name (any language)."""
        for r in self.resources():
            if (r.type, r.id) == (type_id, name_id):
                return r.data
        raise ValueError(f"no resource {type_id}/{name_id}")


def _span(data, at, size):
    if at + size > len(data):
        raise ValueError("truncated data")
    return data[at:at + size]


def _align(at, to=4):
    return (at + to - 1) // to * to


def _utf16z(data, at):
    """A zero-terminated UTF-16 string at `at`, and the offset past it."""
    end = at
    while struct.unpack_from("<H", data, end)[0] != 0:
        end += 2
    return data[at:end].decode("utf-16-le"), end + 2


def _name_or_ordinal(data, at):
    """A string, or an ordinal (an int), as dialog templates store class
    names and texts; and the offset past it."""
    if struct.unpack_from("<H", data, at)[0] == 0xFFFF:
        return struct.unpack_from("<H", data, at + 2)[0], at + 4
    return _utf16z(data, at)


@dataclass
class DialogItem:
    style: int
    ex_style: int
    box: tuple  # x, y, width, height in dialog units
    id: int
    window_class: object  # str, or the atom (int) of a standard class
    text: object          # str, or an ordinal (int)


@dataclass
class Dialog:
    style: int
    ex_style: int
    box: tuple
    menu: object
    window_class: object
    caption: str
    point_size: int = 0
    face: str = ""
    items: list = field(default_factory=list)


DS_SETFONT = 0x40


def parse_dialog(data):
    """A DLGTEMPLATE (not the extended form) and its items."""
    style, ex_style, count = struct.unpack_from("<IIH", data, 0)
    dialog = Dialog(style, ex_style, struct.unpack_from("<hhhh", data, 10), None, None, "")
    at = 18
    dialog.menu, at = _name_or_ordinal(data, at)
    dialog.window_class, at = _name_or_ordinal(data, at)
    dialog.caption, at = _utf16z(data, at)
    if style & DS_SETFONT:
        dialog.point_size = struct.unpack_from("<H", data, at)[0]
        dialog.face, at = _utf16z(data, at + 2)
    for _ in range(count):
        at = _align(at)
        item_style, item_ex_style = struct.unpack_from("<II", data, at)
        box = struct.unpack_from("<hhhh", data, at + 8)
        item_id = struct.unpack_from("<H", data, at + 16)[0]
        window_class, at = _name_or_ordinal(data, at + 18)
        text, at = _name_or_ordinal(data, at)
        extra = struct.unpack_from("<H", data, at)[0]
        at += 2 + extra
        dialog.items.append(DialogItem(item_style, item_ex_style, box, item_id, window_class, text))
    return dialog


@dataclass
class VersionRecord:
    file_version: tuple      # most and least significant words
    product_version: tuple
    flags_mask: int
    flags: int
    os: int
    type: int
    subtype: int
    date: tuple
    string_table: str = ""   # e.g. "040904E4"
    strings: list = field(default_factory=list)  # (key, value), in stored order
    translation: list = field(default_factory=list)


def parse_version(data):
    """A VS_VERSIONINFO: the fixed part, the strings of its one string
    table and the translations of its VarFileInfo."""
    key, at = _utf16z(data, 6)
    if key != "VS_VERSION_INFO":
        raise ValueError("not a version record")
    at = _align(at)
    signature, _, *fixed = struct.unpack_from("<13I", data, at)
    if signature != 0xFEEF04BD:
        raise ValueError("no fixed version part")
    record = VersionRecord(tuple(fixed[0:2]), tuple(fixed[2:4]), *fixed[4:9], tuple(fixed[9:11]))
    at = _align(at + 52)
    end = struct.unpack_from("<H", data, 0)[0]
    while at + 6 < end:
        block_end = at + struct.unpack_from("<H", data, at)[0]
        name, key_end = _utf16z(data, at + 6)
        child = _align(key_end)
        if name == "StringFileInfo":
            table_end = child + struct.unpack_from("<H", data, child)[0]
            record.string_table, table_key_end = _utf16z(data, child + 6)
            s = _align(table_key_end)
            while s < table_end:
                length = struct.unpack_from("<H", data, s)[0]
                if length == 0:
                    break
                string_key, k = _utf16z(data, s + 6)
                value = _align(k)
                text = _utf16z(data, value)[0] if value < s + length else ""
                record.strings.append((string_key, text))
                s = _align(s + length)
        elif name == "VarFileInfo":
            value_length = struct.unpack_from("<H", data, child + 2)[0]
            _, k = _utf16z(data, child + 6)  # "Translation"
            record.translation = list(struct.unpack_from(f"<{value_length // 2}H", data, _align(k)))
        at = _align(block_end)
    return record
