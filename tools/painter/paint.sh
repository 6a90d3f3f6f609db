#!/usr/bin/env bash
# Repaints every picture of the game, the application icon, the installer's pictures and the contact sheets.
# Usage: tools/painter/paint.sh [build-folder]   (default build/painter; builds the painter first)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build/painter}"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target sudoku_painter >/dev/null
"$build/tools/painter/sudoku_painter" \
  --icons "$root/tools/painter/icons" \
  --fonts "$root/assets/fonts" \
  --pictures "$root/assets/pictures" \
  --app-icon "$root/assets/icons" \
  --installer "$root/assets/installer" \
  --sheets "$root/docs/contact-sheets"
