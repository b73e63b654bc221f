#!/usr/bin/env bash
# Builds everything and starts Vyrtel.exe under Wine: the 32-bit program
# where this host executes i386 code, the 64-bit one elsewhere (one line
# says which, and why; VYRTEL_WINDOWS_ARCH=win32|win64 chooses).
#
# The program runs from C:\vyrtel of a Wine prefix of its own,
# <build>/run-prefix-<arch>, with Tavrilex.dll and BWCC32.DLL beside it.
#
# Where it shows:
# - On your X display ($DISPLAY), when there is one that answers: the
#   command waits until you close the program (its Exit button, Esc, or
#   the close box) and ends with the program's exit code. Only the windows
#   of its own prefix count, so another copy on the same display (another
#   prefix, a Wine desktop) is left alone. VYRTEL_DEMO=1 is not done there
#   (it types on real keys): one line says so.
# - Otherwise on a private virtual display (Xvfb) that it starts and names,
#   in a Wine virtual desktop with a taskbar (the mode icon in its
#   notification area). It opens the layout window from the icon's menu,
#   saves a screenshot under <build>/artifacts/ and prints where it is.
#   VYRTEL_DEMO=1 first opens Notepad, switches translation on and types
#   Ukrainian into it on real keys. Run from a terminal, the program then keeps
#   running (reach it with DISPLAY=:N, e.g. xdotool or
#   `import -display :N -window root shot.png`) until you press Ctrl+C or
#   it ends. Run without a terminal (from a script, CI), the program is
#   closed after the screenshot, so the command always ends.
#
# VYRTEL_RUN_SECONDS=N ends the program after N seconds in any case: by its
# Esc key (on the Wine desktop by Exit in the icon's menu); when it has not
# ended 5 seconds later, its window is closed (WM_CLOSE, sent by Wine in
# its prefix); 5 seconds after that, everything the command started in the
# prefix is ended (wineserver -k). One line says when a later step was
# needed. BUILD_DIR chooses the build folder (default: build). When the
# command ends, everything it started in the prefix and the virtual display
# end with it.
#
# Exit codes: the program's own (0 after Exit or Esc; 1 when another copy
# in the same prefix holds the single-instance lock, or it did not start);
# 124: it had to be ended by closing its window; 125: by ending its prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
VYRTEL_SETUP_DONE=1 exec ./scripts/wine-python.sh scripts/run_vyrtel.py
