"""The resources of the program file, Vyrtel.exe, of the build under test:
exactly the ones the program and the platform use, language-neutral, with
the pictures, the two dialog templates and the version record as the
program's users see them. Read from the file's resource directory, never
run, so these checks hold for every build on every host."""

import os
import struct
import unittest

from pe_image import RT_BITMAP, RT_DIALOG, RT_GROUP_ICON, RT_ICON, RT_VERSION, PeImage, parse_dialog, parse_version
from program_ids import ID, IDCANCEL, IDOK, NO_ID
from winetest import built

# The project's version, as CMake passes it: "0.5.1".
PROJECT_VERSION = os.environ.get("VYRTEL_VERSION", "")

BUTTON, STATIC = 0x80, 0x82  # atoms of the standard control classes
WS_SYSMENU = 0x00080000


def u16(data, at):
    return struct.unpack_from("<H", data, at)[0]


def u32(data, at):
    return struct.unpack_from("<I", data, at)[0]


def pixel(dib, x, y):
    """(r, g, b) of pixel (x, y), top row 0, of a DIB with a palette; an
    icon's image stores its mask below, doubling the height."""
    width, height = u32(dib, 4), u32(dib, 8)
    bits = u16(dib, 14)
    rows = height // 2 if height == 2 * width else height
    palette = 40
    stride = (width * bits + 31) // 32 * 4
    row = palette + 4 * (1 << bits) + stride * (rows - 1 - y)
    offset = x * bits
    index = (dib[row + offset // 8] >> (8 - bits - offset % 8)) & ((1 << bits) - 1)
    blue, green, red = dib[palette + 4 * index:palette + 4 * index + 3]
    return red, green, blue


def blueish(colour):
    red, _, blue = colour
    return blue > 100 and blue > red + 60


def yellowish(colour):
    red, green, blue = colour
    return red > 180 and green > 140 and blue < 90


class ProgramResourcesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # A file that cannot be found or read fails every test here.
        cls.all = PeImage(built("Vyrtel.exe")).resources()

    def get(self, type_id, name_id):
        found = [r.data for r in self.all if (r.type, r.id) == (type_id, name_id)]
        self.assertTrue(found, f"no resource {type_id}/{name_id}")
        return found[0]

    def test_are_exactly_the_icon_pictures_dialogs_and_version_all_language_neutral(self):
        for r in self.all:
            self.assertEqual(r.language, 0, f"{r.type}/{r.id}")
        expected = {(RT_ICON, 1), (RT_ICON, 2), (RT_ICON, 3), (RT_GROUP_ICON, ID["IDI_VYRTEL"]),
                    *((RT_ICON, image) for image in range(4, 10)),
                    *((RT_GROUP_ICON, ID[name]) for name in ("IDI_MODE_UKRAINIAN", "IDI_MODE_LATIN", "IDI_MODE_OFF")),
                    (RT_BITMAP, ID["IDB_EMBLEM"]), (RT_BITMAP, ID["IDB_TITLE"]), (RT_DIALOG, ID["IDD_CONTROL"]),
                    (RT_DIALOG, ID["IDD_ABOUT"]), (RT_VERSION, 1)}
        self.assertEqual({(r.type, r.id) for r in self.all}, expected)
        self.assertEqual(len(self.all), len(expected), "one language each")

    # ---- icon and pictures ----

    def test_icon_group_holds_three_images_in_order_with_their_sizes_and_depths(self):
        group = self.get(RT_GROUP_ICON, ID["IDI_VYRTEL"])
        self.assertEqual(u16(group, 2), 1, "icons, not cursors")
        self.assertEqual(u16(group, 4), 3)
        # width, height, colours, bits per pixel, bytes, image id
        images = [(32, 32, 16, 4, 744, 1), (32, 32, 2, 1, 304, 2), (16, 16, 16, 4, 296, 3)]
        for i, (width, height, colours, bits, size, image_id) in enumerate(images):
            with self.subTest(image=i):
                e = 6 + 14 * i
                self.assertEqual((group[e], group[e + 1], group[e + 2]), (width, height, colours))
                self.assertEqual((u16(group, e + 6), u32(group, e + 8), u16(group, e + 12)), (bits, size, image_id))
                image = self.get(RT_ICON, image_id)
                self.assertEqual(len(image), size)
                self.assertEqual(u32(image, 4), width)
                self.assertEqual(u32(image, 8), 2 * height, "colour and mask halves")
                self.assertEqual(u16(image, 14), bits)

    def test_icon_shows_a_grey_keyboard_over_blue_above_and_yellow_below(self):
        icon = self.get(RT_ICON, 1)
        self.assertTrue(blueish(pixel(icon, 2, 2)))
        self.assertTrue(yellowish(pixel(icon, 29, 29)))
        grey = sum(pixel(icon, x, y) == (192, 192, 192) for y in range(32) for x in range(32))
        self.assertGreater(grey, 60, "light-grey keys")
        small = self.get(RT_ICON, 3)
        self.assertTrue(blueish(pixel(small, 2, 2)))
        self.assertTrue(yellowish(pixel(small, 14, 14)))

    def test_each_mode_icon_holds_16_and_32_pixel_images_of_its_own_field(self):
        # group: (image ids, the colour most of the 16 x 16 field has)
        groups = {"IDI_MODE_UKRAINIAN": ((4, 5), (0, 0, 255)), "IDI_MODE_LATIN": ((6, 7), (255, 255, 255)),
                  "IDI_MODE_OFF": ((8, 9), (192, 192, 192))}
        for name, (image_ids, field) in groups.items():
            with self.subTest(group=name):
                group = self.get(RT_GROUP_ICON, ID[name])
                self.assertEqual(u16(group, 4), 2)
                for i, (size, image_id) in enumerate(zip((16, 32), image_ids)):
                    e = 6 + 14 * i
                    self.assertEqual((group[e], group[e + 1], u16(group, e + 6), u16(group, e + 12)),
                                     (size, size, 4, image_id))
                small = self.get(RT_ICON, image_ids[0])
                colours = [pixel(small, x, y) for y in range(16) for x in range(16)]
                self.assertGreater(colours.count(field), 256 // 3)
                big = self.get(RT_ICON, image_ids[1])
                self.assertEqual([pixel(big, 2 * x, 2 * y) for y in range(16) for x in range(16)], colours,
                                 "the large image is the small one doubled")

    def test_emblem_is_45_by_62_in_256_colours_with_a_yellow_trident_on_blue(self):
        emblem = self.get(RT_BITMAP, ID["IDB_EMBLEM"])
        self.assertEqual((u32(emblem, 4), u32(emblem, 8), u16(emblem, 14)), (45, 62, 8))
        self.assertTrue(yellowish(pixel(emblem, 22, 30)), "the trident's middle prong")
        self.assertTrue(blueish(pixel(emblem, 8, 20)), "the shield")
        self.assertLess(sum(pixel(emblem, 0, 61)), 250, "dark background")

    def test_title_is_195_by_32_in_16_colours_lettered_yellow_on_blue(self):
        title = self.get(RT_BITMAP, ID["IDB_TITLE"])
        self.assertEqual((u32(title, 4), u32(title, 8), u16(title, 14)), (195, 32, 4))
        colours = [pixel(title, x, y) for y in range(32) for x in range(195)]
        self.assertGreater(sum(map(yellowish, colours)), 600)
        self.assertGreater(sum(map(blueish, colours)), 3000)
        self.assertTrue(blueish(pixel(title, 2, 2)))

    # ---- dialog templates ----

    def assert_items(self, dialog, expected):
        """Each control: id, class (a name, or a standard class's atom),
        text, box in dialog units and style; no extended style."""
        self.assertEqual(len(dialog.items), len(expected))
        for i, (item, (control_id, window_class, text, box, style)) in enumerate(zip(dialog.items, expected)):
            with self.subTest(control=i + 1):
                self.assertEqual(item.id, control_id)
                self.assertEqual(item.window_class, window_class)
                self.assertEqual(item.text, text)  # a string, never an ordinal
                self.assertEqual(item.box, box)
                self.assertEqual(item.style, style, hex(item.style))
                self.assertEqual(item.ex_style, 0)

    def test_control_dialog_template_holds_its_controls_in_tab_order_with_classes_texts_places_and_styles(self):
        d = parse_dialog(self.get(RT_DIALOG, ID["IDD_CONTROL"]))
        self.assertEqual((d.style, d.ex_style), (0x40C00044, 0x00010000))
        self.assertEqual(d.box, (6, 15, 181, 122))
        self.assertEqual(d.menu, "", "no menu")
        self.assertEqual(d.window_class, "BorDlg_Gray")
        self.assertEqual(d.caption, "Dialog Client")
        self.assertEqual((d.point_size, d.face), (10, "Arial"))
        self.assert_items(d, [
            (ID["IDC_ABOUT_BUTTON"], BUTTON, "", (124, 16, 27, 31), 0x5000030B),
            (IDOK, "BorBtn", "Minimize", (140, 96, 37, 21), 0x50010001),
            (IDCANCEL, "BorBtn", "Exit", (100, 96, 37, 21), 0x50010000),
            (NO_ID, "BorShade", "About", (119, 3, 37, 48), 0x50008101),
            (ID["IDC_EMBLEM"], STATIC, "#1", (124, 16, 27, 31), 0x50000B0E),
            (ID["IDC_CODING_BOX"], "BorShade", "Coding", (4, 3, 92, 48), 0x50028101),
            (ID["IDC_KOI8"], "BorRadio", "Ukrainian - KOI8", (8, 16, 80, 12), 0x50010004),
            (ID["IDC_CP1251"], "BorRadio", "Ukrainian - CP1251", (8, 27, 80, 12), 0x50010004),
            (ID["IDC_DISABLE"], "BorRadio", "Disable", (8, 37, 80, 12), 0x50010004),
            (ID["IDC_TOGGLE_BOX"], "BorShade", "Toggle", (4, 57, 92, 60), 0x50028101),
            (ID["IDC_CTRL_SHIFT_LEFT_RIGHT"], "BorRadio", "Ctrl+Shift (Left/Right)", (8, 69, 84, 12), 0x50010004),
            (ID["IDC_SCROLL_LOCK"], "BorRadio", "Scroll Lock", (8, 80, 84, 12), 0x50010004),
            (ID["IDC_NUM_LOCK"], "BorRadio", "Num Lock", (8, 91, 84, 12), 0x50010004),
            (ID["IDC_CTRL_SHIFT_CYCLED"], "BorRadio", "Ctrl+Shift (Cycled)", (8, 101, 84, 12), 0x50010004),
            (ID["IDC_TYPEWRITER"], "BorRadio", "Typewriter", (113, 68, 48, 12), 0x50010004),
            (ID["IDC_PHONETIC"], "BorRadio", "Phonetic", (113, 79, 48, 12), 0x50010004),
            (ID["IDC_LAYOUT_BOX"], "BorShade", "Layout", (109, 56, 56, 36), 0x50028101),
        ])

    def test_about_box_template_has_no_close_box_and_three_lines_of_text_over_its_button(self):
        d = parse_dialog(self.get(RT_DIALOG, ID["IDD_ABOUT"]))
        self.assertEqual((d.style, d.ex_style), (0x90C008C4, 0))
        self.assertEqual(d.style & WS_SYSMENU, 0, "no system menu, hence no close box")
        self.assertEqual(d.box, (-6, 0, 143, 93))
        self.assertEqual(d.window_class, "BorDlg_Gray")
        self.assertEqual(d.caption, "About Vyrtel")
        self.assertEqual((d.point_size, d.face), (10, "MS Sans Serif"))
        self.assertEqual(len(d.items), 6)
        text = d.items[1].text
        self.assertEqual(text.split("\n")[0], "Version 0.6")
        self.assertEqual(text.count("\n"), 2, "three lines")
        self.assertNotIn("\r", text, "separated by line feeds alone")
        self.assert_items(d, [
            (IDOK, "BorBtn", "", (56, 68, 33, 21), 0x50010001),
            (ID["IDC_ABOUT_TEXT"], "BorStatic", text, (60, 28, 48, 28), 0x50000000),
            (NO_ID, STATIC, "#1", (4, 8, 23, 31), 0x5000080E),
            (NO_ID, STATIC, "#2", (36, 8, 98, 16), 0x5000080E),
            (ID["IDC_ABOUT_FRAME"], "BorShade", "", (32, 4, 106, 56), 0x50000101),
            (ID["IDC_ABOUT_LINE"], "BorShade", "", (4, 64, 136, 1), 0x50000002),
        ])

    # ---- version record ----

    def test_version_record_carries_the_fixed_numbers_and_the_nine_strings_in_order(self):
        v = parse_version(self.get(RT_VERSION, 1))
        # The project's version (CMake passes it): 0.5.1 is 0.5.1.0 in the
        # fixed part and "0.51" in the strings.
        major, minor, patch = (int(part) for part in PROJECT_VERSION.split("."))
        fixed = (major << 16 | minor, patch << 16)
        text = f"{major}.{minor}{patch}"
        self.assertEqual(v.file_version, fixed)
        self.assertEqual(v.product_version, fixed)
        self.assertEqual((v.flags_mask, v.flags), (0, 0x3F))
        self.assertEqual(v.os, 4)    # VOS__WINDOWS32
        self.assertEqual(v.type, 1)  # VFT_APP
        self.assertEqual(v.subtype, 0)
        self.assertEqual(v.date, (0, 0))
        self.assertEqual(v.string_table, "040904E4")
        self.assertEqual([key for key, _ in v.strings],
                         ["CompanyName", "FileDescription", "FileVersion", "InternalName", "LegalCopyright",
                          "LegalTrademarks", "OriginalFilename", "ProductName", "ProductVersion"])
        values = dict(v.strings)
        self.assertNotEqual(values["CompanyName"], "")
        self.assertNotEqual(values["LegalCopyright"], "")
        self.assertEqual(values["FileDescription"], "Vyrtel for Windows NT/95")
        self.assertEqual(values["FileVersion"], text)
        self.assertEqual(values["InternalName"], "Vyrtel")
        self.assertEqual(values["LegalTrademarks"], "Windows(TM) is a trademark of Microsoft Corporation")
        self.assertEqual(values["OriginalFilename"], "Vyrtel.exe")
        self.assertEqual(values["ProductName"], "Vyrtel")
        self.assertEqual(values["ProductVersion"], text)
        self.assertEqual(v.translation, [0x0409, 1252])


if __name__ == "__main__":
    unittest.main()
