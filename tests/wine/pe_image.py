"""Just enough of a PE file, 32-bit (PE32) or 64-bit (PE32+): headers,
sections, exports and imports. The tests' one reader of Windows files."""

import struct

MACHINE_I386, MACHINE_AMD64 = 0x14C, 0x8664
MAGIC_PE32, MAGIC_PE32_PLUS = 0x10B, 0x20B


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
        pe = struct.unpack_from("<I", d, 0x3C)[0]
        assert d[pe:pe + 4] == b"PE\0\0", f"{what} is no PE file"
        self.machine, nsections, _, _, _, optsize, self.characteristics = struct.unpack_from("<HHIIIHH", d, pe + 4)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", d, opt)[0]
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
