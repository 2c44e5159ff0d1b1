#!/usr/bin/env bash
# The launcher part of the main job, unattended: builds the release folder (dist),
# installs Velmora with its installer, silently, into the demo's Wine prefix, publishes
# a version file on a local server (127.0.0.1) and points the installed SEWI.bin at it,
# prepares a demo game folder whose javaw.exe is a stand-in that records its command
# line, then runs the installed launcher under Wine and Xvfb: the home page,
# the detailed settings page, and a click on "开始游戏" that writes the game's
# preferences and starts the stand-in game through RunGame.bat.
# Results: build/demo/launcher-*.png and build/demo/launcher.log.
set -euo pipefail
exec </dev/null
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DEMO="$ROOT/build/demo"
. "$ROOT/scripts/wine-status.sh"
# scripts/demo.sh hands over its configured build folder (VELMORA_DEMO_BUILD), so the
# shared libraries are built once; run alone, the script configures its own.
BUILD="${VELMORA_DEMO_BUILD:-$ROOT/build/demo-launcher-$RUNNABLE_PRESET}"
WORK="$DEMO/launcher"

log() { printf '[demo-launcher] %s\n' "$*" | tee -a "$DEMO/launcher.log"; }

if [ "${1:-}" = "--inside" ]; then
  export WINEPREFIX="$WORK/wineprefix" WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
  shot() { import -window root "$DEMO/$1.png"; log "screenshot $1.png"; }
  click() { wine "$BUILD/bin/click_window.exe" ZorvikUIFram "$@"; }
  wineserver -p >/dev/null 2>&1 || true
  wine cmd /c exit >/dev/null 2>&1 || true
  cd "$PROGRAM"
  wine Velmora.exe >/dev/null 2>&1 &
  launcher_pid=$!
  trap 'kill "$launcher_pid" 2>/dev/null || true; wineserver -k 2>/dev/null || true' EXIT
  # The window appears once the version check has answered; under load that can
  # take a while, so wait for it (bounded) instead of a fixed time.
  click || { log "the launcher window did not appear"; shot launcher-00-no-window; exit 1; }
  sleep 2
  shot launcher-01-home
  click 498 37            # the "详细设置" tab
  sleep 1
  shot launcher-02-detailed-settings
  click 385 37 884 556    # back home, then "开始游戏"
  record="$WORK/game/game/jre/win32/x86/bin/javaw-record.txt"
  for _ in $(seq 150); do [ -f "$record" ] && break; sleep 0.2; done
  sleep 1
  shot launcher-03-after-start
  [ -f "$record" ] || { log "the stand-in game did not start"; exit 1; }
  log "the game was started with:"
  tee -a "$DEMO/launcher.log" < "$record"
  exit 0
fi

mkdir -p "$DEMO"
: > "$DEMO/launcher.log"
port="$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')"
base="http://127.0.0.1:$port/zorvik/Wakfu/"
log "update server $base"

cd "$ROOT"
note_runnable_preset demo-launcher
[ -n "${VELMORA_DEMO_BUILD:-}" ] || cmake --preset "$RUNNABLE_PRESET" -B "$BUILD" -DVELMORA_BUILD_TESTS=OFF >/dev/null
cmake --build "$BUILD" -j 2 --target dist click_window
"$RUNNABLE_CXX" -O2 -static -mwindows -finput-charset=UTF-8 \
  -I"$ROOT" "$ROOT/tools/stub_game/stub_javaw.cpp" "$ROOT/common/text/code_page.cpp" -o "$BUILD/stub_javaw.exe"

rm -rf "$WORK"
mkdir -p "$WORK/server/zorvik/Wakfu/Version" "$WORK/game/game/jre/win32/x86/bin" "$WORK/game/game"
cp "$BUILD/stub_javaw.exe" "$WORK/game/game/jre/win32/x86/bin/javaw.exe"
printf 'cameraMinZoom=1.0\r\n' > "$WORK/game/game/config.properties"
# The server publishes the launcher's own version: no update prompt.
version="$(sed -n 's/^set(VELMORA_LAUNCHER_VERSION "\([0-9.]*\)".*/\1/p' launcher/app/CMakeLists.txt)"
printf '%s\r\n' "$version" > "$WORK/server/zorvik/Wakfu/Version/server_version.ini"
export WINEPREFIX="$WORK/wineprefix" WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
"$ROOT/tools/wine-prefix.sh"
setup="$(ls "$BUILD"/dist/Velmora-*-setup.exe)"
log "installing $(basename "$setup") silently (/S) into the default folder"
wine "$setup" /S
# The wineserver of the calls above has no X display; the launcher must not meet it.
wineserver -w
PROGRAM="$(dirname "$(ls "$WINEPREFIX"/drive_c/Program\ Files*/Velmora/Uninstall.exe | head -1)")"
export PROGRAM
log "installed into $PROGRAM:"
(cd "$PROGRAM" && find . -type f | sort | sed 's/^/  /') | tee -a "$DEMO/launcher.log"
(cd "$WINEPREFIX/drive_c" && find . -name '*Velmora*.lnk' | sort | sed 's/^/  shortcut /') | tee -a "$DEMO/launcher.log"
# The build's SEWI.bin names the configured content base; this demo's version server
# listens on its own port, so the installed SEWI.bin is pointed at it.
python3 "$ROOT/tools/sewi.py" "$base" "$PROGRAM/SEWI.bin"
# Not a first run: the saved settings (game folder, memory profile) are applied.
mkdir -p "$PROGRAM/user/default"
: > "$PROGRAM/user/default/config.ini"
game_win="Z:$(printf '%s' "$WORK/game" | tr '/' '\\')"
printf '[GamePath]\r\nPath=%s\r\n[StartMode]\r\nisCheck=1\r\n[StartModel]\r\nStartModel=1\r\n[Resolution]\r\nResolution=3\r\n[WindowsStyle]\r\nWindowsStyle=1\r\n' \
  "$game_win" > "$PROGRAM/user/ResInfo.ini"
# The game has run before: its preferences exist and the launcher carries the
# settings into them.
local_appdata="$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Local | grep -v /Public/ | head -1)"
prefs="$local_appdata/Ankama/WakfuChina/game/preferences/userPreferences.properties"
mkdir -p "$(dirname "$prefs")"
printf 'resolution=800x600\r\nmusicMute=true\r\nLODLevel=0\r\n' > "$prefs"

python3 -m http.server "$port" --bind 127.0.0.1 --directory "$WORK/server" >"$WORK/server.log" 2>&1 &
server_pid=$!
trap 'kill "$server_pid" 2>/dev/null || true' EXIT
for _ in $(seq 50); do curl -sf "${base}Version/server_version.ini" >/dev/null && break; sleep 0.1; done

xvfb-run -a -s "-screen 0 1280x800x24" "$0" --inside
log "the game's preferences after the start:"
tr -d '\r' < "$prefs" | sed 's/^/  /' | tee -a "$DEMO/launcher.log"
log "done; screenshots in $DEMO"
