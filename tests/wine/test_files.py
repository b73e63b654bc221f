"""The Windows build's files as files: what the loader and the control
program rely on before any code of them runs. Read, never run, so these
checks hold for every build on every host, including a build the host
cannot execute."""

import os
import unittest
import zipfile

from hooklib_support import Record
from pe_image import MACHINE_AMD64, MACHINE_I386, MAGIC_PE32, MAGIC_PE32_PLUS, PeImage
from winetest import ARCH, built

# IMAGE_SCN_CNT_INITIALIZED_DATA | MEM_SHARED | MEM_READ | MEM_WRITE
SHARED_DATA_FLAGS = 0x00000040 | 0x10000000 | 0x40000000 | 0x80000000

# Per build: machine, optional header, the most the hook library may weigh,
# now that it carries the automatic mend's word models in its read-only
# data (338 KiB and 340.5 KiB as built today), and the most its code may
# take (10.6 KiB and 11.3 KiB today; the x86-64 instructions are wider).
BUILDS = {
    "win32": (MACHINE_I386, MAGIC_PE32, 512 * 1024, 12 * 1024),
    "win64": (MACHINE_AMD64, MAGIC_PE32_PLUS, 512 * 1024, 14 * 1024),
}
# The most the control program may weigh: its code, the C runtime's start-up
# and its resources, without any C++ runtime. The x86-64 build carries its
# unwind tables (.pdata, .xdata) and wider import tables besides.
PROGRAM_MOST = {"win32": 72 * 1024, "win64": 80 * 1024}
PACKAGE = os.environ.get("VYRTEL_PACKAGE", "")


class HookLibraryFileTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.path = built("Tavrilex.dll")
        cls.image = PeImage(cls.path)

    def test_is_a_small_dll_of_its_build(self):
        machine, magic, most, code_most = BUILDS[ARCH]
        self.assertEqual(self.image.machine, machine)
        self.assertEqual(self.image.magic, magic)
        self.assertTrue(self.image.characteristics & 0x2000, "the DLL flag")
        self.assertLessEqual(os.path.getsize(self.path), most)
        self.assertLessEqual(self.image.sections[".text"]["vsize"], code_most)
        # No C runtime came along: it would bring thread-local storage and
        # more sections than code, data (the shared record, and each
        # process's own table of ANSI characters), exports, imports,
        # relocations and (x86-64) the unwind tables.
        self.assertEqual(self.image.directories[9], (0, 0), "no TLS directory")
        self.assertLessEqual(set(self.image.sections),
                             {".text", ".swdata", ".bss", ".rdata", ".edata", ".idata", ".reloc", ".pdata", ".xdata"})

    def test_exports_ten_functions_by_the_same_names_and_ordinals_in_every_build(self):
        names, functions = self.image.exports()
        self.assertEqual(self.image.export_dll_name(), "Tavrilex.dll")
        self.assertEqual(names, {"DllCtrl": 1, "DllLock": 2, "DllReg": 3, "_GetMsgHookProc@12": 4,
                                 "SetBeeper": 5, "SetToggler": 6, "DllCtrlW": 7, "DllMode": 8,
                                 "DllSwitch": 9, "DllAutoMend": 10})
        self.assertEqual(functions, 10)

    def test_imports_only_what_the_hook_and_exports_call(self):
        # The lock asks whether its holder still runs; the hook reads each
        # process's ANSI code page once, asks whether the window of a
        # translated character is a Unicode one, and posts the mode message
        # to the registered window. Pause asks once per window whether it
        # hides its text, and types keys again. The automatic mend reads
        # each key message's mark and the time while it holds keys back,
        # and asks an edit control where its caret is and what stands before
        # it. Nothing that Windows 95 lacks is imported: GetProcessTimes,
        # SetWindowsHookExW, SendInput and RealGetWindowClassA are looked up
        # (keybd_event serves where SendInput is missing, GetClassNameA where
        # RealGetWindowClassA is).
        self.assertEqual(self.image.imports(), {
            "KERNEL32.DLL": ["Beep", "CloseHandle", "DisableThreadLibraryCalls", "GetCurrentProcess",
                             "GetCurrentProcessId", "GetExitCodeProcess", "GetLastError", "GetModuleHandleA",
                             "GetProcAddress", "GetTickCount", "GetVersion", "MultiByteToWideChar", "OpenProcess"],
            "USER32.DLL": ["CallNextHookEx", "GetClassNameA", "GetKeyState", "GetKeyboardState", "GetMessageExtraInfo",
                           "GetWindowLongA", "IsIconic", "IsWindow",
                           "IsWindowUnicode", "MapVirtualKeyA", "PostMessageA", "RegisterWindowMessageA",
                           "SendMessageA", "SendMessageW", "SetForegroundWindow",
                           "SetWindowsHookExA", "ShowWindow", "UnhookWindowsHookEx", "keybd_event"],
        })

    def test_shared_section_holds_the_initial_record(self):
        section = self.image.sections[".swdata"]
        self.assertEqual(section["flags"], SHARED_DATA_FLAGS, hex(section["flags"]))
        stored = self.image.section_bytes(".swdata")
        self.assertGreaterEqual(len(stored), Record.SIZE)

        record = Record(stored)
        self.assertEqual((record.hook, record.window, record.library), (0, 0, 0))
        self.assertEqual((record.method, record.switch, record.beeper, record.count), (3, 0, 1, 0))
        self.assertEqual(record.entries[0], (0x02, 0, 0x31, 0x23))  # 1 key: 1 #
        self.assertEqual(record.entries[12], (0x10, 1, 0xCA, 0xEA))  # Q key: KOI8 short i
        self.assertEqual(record.entries[46:], [(0, 0, 0, 0)] * 18)
        self.assertEqual(record.holder, (0, 0), "the lock is free")
        self.assertEqual(record.letters, [(0, 0)] * 64, "no letters")


