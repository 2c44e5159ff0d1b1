#!/usr/bin/env bash
# Speed and memory of the download client and the update engine, each against a
# reference measured in the same run on the same data:
#   download:  DownloadToFile vs the bare WinHTTP loop (winhttp_fetch), 256 MiB from
#              a local nginx; native curl printed beside them for context only
#   engine:    the update engine's per-file work (fetch, digest check, replacement)
#              over 500 files / 300 MiB, serial and overlapped as the update pass
#              runs it, vs winhttp_fetch on the same files
#   manifest:  BuildLocalManifest vs md5sum over 2,000 small files and one 512 MiB file
#   compare:   CompareManifests at 10,000 and 100,000 records, growth vs n log n
# Usage: bench/run_benchmarks.sh [build folder, default build/win32, or build/win64
# where the 32-bit Wine is missing]
# Prints one line per measurement and the ratios; exits 0 whatever the ratios are.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
. "$ROOT/scripts/wine-status.sh"
[ -n "${1:-}" ] || note_runnable_preset benchmarks
BUILD="$(cd "${1:-$ROOT/build/$RUNNABLE_PRESET}" && pwd)"
BIN="$BUILD/bin"
for exe in winhttp_fetch download_bench engine_download_bench manifest_bench compare_bench; do
  [ -f "$BIN/$exe.exe" ] || { echo "missing $BIN/$exe.exe: build first" >&2; exit 1; }
done

WORK="$(mktemp -d /tmp/velmora-bench.XXXXXX)"
own_prefix=0
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX="$WORK/wineprefix"
  own_prefix=1
fi
export WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
cleanup() {
  bash "$ROOT/tests/http/server_fixture.sh" stop "$WORK/fx" || true
  if [ "$own_prefix" = 1 ]; then wineserver -k 2>/dev/null || true; fi
  rm -rf "$WORK"
}
trap cleanup EXIT

[ -d "$WINEPREFIX" ] || "$ROOT/tools/wine-prefix.sh"
wineserver -p 2>/dev/null || true
wine cmd /c exit >/dev/null 2>&1 || true

win() { printf 'Z:%s' "${1//\//\\}"; }
field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p"; }
best_of() {  # best_of <n> <command...>: the line with the smallest seconds= of n runs
  local n="$1"; shift
  local best="" best_s=""
  for _ in $(seq "$n"); do
    local line; line="$("$@")"
    local s; s="$(echo "$line" | field seconds)"
    if [ -z "$best_s" ] || awk "BEGIN{exit !($s < $best_s)}"; then best="$line"; best_s="$s"; fi
  done
  echo "$best"
}

echo "== download: 256 MiB from nginx on 127.0.0.1"
bash "$ROOT/tests/http/server_fixture.sh" start "$WORK/fx"
port="$(cat "$WORK/fx/nginx.port")"
head -c $((256 << 20)) /dev/urandom >"$WORK/fx/root/big.bin"
echo "http://127.0.0.1:$port/big.bin" >"$WORK/urls.txt"
mkdir -p "$WORK/out-ref" "$WORK/out-client"
# Interleaved rounds, best of each side: the machine is shared, single runs are noisy.
ref="" client=""
for _ in 1 2 3 4 5; do
  ref+="$(wine "$BIN/winhttp_fetch.exe" "$(win "$WORK/urls.txt")" "$(win "$WORK/out-ref")")"$'\n'
  client+="$(wine "$BIN/download_bench.exe" "$(win "$WORK/urls.txt")" "$(win "$WORK/out-client")")"$'\n'
done
pick_best() { sed -n 's/.*seconds=\([0-9.]*\).*/\1 &/p' | sort -g | head -1 | cut -d' ' -f2-; }
ref="$(pick_best <<<"$ref")"
client="$(pick_best <<<"$client")"
cmp -s "$WORK/fx/root/big.bin" "$WORK/out-client/0.bin" || echo "download_bench: file differs!"
curl_start="$(date +%s.%N)"
curl -s -o "$WORK/curl.bin" "http://127.0.0.1:$port/big.bin"
curl_s="$(awk -v a="$curl_start" -v b="$(date +%s.%N)" 'BEGIN{printf "%.3f", b-a}')"
echo "$ref"
echo "$client"
echo "curl (native, context only) seconds=$curl_s"
awk -v r="$(echo "$ref" | field seconds)" -v c="$(echo "$client" | field seconds)" \
  'BEGIN{printf "download throughput ratio DownloadToFile / bare WinHTTP = %.2f (target >= 0.90)\n", r/c}'
