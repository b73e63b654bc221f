"""Builds the Windows package: a zip with Vyrtel.exe, Tavrilex.dll,
BWCC32.DLL, README.TXT for Windows users and the two layout diagrams.

    make_package.py WIN32_BUILD_DIR LAYOUT_TOOL OUTPUT.zip
"""

import glob
import os
import subprocess
import sys
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
PROGRAM_FILES = ("Vyrtel.exe", "Tavrilex.dll", "BWCC32.DLL")


def built(win32_dir, name):
    hits = [h for h in glob.glob(os.path.join(win32_dir, "**", name), recursive=True) if "CMakeFiles" not in h]
    if not hits:
        sys.exit(f"make_package: {name} is not built under {win32_dir}")
    return sorted(hits, key=len)[0]


def readme(layout_tool):
    text = open(os.path.join(HERE, "README.TXT.in"), encoding="utf-8").read()
    for layout in ("typewriter", "phonetic"):
        rows = subprocess.run([layout_tool, layout, "--text"], check=True, capture_output=True, text=True).stdout
        text = text.replace("@" + layout.upper() + "@", rows)
    # Windows line ends; the byte order mark tells Notepad the text is UTF-8.
    return "\ufeff" + text.replace("\n", "\r\n")


def main(win32_dir, layout_tool, output):
    folder = "Vyrtel"
    tmp = output + ".tmp"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED) as z:
        for name in PROGRAM_FILES:
            z.write(built(win32_dir, name), f"{folder}/{name}")
        z.writestr(f"{folder}/README.TXT", readme(layout_tool).encode("utf-8"))
        for layout in ("typewriter", "phonetic"):
            z.write(os.path.join(ROOT, "docs", f"layout-{layout}.svg"), f"{folder}/layout-{layout}.svg")
    os.replace(tmp, output)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
