"""Tavrilex.dll as a file: what the loader and the control program rely on
before any code of it runs."""

import os
import unittest

from hooklib_support import PROGRAMS, Driver, PeImage, Record
from winetest import WineSession, built

# IMAGE_SCN_CNT_INITIALIZED_DATA | MEM_SHARED | MEM_READ | MEM_WRITE
SHARED_DATA_FLAGS = 0x00000040 | 0x10000000 | 0x40000000 | 0x80000000


class LibraryFileTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.path = built("Tavrilex.dll")
        cls.image = PeImage(cls.path)

    def test_is_a_small_32_bit_dll(self):
        self.assertEqual(self.image.machine, 0x14C)  # i386
        self.assertEqual(self.image.magic, 0x10B)  # PE32
        self.assertTrue(self.image.characteristics & 0x2000, "the DLL flag")
        self.assertLessEqual(os.path.getsize(self.path), 8192)
        # No C runtime came along: it would bring thread-local storage and
        # more sections than code, data, exports, imports and relocations.
        self.assertEqual(self.image.directories[9], (0, 0), "no TLS directory")
        self.assertLessEqual(set(self.image.sections), {".text", ".swdata", ".rdata", ".edata", ".idata", ".reloc"})

    def test_exports_exactly_six_functions_by_name_and_ordinal(self):
        names, functions = self.image.exports()
        self.assertEqual(self.image.export_dll_name(), "Tavrilex.dll")
        self.assertEqual(names, {"DllCtrl": 1, "DllLock": 2, "DllReg": 3, "_GetMsgHookProc@12": 4,
                                 "SetBeeper": 5, "SetToggler": 6})
        self.assertEqual(functions, 6)

    def test_imports_only_what_the_hook_and_exports_call(self):
        self.assertEqual(self.image.imports(), {
            "KERNEL32.DLL": ["Beep", "DisableThreadLibraryCalls"],
            "USER32.DLL": ["CallNextHookEx", "GetKeyState", "IsIconic", "IsWindow", "SetForegroundWindow",
                           "SetWindowsHookExA", "ShowWindow", "UnhookWindowsHookEx"],
        })

    def test_shared_section_holds_the_initial_record(self):
        section = self.image.sections[".swdata"]
        self.assertEqual(section["flags"], SHARED_DATA_FLAGS, hex(section["flags"]))
        stored = self.image.section_bytes(".swdata")
        self.assertGreaterEqual(len(stored), 300)

        record = Record(stored)
        self.assertEqual((record.hook, record.window, record.library), (0, 0, 0))
        self.assertEqual((record.method, record.switch, record.beeper, record.count), (3, 0, 1, 0))
        self.assertEqual(record.entries[0], (0x02, 0, 0x31, 0x23))  # 1 key: 1 #
        self.assertEqual(record.entries[12], (0x10, 1, 0xCA, 0xEA))  # Q key: KOI8 short i
        self.assertEqual(record.entries[46:], [(0, 0, 0, 0)] * 18)

        # Byte for byte the record built from the tables' one source, as a
        # program compiled from the same headers computes it.
        with WineSession() as wine:
            wine.install(*PROGRAMS)
            driver = Driver(wine)
            expected = bytes.fromhex(driver.ask("initial")[0])
            seen_by_a_process = driver.record().data
            driver.close()
        self.assertEqual(stored[:300], expected)
        self.assertEqual(seen_by_a_process[:300], expected)


if __name__ == "__main__":
    unittest.main()
