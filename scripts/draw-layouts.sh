#!/usr/bin/env bash
# Redraws the keyboard diagrams in docs/ from the layout tables.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target layout_svg >/dev/null
for layout in typewriter phonetic; do
  "$build/tools/layout_svg" "$layout" > "docs/layout-$layout.svg"
  echo "docs/layout-$layout.svg"
done
