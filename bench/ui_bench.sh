#!/usr/bin/env bash
# Main window drawing benchmark under Wine and Xvfb (see ui_main_window_bench.cpp).
# Usage: bench/ui_bench.sh [build folder]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
if [ -z "${DISPLAY:-}" ]; then exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"; fi
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX; WINEPREFIX="$(mktemp -d /tmp/velmora-bench.XXXXXX)"
  trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
  "$ROOT/tools/wine-prefix.sh"
fi
. "$ROOT/scripts/wine-status.sh"
[ -n "${1:-}" ] || note_runnable_preset ui_bench
"$ROOT/tools/wine-exec.sh" "${1:-$ROOT/build/$RUNNABLE_PRESET}/bin/velmora_bench_ui.exe"
