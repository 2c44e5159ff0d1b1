#!/usr/bin/env bash
# The main job, unattended: on a fresh Debian 12 machine as root, sets the machine up,
# builds Updater.exe for a content server on 127.0.0.1, publishes a demo release with
# tools/release.py, serves it with nginx, prepares a program folder with the older
# version and runs the real Updater.exe under Wine and Xvfb. A probe program presses
# "更新", screenshots are taken before, during and after the run, "更新完成" hands over
# to the (stand-in) launcher, and everything that was started is stopped again.
# Then scripts/demo-launcher.sh installs Velmora with its installer (silently, into
# the demo's Wine prefix) and runs the installed Velmora.exe: home page, detailed
# settings, and "开始游戏" starting a stand-in game in a demo game folder.
# Results: build/demo/*.png, build/demo/demo.log, build/demo/launcher.log.
set -euo pipefail
exec </dev/null
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
DEMO="$ROOT/build/demo"
. "$ROOT/scripts/wine-status.sh"
BUILD="$ROOT/build/demo-$RUNNABLE_PRESET"

log() { printf '[demo] %s\n' "$*"; }

# ---------------------------------------------------------------------------------
# Inside the X display: run the updater, drive it and take the screenshots.
if [ "${1:-}" = "--inside" ]; then
  export WINEPREFIX="$DEMO/wineprefix" WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
  probe="$BUILD/bin/update_probe.exe"
  shot() { import -window root "$DEMO/$1.png"; log "screenshot $1.png"; }
  drive() { wine "$probe" find 60000 "$@"; }

  wineserver -p </dev/null >/dev/null 2>&1
  wine cmd /c exit >/dev/null 2>&1 || true

  cd "$DEMO/program"
  wine Updater.exe >/dev/null 2>&1 &
  updater_pid=$!
  trap 'kill "$updater_pid" 2>/dev/null || true; wineserver -k 2>/dev/null || true' EXIT

  drive sleep 500 dump
  shot 01-start
  drive click 1001
  # Mid-run: wait until the first rows are on the list, then take the picture.
  for _ in $(seq 100); do
    rows="$(drive dump | awk -F'\t' '$1=="rows"{print $2}')"
    [ "${rows:-0}" -ge 2 ] && break
    sleep 0.2
  done
  sleep 1
  shot 02-mid-run
  drive dump
  drive wait 1004 "更新成功." 180000 dump
  shot 03-finished
  drive click 1001 exit 30000
  for _ in $(seq 300); do
    [ -f launcher-ran.txt ] && [ ! -f delete.bat ] && break
    sleep 0.2
  done
  sleep 2
  shot 04-launcher-restarted
  [ -f launcher-ran.txt ] || { log "the launcher was not restarted"; exit 1; }
  exit 0
fi

# ---------------------------------------------------------------------------------
# Outside: set-up, build, release, server; then the inside part under Xvfb.
if [ "$(id -u)" = 0 ]; then bash "$ROOT/scripts/setup.sh"; else sudo bash "$ROOT/scripts/setup.sh"; fi
# Set-up may just have installed (or failed to install) the 32-bit Wine.
. "$ROOT/scripts/wine-status.sh"
BUILD="$ROOT/build/demo-$RUNNABLE_PRESET"
note_runnable_preset demo

port="$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')"
base="http://127.0.0.1:$port/zorvik/Wakfu/"
log "content server $base"

cd "$ROOT"
# A publisher's key pair made for this run: the demo Updater.exe trusts its public
# half and installs the release only because it is signed with the private half.
key="$BUILD/demo-key"
rm -rf "$key"
mkdir -p "$key"
python3 tools/release.py keygen "$key/private.pem" "$key/public.hex"
cmake --preset "$RUNNABLE_PRESET" -B "$BUILD" -DVELMORA_CONTENT_BASE="$base" \
  -DVELMORA_UPDATE_PUBLIC_KEY="$(cat "$key/public.hex")" >/dev/null
cmake --build "$BUILD" -j 2 --target Updater update_probe
"$RUNNABLE_CXX" -O2 -static -municode -mwindows -finput-charset=UTF-8 -I"$ROOT" \
  tools/demo/demo_launcher.cpp -o "$BUILD/demo_launcher.exe"

rm -rf "$DEMO"
mkdir -p "$DEMO"
server="$DEMO/server"
update="$server/zorvik/Wakfu/Update"
program="$DEMO/program"
mkdir -p "$update/skin" "$update/game/data" "$program/skin"

