#!/usr/bin/env bash
# Creates the Wine prefix that every Wine test of one Windows build copies
# (by hard links) into a private prefix of its own. Does nothing when it is
# already there.
#   make_template_prefix.sh DIR ARCH LOADER
# ARCH is win32 or win64, LOADER the Wine loader of that architecture.
set -euo pipefail
dir=$1 arch=$2 loader=$3
marker=$dir/.vyrtel-template
want="$("$loader" --version) $arch 4"
if [ -f "$marker" ] && [ "$(cat "$marker")" = "$want" ]; then exit 0; fi

rm -rf "$dir"
mkdir -p "$(dirname "$dir")"
export WINEPREFIX=$dir WINEARCH=$arch WINELOADER=$loader WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
"$loader" wineboot.exe -i >/dev/null 2>&1
# Wine's own fonts (MS Sans Serif, Marlett for the caption buttons, ...)
# come with fonts-wine, which this Wine build does not look for by itself.
if [ -d /usr/share/wine/fonts ]; then
  cp /usr/share/wine/fonts/* "$dir/drive_c/windows/Fonts/"
fi
# A crashing test program must fail its test, not wait on a crash dialog.
"$loader" reg.exe add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
wineserver -w
echo "$want" > "$marker"
