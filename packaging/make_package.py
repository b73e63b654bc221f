"""Builds the Windows package: a zip with Vyrtel.exe, Tavrilex.dll,
BWCC32.DLL, README.TXT for Windows users and the two layout diagrams.

    make_package.py ARCH VERSION BUILD_DIR LAYOUT_TOOL OUTPUT.zip

ARCH is the Windows build the package is made of: win32 (i386) or win64
(x86-64); VERSION the project's version as the package spells it ("0.51");
BUILD_DIR is that build's folder.
"""

import os
import subprocess
import sys
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
PROGRAM_FILES = ("Vyrtel.exe", "Tavrilex.dll", "BWCC32.DLL")

PLATFORMS = {"win32": "Windows 95 and Windows NT", "win64": "64-bit Windows"}

# Which programs each build translates in: a hook library enters only the
# processes of its own architecture.
BUILD_NOTES = {
    "win32": """This is the 32-bit package. It runs on 32-bit and 64-bit Windows and
translates what you type in 32-bit programs. On 64-bit Windows, the
64-bit package (vyrtel-@VERSION@-win64.msi or .zip) serves 64-bit programs.
Windows documents that each package's hook enters only the programs of
its own kind, so the two could run side by side from folders of their
own, each with its own window and switch; this has not been tested. Under
Wine run one of them only: there the one started later stops the other
in the other's programs.""",
    "win64": """This is the 64-bit package, for 64-bit Windows. It translates what you
type in 64-bit programs. The 32-bit package (vyrtel-@VERSION@-win32.msi
or .zip) serves 32-bit programs. Windows documents that each package's
hook enters only the programs of its own kind, so the two could run side
by side from folders of their own, each with its own window and switch;
this has not been tested. Under Wine run one of them only: there the one
started later stops the other in the other's programs.""",
}


def built(build_dir, name):
    """Path of a file of the build, as the build listed it in binaries.txt."""
    with open(os.path.join(build_dir, "binaries.txt"), encoding="utf-8") as f:
        paths = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
    if name not in paths:
        sys.exit(f"make_package: {name} is not built under {build_dir}")
    return paths[name]


def readme(arch, layout_tool, version):
    text = open(os.path.join(HERE, "README.TXT.in"), encoding="utf-8").read()
    title = f"Vyrtel {version} - Ukrainian keyboard for {PLATFORMS[arch]}"
    text = text.replace("@TITLE@", title + "\n" + "=" * len(title))
    text = text.replace("@BUILD@", BUILD_NOTES[arch]).replace("@VERSION@", version)
    for layout in ("typewriter", "phonetic"):
        rows = subprocess.run([layout_tool, layout, "--text"], check=True, capture_output=True, text=True).stdout
        text = text.replace("@" + layout.upper() + "@", rows)
    # Windows line ends; the byte order mark tells Notepad the text is UTF-8.
    return "\ufeff" + text.replace("\n", "\r\n")


def main(arch, version, build_dir, layout_tool, output):
    folder = "Vyrtel"
    tmp = output + ".tmp"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED) as z:
        for name in PROGRAM_FILES:
            z.write(built(build_dir, name), f"{folder}/{name}")
        z.writestr(f"{folder}/README.TXT", readme(arch, layout_tool, version).encode("utf-8"))
        for layout in ("typewriter", "phonetic"):
            z.write(os.path.join(ROOT, "docs", f"layout-{layout}.svg"), f"{folder}/layout-{layout}.svg")
    os.replace(tmp, output)


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    main(*sys.argv[1:])
