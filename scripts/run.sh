#!/usr/bin/env bash
# Builds everything and reports what was built.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
build=${BUILD_DIR:-build}
echo "Built:"
find "$build/win32" -maxdepth 3 \( -name '*.exe' -o -name '*.dll' \) -not -path '*/CMakeFiles/*' | sort | sed 's/^/  /'
if ! find "$build/win32" -name Vyrtel.exe -not -path '*/CMakeFiles/*' | grep -q .; then
  echo "Vyrtel.exe is not built yet: nothing to start."
fi
