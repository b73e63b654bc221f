#!/usr/bin/env bash
# Builds everything and starts Vyrtel.exe under 32-bit Wine.
#
# The program runs from C:\Vyrtel of a Wine prefix of its own,
# <build>/run-prefix (made once, by wineboot), with Tavrilex.dll and
# BWCC32.DLL beside it.
#
# Where it shows:
# - On your X display ($DISPLAY), when there is one that answers: the
#   script waits until you close the program (its Exit button, Esc, or the
#   close box) and ends with the program's exit code.
# - Otherwise on a private virtual display (Xvfb) that the script starts and
#   names. It waits for the window, saves a screenshot under
#   <build>/artifacts/ and prints where it is. Run from a terminal, the
#   program then keeps running (reach it with DISPLAY=:N, e.g. xdotool or
#   `import -display :N -window root shot.png`) until you press Ctrl+C or
#   it ends. Run without a terminal (from a script, CI), the program is
#   closed after the screenshot, so the command always ends.
#
# VYRTEL_RUN_SECONDS=N ends the program after N seconds (by its Esc key) in
# any case. BUILD_DIR chooses the build folder (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
build=$(cd "${BUILD_DIR:-build}" && pwd)

# ---- the program and its prefix ----

prefix=$build/run-prefix
echo "Preparing the Wine prefix $prefix (the first time takes a while)..."
tests/wine/make_template_prefix.sh "$prefix"
appdir=$prefix/drive_c/Vyrtel
mkdir -p "$appdir" "$build/artifacts"
for binary in app/Vyrtel.exe hooklib/Tavrilex.dll controls/BWCC32.DLL; do
  cp "$build/win32/$binary" "$appdir/"
done

export WINEPREFIX=$prefix WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# ---- the display ----

xvfb_pid=""
program_pid=""
cleanup() {
  # The prefix is this script's alone: end everything that runs in it, the
  # program and Wine's own processes. Those keep Tavrilex.dll, and with it
  # the program's single-instance lock, alive for as long as they run, so a
  # later start would otherwise be refused.
  timeout 30 wineserver -k 2>/dev/null || true
  timeout 15 wineserver -w 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

virtual=no
if [ -n "${DISPLAY:-}" ] && xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
  echo "Starting Vyrtel on your display $DISPLAY."
else
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  read -r -t 30 number <"$fifo" || { echo "Xvfb did not start." >&2; exit 1; }
  rm -f "$fifo"
  export DISPLAY=":$number"
  virtual=yes
  echo "No display of yours answers: starting Vyrtel on the virtual display $DISPLAY."
fi

# ---- the program ----

(cd "$appdir" && exec wine 'C:\Vyrtel\Vyrtel.exe') &
program_pid=$!

visible_window() {
  { xdotool search --onlyvisible --name "$1" 2>/dev/null || true; } | head -n 1
}

window=""
reported=""
for _ in $(seq 600); do
  window=$(visible_window '^Vyrtel$')
  [ -n "$window" ] && break
  for box in 'DLL Not Found' 'DLL Corrupted'; do
    if [ -z "$reported" ] && [ -n "$(visible_window "^$box\$")" ]; then
      reported=$box
      echo "Vyrtel reports \"$box\" in a message box on $DISPLAY." >&2
      if [ "$virtual" = yes ]; then
        import -display "$DISPLAY" -window root "$build/artifacts/vyrtel-run.png"
        echo "A screenshot of it: $build/artifacts/vyrtel-run.png" >&2
        [ -t 0 ] || exit 1
        echo "Press Ctrl+C to end it." >&2
      fi
      # It ends when its box is answered.
      wait "$program_pid" && code=0 || code=$?
      program_pid=""
      echo "Vyrtel ended with exit code $code." >&2
      exit "$code"
    fi
  done
  if ! kill -0 "$program_pid" 2>/dev/null; then
    wait "$program_pid" && code=0 || code=$?
    program_pid=""
    if [ "$code" -eq 1 ]; then
      echo "Vyrtel ended at once (exit code 1): another copy holds its single-instance lock" \
           "(a running copy has been brought to the front)." >&2
    else
      echo "Vyrtel ended with exit code $code before showing its window." >&2
    fi
    exit "$code"
  fi
  sleep 0.1
done
if [ -z "$window" ]; then
  echo "Vyrtel's window did not appear within a minute." >&2
  exit 1
fi

close_program() {
  xdotool windowfocus --sync "$window" key Escape 2>/dev/null || true
}

if [ "$virtual" = yes ]; then
  shot=$build/artifacts/vyrtel-run.png
  geometry=$(xdotool getwindowgeometry --shell "$window" | tr '\n' ' ')
  eval "$geometry"
  # The dialog paints its controls just after the window shows: the shot is
  # taken again until the window holds its many colours (the emblem's).
  for _ in $(seq 50); do
    import -display "$DISPLAY" -window root "$shot"
    colours=$(convert "$shot" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" -format %k info:)
    [ "$colours" -gt 20 ] && break
    sleep 0.1
  done
  echo "Vyrtel is running on the virtual display $DISPLAY; a screenshot of it: $shot"
fi

if [ -n "${VYRTEL_RUN_SECONDS:-}" ]; then
  echo "Closing it in $VYRTEL_RUN_SECONDS seconds."
  sleep "$VYRTEL_RUN_SECONDS"
  close_program
elif [ "$virtual" = yes ] && ! [ -t 0 ]; then
  echo "No terminal to wait on: closing it now."
  close_program
elif [ "$virtual" = yes ]; then
  echo "Press Ctrl+C to end it."
else
  echo "Close it to end this command."
fi

wait "$program_pid" && code=0 || code=$?
program_pid=""
echo "Vyrtel ended with exit code $code."
exit "$code"
