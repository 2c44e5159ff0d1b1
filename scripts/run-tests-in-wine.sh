#!/usr/bin/env bash
# Runs one build's test suite through Wine in a fresh, throw-away prefix, so that no
# state leaks from one run into the next. Expects an X display (xvfb-run gives one).
# Usage: run-tests-in-wine.sh <win32|win64> [ctest arguments...]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
preset="${1:-win32}"
shift || true

WINEPREFIX="$(mktemp -d /tmp/velmora-wine.XXXXXX)"
export WINEPREFIX WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

tools/wine-prefix.sh
# A persistent wineserver and one warm-up start make each test process cheap.
wineserver -p
wine cmd /c exit >/dev/null 2>&1 || true

ctest --preset "$preset" "$@"
