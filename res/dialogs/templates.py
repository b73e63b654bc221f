"""The program's two dialog templates, control by control. Earlier controls
lie on top, and the order is also the creation and tab order."""

import resource_ids
from dlgtemplate import BUTTON, STATIC, Control, Dialog

# The ids of res/resource_ids.h, plus the dialog manager's own.
ID = dict(resource_ids.read(), IDOK=1, IDCANCEL=2, NO_ID=-1)

# Control dialog: shown without its caption and dialog frame as the whole
# client of the main window. The radio buttons are plain (not automatic)
# BS_RADIOBUTTONs: the program sets every check mark itself. WS_GROUP
# (0x00020000) stands on the three captioned boxes only.
CONTROL_DIALOG = Dialog(
    style=0x40C00044,       # WS_CHILD | WS_CAPTION | DS_SETFONT | DS_3DLOOK
    ex_style=0x00010000,    # WS_EX_CONTROLPARENT
    box=(6, 15, 181, 122),
    window_class="BorDlg_Gray", caption="Dialog Client", font=(10, "Arial"),
    controls=[
        #       id                                class       text                       x    y   w   h  style
        Control(ID["IDC_ABOUT_BUTTON"],           BUTTON,     "",                        124, 16, 27, 31, 0x5000030B),
        Control(ID["IDOK"],                       "BorBtn",   "Minimize",                140, 96, 37, 21, 0x50010001),
        Control(ID["IDCANCEL"],                   "BorBtn",   "Exit",                    100, 96, 37, 21, 0x50010000),
        Control(ID["NO_ID"],                      "BorShade", "About",                   119, 3,  37, 48, 0x50008101),
        Control(ID["IDC_EMBLEM"],                 STATIC,     "#1",                      124, 16, 27, 31, 0x50000B0E),
        Control(ID["IDC_CODING_BOX"],             "BorShade", "Coding",                  4,   3,  92, 48, 0x50028101),
        Control(ID["IDC_KOI8"],                   "BorRadio", "Ukrainian - KOI8",        8,   16, 80, 12, 0x50010004),
        Control(ID["IDC_CP1251"],                 "BorRadio", "Ukrainian - CP1251",      8,   27, 80, 12, 0x50010004),
        Control(ID["IDC_DISABLE"],                "BorRadio", "Disable",                 8,   37, 80, 12, 0x50010004),
        Control(ID["IDC_TOGGLE_BOX"],             "BorShade", "Toggle",                  4,   57, 92, 60, 0x50028101),
        Control(ID["IDC_CTRL_SHIFT_LEFT_RIGHT"],  "BorRadio", "Ctrl+Shift (Left/Right)", 8,   69, 84, 12, 0x50010004),
        Control(ID["IDC_SCROLL_LOCK"],            "BorRadio", "Scroll Lock",             8,   80, 84, 12, 0x50010004),
        Control(ID["IDC_NUM_LOCK"],               "BorRadio", "Num Lock",                8,   91, 84, 12, 0x50010004),
        Control(ID["IDC_CTRL_SHIFT_CYCLED"],      "BorRadio", "Ctrl+Shift (Cycled)",     8,   101, 84, 12, 0x50010004),
        Control(ID["IDC_TYPEWRITER"],             "BorRadio", "Typewriter",              113, 68, 48, 12, 0x50010004),
        Control(ID["IDC_PHONETIC"],               "BorRadio", "Phonetic",                113, 79, 48, 12, 0x50010004),
        Control(ID["IDC_LAYOUT_BOX"],             "BorShade", "Layout",                  109, 56, 56, 36, 0x50028101),
    ])

# About box: no system menu, so no close box; the button, Enter and Esc
# close it. Its version differs from the version record on purpose.
ABOUT_TEXT = "Version 0.6\n(c) 2026 The\nVyrtel Team"

ABOUT_DIALOG = Dialog(
    style=0x90C008C4,  # WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_CENTER | DS_SETFONT | DS_3DLOOK
    ex_style=0,
    box=(-6, 0, 143, 93),
    window_class="BorDlg_Gray", caption="About Vyrtel", font=(10, "MS Sans Serif"),
    controls=[
        #       id                        class       text         x   y   w    h   style
        Control(ID["IDOK"],               "BorBtn",   "",          56, 68, 33,  21, 0x50010001),
        Control(ID["IDC_ABOUT_TEXT"],     "BorStatic", ABOUT_TEXT, 60, 28, 48,  28, 0x50000000),
        Control(ID["NO_ID"],              STATIC,     "#1",        4,  8,  23,  31, 0x5000080E),
        Control(ID["NO_ID"],              STATIC,     "#2",        36, 8,  98,  16, 0x5000080E),
        Control(ID["IDC_ABOUT_FRAME"],    "BorShade", "",          32, 4,  106, 56, 0x50000101),
        Control(ID["IDC_ABOUT_LINE"],     "BorShade", "",          4,  64, 136, 1,  0x50000002),
    ])