# The new release: a new updater and launcher, a new skin, a new data file in a new
# folder, a changed text; keep.txt is the same on both sides.
python3 - "$BUILD" "$update" "$program" <<'PY'
import os, random, sys
build, update, program = sys.argv[1:4]
rnd = random.Random(20261208)
def put(folder, name, data):
    path = os.path.join(folder, *name.split("/"))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
updater = open(os.path.join(build, "bin", "Updater.exe"), "rb").read()
launcher = open(os.path.join(build, "demo_launcher.exe"), "rb").read()
put(update, "Updater.exe", updater + b"\0release 2.0.1")
put(update, "Velmora.exe", launcher + b"\0release 2.0.1")
put(update, "skin/Wakfu.ui", rnd.randbytes(3 * 1024 * 1024))
put(update, "game/data/地图资源.bin", rnd.randbytes(4 * 1024 * 1024))
put(update, "resources.pak", rnd.randbytes(5 * 1024 * 1024))
put(update, "说明.txt", "Velmora 2.0.1\r\n新增地图资源包。\r\n".encode("gbk"))
put(update, "keep.txt", b"unchanged\r\n")
put(program, "Updater.exe", updater)
put(program, "Velmora.exe", launcher)
put(program, "skin/Wakfu.ui", rnd.randbytes(2 * 1024 * 1024))
put(program, "说明.txt", "Velmora 2.0.0\r\n".encode("gbk"))
put(program, "keep.txt", b"unchanged\r\n")
PY
cat >"$DEMO/notes.txt" <<'NOTES'
Velmora 2.0.1 更新日志
1. 新增地图资源包
2. 更新界面皮肤
3. 更新程序支持断点续传
4. 修复启动器偶尔无法保存设置的问题
NOTES
python3 tools/release.py "$update" --version 2.0.1.0 --log "$DEMO/notes.txt" --sign-key "$key/private.pem"
log "published $(wc -l <"$update/UpDate.ini") files, signed: $(cat "$update/UpDate.ini.sig")"

# nginx in the foreground on 127.0.0.1, slowed down so that the run can be watched.
mkdir -p "$DEMO/nginx/temp"
cat >"$DEMO/nginx/nginx.conf" <<CONF
daemon off;
master_process off;
worker_processes 1;
pid $DEMO/nginx/nginx.pid;
error_log $DEMO/nginx/error.log;
events { worker_connections 64; }
http {
  access_log $DEMO/nginx/access.log;
  client_body_temp_path $DEMO/nginx/temp/body;
  proxy_temp_path $DEMO/nginx/temp/proxy;
  fastcgi_temp_path $DEMO/nginx/temp/fastcgi;
  uwsgi_temp_path $DEMO/nginx/temp/uwsgi;
  scgi_temp_path $DEMO/nginx/temp/scgi;
  default_type application/octet-stream;
  server {
    listen 127.0.0.1:$port;
    root $server;
    limit_rate 1500k;
  }
}
CONF
/usr/sbin/nginx -c "$DEMO/nginx/nginx.conf" -p "$DEMO/nginx" &
nginx_pid=$!
cleanup() {
  kill "$nginx_pid" 2>/dev/null || true
  wait "$nginx_pid" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 100); do (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break; sleep 0.1; done

# A fresh Wine prefix with Chinese fonts and a virtual desktop, so that Wine draws the
# window frames and captions into the screenshots.
export WINEPREFIX="$DEMO/wineprefix" WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
log "preparing the Wine prefix"
tools/wine-prefix.sh
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1024x768 /f >/dev/null 2>&1
wineserver -w

log "running the updater"
status=0
xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" --inside >"$DEMO/demo.log" 2>&1 || status=1
cat "$DEMO/demo.log"

log "program folder after the update:"
(cd "$program" && find . -type f | sort | sed 's/^/  /')
python3 - "$update" "$program" <<'PY' || status=1
import os, sys
update, program = sys.argv[1:3]
bad = []
for dirpath, _, files in os.walk(update):
    for name in files:
        if name in ("UpDate.ini", "UpDate.ini.sig"):  # published beside the files, never installed
            continue
        rel = os.path.relpath(os.path.join(dirpath, name), update)
        local = os.path.join(program, rel)
        if not os.path.exists(local) or open(local, "rb").read() != open(os.path.join(dirpath, name), "rb").read():
            bad.append(rel)
print("[demo] files that differ from the release: %s" % (bad or "none"))
sys.exit(1 if bad else 0)
PY
log "running the launcher"
VELMORA_DEMO_BUILD="$BUILD" bash "$ROOT/scripts/demo-launcher.sh" || status=1
log "screenshots in $DEMO: $(cd "$DEMO" && ls *.png | tr '\n' ' ')"
exit "$status"