class ProgramFilesTest(unittest.TestCase):
    def test_the_program_is_small_and_needs_a_clean_windows_and_the_custom_control_library_only(self):
        path = built("Vyrtel.exe")
        image = PeImage(path)
        self.assertEqual(image.machine, BUILDS[ARCH][0])
        self.assertLessEqual(os.path.getsize(path), PROGRAM_MOST[ARCH])
        imports = image.imports()
        # No C++ runtime, unwinder or thread DLL; the C runtime's start-up
        # needs MSVCRT; the notification-area icon, SHELL32's ANSI entry,
        # which every system has; the layout window draws with GDI32, which
        # also copies the pictures on the clipboard while a selection is
        # mended.
        self.assertEqual(set(imports), {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL", "MSVCRT.DLL", "BWCC32.DLL",
                                        "SHELL32.DLL"})
        self.assertEqual(imports["BWCC32.DLL"], ["CreateDialogParamA", "DialogBoxParamA"])
        self.assertEqual(imports["SHELL32.DLL"], ["Shell_NotifyIconA"])
        # The layout window draws off screen with fonts and text; the
        # clipboard's pictures are copied as objects of their own.
        self.assertEqual(imports["GDI32.DLL"], ["BitBlt", "CopyEnhMetaFileA", "CopyMetaFileA", "CreateCompatibleBitmap",
                                                "CreateCompatibleDC", "CreateFontA", "CreatePalette", "DeleteDC",
                                                "DeleteEnhMetaFile", "DeleteMetaFile", "DeleteObject", "ExtTextOutA",
                                                "GetDeviceCaps", "GetPaletteEntries", "GetTextExtentPoint32W",
                                                "SelectObject", "SetBkColor", "SetBkMode", "SetTextColor",
                                                "TextOutW"])
        # Windows 95 and NT 4 lack these: looked up, never imported.
        self.assertNotIn("GetClipboardSequenceNumber", imports["USER32.DLL"])
        self.assertNotIn("SendInput", imports["USER32.DLL"])
        self.assertNotIn("GetGUIThreadInfo", imports["USER32.DLL"])
        self.assertNotIn("RealGetWindowClassA", imports["USER32.DLL"])
        # Tavrilex.dll is bound by name at run time, so that its absence can be reported.
        self.assertIn("LoadLibraryA", imports["KERNEL32.DLL"])
        self.assertIn("GetProcAddress", imports["KERNEL32.DLL"])

    def test_framework_dialogs_are_made_by_the_custom_control_library_and_no_runtime_dll_is_needed(self):
        imports = PeImage(built("framework_test_app.exe")).imports()
        self.assertEqual(imports["BWCC32.DLL"], ["CreateDialogParamA", "DialogBoxParamA"])
        self.assertNotIn("CreateDialogParamA", imports["USER32.DLL"])
        self.assertNotIn("DialogBoxParamA", imports["USER32.DLL"])
        self.assertIn("MessageBoxExA", imports["USER32.DLL"])
        # Only what a clean Windows has: no C++ runtime, unwinder or thread DLL.
        self.assertLessEqual(set(imports), {"BWCC32.DLL", "KERNEL32.DLL", "USER32.DLL", "GDI32.DLL", "MSVCRT.DLL"})

    def test_the_custom_control_library_exports_what_programs_import_and_needs_no_c_runtime(self):
        image = PeImage(built("BWCC32.DLL"))
        self.assertEqual(image.machine, BUILDS[ARCH][0])
        names, _ = image.exports()
        self.assertLessEqual({"BWCCIntlInit", "BWCCRegister", "BWCCIntlTerm", "BWCCMessageBox",
                              "DialogBoxParamA", "CreateDialogParamA"}, set(names))
        self.assertEqual(set(image.imports()), {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL"})
        self.assertEqual(image.directories[9], (0, 0), "no TLS directory: no C runtime came along")


class PackageFileTest(unittest.TestCase):
    def test_holds_the_program_its_libraries_a_readme_and_the_layout_diagrams(self):
        self.assertTrue(os.path.isfile(PACKAGE), f"no package at {PACKAGE!r}: build the package_zip targets")
        self.assertTrue(os.path.basename(PACKAGE).endswith(f"-{ARCH}.zip"), PACKAGE)
        with zipfile.ZipFile(PACKAGE) as z:
            self.assertEqual(sorted(z.namelist()), sorted(
                f"Vyrtel/{name}" for name in ("Vyrtel.exe", "Tavrilex.dll", "BWCC32.DLL", "README.TXT",
                                              "layout-typewriter.svg", "layout-phonetic.svg")))
            machines = {PeImage.from_bytes(z.read(f"Vyrtel/{name}")).machine
                        for name in ("Vyrtel.exe", "Tavrilex.dll", "BWCC32.DLL")}
            readme = z.read("Vyrtel/README.TXT")
        self.assertEqual(machines, {BUILDS[ARCH][0]}, "every program file of this build")
        self.assertTrue(readme.startswith(b"\xef\xbb\xbf"), "UTF-8 with a byte order mark, for Notepad")
        text = readme[3:].decode("utf-8")
        self.assertNotIn("\n", text.replace("\r\n", ""), "Windows line ends throughout")
        self.assertNotIn("@", text, "every placeholder filled")
        self.assertIn("й  ц  у  к  е  н  г  ш  щ  з  х  ї", text)  # typewriter, upper row
        self.assertIn("я  ш  е  р  т  и  у  і  о  п  ю  щ", text)  # phonetic, upper row
        # Which programs this build translates in.
        words = " ".join(text.split())
        if ARCH == "win32":
            self.assertIn("translates what you type in 32-bit programs", words)
        else:
            self.assertIn("translates what you type in 64-bit programs", words)
        # What Windows documents of the two builds together, and what holds under Wine.
        self.assertIn("this has not been tested", words)
        self.assertIn("Under Wine run one of them only", words)
        # What users see in each kind of program.
        self.assertIn("receive the Ukrainian letters themselves, whichever coding you choose", words)


if __name__ == "__main__":
    unittest.main()