rm -rf "$WORK/out-ref" "$WORK/out-client" "$WORK/curl.bin"

echo "== engine pass: 500 files, 300 MiB from nginx on 127.0.0.1"
mkdir -p "$WORK/fx/root/data"
: >"$WORK/engine-urls.txt"
: >"$WORK/engine-list.txt"
for i in $(seq -w 1 500); do
  head -c $(((300 << 20) / 500)) /dev/urandom >"$WORK/fx/root/data/f$i.bin"
  echo "http://127.0.0.1:$port/data/f$i.bin" >>"$WORK/engine-urls.txt"
  printf 'data/f%s.bin\t%s\n' "$i" "$(md5sum <"$WORK/fx/root/data/f$i.bin" | cut -c1-32)" >>"$WORK/engine-list.txt"
done
ref="" serial="" overlap=""
for _ in 1 2 3; do
  rm -rf "$WORK/out-ref" "$WORK/out-serial" "$WORK/out-overlap"
  mkdir -p "$WORK/out-ref" "$WORK/out-serial" "$WORK/out-overlap"
  ref+="$(wine "$BIN/winhttp_fetch.exe" "$(win "$WORK/engine-urls.txt")" "$(win "$WORK/out-ref")")"$'\n'
  for mode in serial overlap; do
    line="$(wine "$BIN/engine_download_bench.exe" "$mode" "http://127.0.0.1:$port/" \
      "$(win "$WORK/engine-list.txt")" "$(win "$WORK/out-$mode")")"
    if [ "$mode" = serial ]; then serial+="$line"$'\n'; else overlap+="$line"$'\n'; fi
  done
done
ref="$(pick_best <<<"$ref")"
serial="$(pick_best <<<"$serial")"
overlap="$(pick_best <<<"$overlap")"
echo "$ref"
echo "$serial"
echo "$overlap"
awk -v r="$(echo "$ref" | field seconds)" -v s="$(echo "$serial" | field seconds)" \
  -v o="$(echo "$overlap" | field seconds)" \
  'BEGIN{printf "engine pass ratio bare WinHTTP / engine = %.2f serial, %.2f overlapped (target >= 0.80)\n", r/s, r/o}'
rm -rf "$WORK/out-ref" "$WORK/out-serial" "$WORK/out-overlap" "$WORK/fx/root/data"

echo "== local manifest: 2,000 small files + one 512 MiB file"
tree="$WORK/tree"
mkdir -p "$tree"
python3 - "$tree" <<'PY'
import os, random, sys
root = sys.argv[1]
rnd = random.Random(1)
for i in range(2000):
    d = os.path.join(root, "d%02d" % (i % 40))
    os.makedirs(d, exist_ok=True)
    with open(os.path.join(d, "f%04d.bin" % i), "wb") as f:
        f.write(rnd.randbytes(rnd.randint(100, 16384)))
PY
head -c $((512 << 20)) /dev/urandom >"$tree/big.bin"
# Warm the page cache for both sides alike.
cat "$tree/big.bin" >/dev/null
md5_run() {
  local start end
  start="$(date +%s.%N)"
  find "$tree" -type f ! -name LocalDate.ini -print0 | xargs -0 md5sum >/dev/null
  end="$(date +%s.%N)"
  awk -v a="$start" -v b="$end" 'BEGIN{printf "md5sum seconds=%.3f\n", b-a}'
}
md5="$(best_of 5 md5_run)"
manifest="$(best_of 5 wine "$BIN/manifest_bench.exe" "$(win "$tree")")"
echo "$md5"
echo "$manifest"
awk -v m="$(echo "$md5" | field seconds)" -v b="$(echo "$manifest" | field seconds)" \
  -v mem="$(echo "$manifest" | field peak_private_MiB)" \
  'BEGIN{printf "manifest throughput ratio BuildLocalManifest / md5sum = %.2f (target >= 0.90); peak private %.1f MiB (limit 64)\n", m/b, mem}'
rm -rf "$tree"

echo "== CompareManifests"
wine "$BIN/compare_bench.exe"
