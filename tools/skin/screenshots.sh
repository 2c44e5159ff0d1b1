#!/usr/bin/env bash
# Photographs the skin's windows under Xvfb: main window (home and detailed settings
# pages), message boxes, about window, folder chooser and both menus.
#   tools/skin/screenshots.sh [output folder]     (default build/screenshots)
# Needs a built win32 tree (velmora_skin_gallery.exe and skin/Wakfu.ui).
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
OUT="${1:-$ROOT/build/screenshots}"
BIN="$ROOT/build/win32/bin"
mkdir -p "$OUT"
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$OUT"
fi
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX; WINEPREFIX="$(mktemp -d /tmp/velmora-shots.XXXXXX)"
  trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
  "$ROOT/tools/wine-prefix.sh"
fi
export WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
for what in home settings message message5 about findpath menu-setting menu-notify; do
  wine "$BIN/velmora_skin_gallery.exe" "$what" 6000 &
  pid=$!
  sleep 4
  import -window root "$OUT/$what.png"
  wait "$pid" || true
  echo "$OUT/$what.png"
done
