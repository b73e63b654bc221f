"""Builds the per-user Windows Installer package of one Windows build from
vyrtel.wxs with wixl, then sets with msibuild what wixl cannot express.

    make_msi.py ARCH VERSION VERSION_TEXT BUILD_DIR LAYOUT_TOOL OUTPUT.msi

ARCH is win32 (i386) or win64 (x86-64); VERSION the project's version as
x.y.z ("0.5.1") and VERSION_TEXT its text form ("0.51"); BUILD_DIR that
build's folder (its binaries.txt names the files); LAYOUT_TOOL draws the
layouts for README.TXT. The tests build the same source at other versions.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import uuid

from make_package import HERE, PROGRAM_FILES, ROOT, built, readme

WIXL_ARCH = {"win32": "x86", "win64": "x64"}
# Product codes are derived from the build and the version, so that the
# same version's package is the same product: running it again repairs.
PRODUCT_NAMESPACE = uuid.UUID("0b6f3c52-8f1d-4c1e-9a57-2d4e8b7c6a10")
CUSTOM_ACTION = "VyrtelSetup.dll"

# Custom actions in the order they must run (wixl's own placement of
# custom actions does not keep Before/After).
SEQUENCE = {
    "RememberAutoStart": 51,    # after AppSearch (50), before LaunchConditions (100)
    "AutoStartOn": 52,
    "AutoStartOff": 53,
    "RepairSameVersion": 701,   # before CostInitialize (800)
    "RepairAllFiles": 702,
    "SetInstallLocation": 1001,  # after CostFinalize (1000) has resolved INSTALLDIR
    "CloseRunningVyrtel": 1399,  # before InstallValidate (1400)
}


def product_code(arch, version):
    return str(uuid.uuid5(PRODUCT_NAMESPACE, f"vyrtel-{arch}-{version}")).upper()


def stage(folder, arch, version_text, build_dir, layout_tool):
    for name in PROGRAM_FILES + (CUSTOM_ACTION,):
        shutil.copy2(built(build_dir, name), os.path.join(folder, name))
    with open(os.path.join(folder, "README.TXT"), "wb") as f:
        f.write(readme(arch, layout_tool, version_text).encode("utf-8"))
    for layout in ("typewriter", "phonetic"):
        shutil.copy2(os.path.join(ROOT, "docs", f"layout-{layout}.svg"), folder)
    shutil.copy2(os.path.join(HERE, "vyrtel.wxs"), folder)


def table_fixes(arch):
    queries = [
        # SW_SHOWMINNOACTIVE: started at sign-in, Vyrtel comes up minimised.
        "UPDATE Shortcut SET ShowCmd = 7 WHERE Shortcut = 'StartupShortcut'",
        # The uninstall takes the per-user programs folder too when it made
        # it and nothing else is left in it.
        "INSERT INTO RemoveFile (FileKey, Component_, DirProperty, InstallMode) "
        "VALUES ('RemoveUserPrograms', 'Program', 'UserPrograms', 2)",
    ]
    queries += [f"UPDATE InstallExecuteSequence SET Sequence = {n} WHERE Action = '{a}'" for a, n in SEQUENCE.items()]
    if arch == "win64":
        queries.append("INSERT INTO LaunchCondition (Condition, Description) VALUES ('VersionNT64', "
                       "'This is the 64-bit Vyrtel, for 64-bit Windows. On this Windows, install the 32-bit "
                       "package (its name ends in -win32.msi).')")
    return queries


def main(arch, version, version_text, build_dir, layout_tool, output):
    with tempfile.TemporaryDirectory(prefix="vyrtel-msi-") as folder:
        stage(folder, arch, version_text, os.path.abspath(build_dir), os.path.abspath(layout_tool))
        package = os.path.join(folder, "vyrtel.msi")
        subprocess.run(["wixl", "-a", WIXL_ARCH[arch], "-D", f"Arch={arch}", "-D", f"Version={version}",
                        "-D", f"VersionText={version_text}", "-D", f"ProductCode={product_code(arch, version)}",
                        "-o", package, "vyrtel.wxs"], cwd=folder, check=True)
        command = ["msibuild", package]
        for query in table_fixes(arch):
            command += ["-q", query]
        subprocess.run(command, check=True)
        tmp = output + ".tmp"
        shutil.copyfile(package, tmp)
        os.replace(tmp, output)


if __name__ == "__main__":
    if len(sys.argv) != 7:
        sys.exit(__doc__)
    main(*sys.argv[1:])
