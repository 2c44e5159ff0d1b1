#!/usr/bin/env bash
# One-time machine set-up for building and testing Velmora on Debian 12, as root.
# Idempotent: every step checks whether its result is already there.
#   - MinGW-w64 (-posix thread model) cross compilers, CMake, Ninja
#   - Wine (wine64; wine32 from the i386 archive in a step of its own), Xvfb,
#     nginx-light, imagemagick, Chinese fonts and locale
#   - googletest sources (compiled for the target by the build itself)
#   - clang with its sanitizer and libFuzzer runtimes, and zlib, for the native
#     build of the platform-free logic (preset native)
#   - libcurl and pugixml built for the targets into $VELMORA_DEPS (outside the tree)
#
# A registry index that fails to download (a mirror in mid-sync) does not stop the
# set-up: the refresh is retried, then set-up goes on with what is installable. It
# stops only when a package it needs cannot be had. The 32-bit Wine is optional: when
# it cannot be installed, $VELMORA_DEPS/status/wine32.missing says why and the test
# and demo scripts run the 64-bit programs alone.
set -euo pipefail

DEPS="${VELMORA_DEPS:-/opt/velmora-deps}"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
STATUS="$DEPS/status"
LOGS="$DEPS/logs"
export DEBIAN_FRONTEND=noninteractive

log() { printf '[setup] %s\n' "$*"; }
die() { printf '[setup] FAILED: %s\n' "$*" >&2; exit 1; }

need_pkgs=(
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 mingw-w64-tools
  libz-mingw-w64-dev
  cmake ninja-build make pkg-config dpkg-dev
  wine wine64 xvfb xauth x11-utils
  nginx-light imagemagick fonts-wqy-microhei locales
  googletest python3 python3-cryptography openssl curl xz-utils ccache nsis
  clang libclang-rt-dev zlib1g-dev
)
optional_pkgs=(wine32:i386)

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

mkdir -p "$STATUS" "$LOGS"

# --- package sources -----------------------------------------------------------------
lists_changed=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  log "adding the i386 architecture"
  dpkg --add-architecture i386
  lists_changed=1
fi

# deb-src entries are needed for `apt-get source` of curl and pugixml. Both source-list
# formats are handled: deb822 files (Types: deb) and one-line entries (deb URI suite ...).
enable_deb_src() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    if grep -qE '^Types:[[:space:]]*deb[[:space:]]*$' "$f"; then
      log "enabling deb-src in $f"
      sed -i -E 's/^Types:[[:space:]]*deb[[:space:]]*$/Types: deb deb-src/' "$f"
      lists_changed=1
    fi
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    # Each active one-line "deb" entry gets a "deb-src" twin unless one is there.
    local line src added=0
    while IFS= read -r line; do
      src="deb-src${line#deb}"
      if ! grep -qxF -- "$src" "$f"; then
        printf '%s\n' "$src" >>"$f"
        added=1
      fi
    done < <(grep -E '^deb[[:space:]]' "$f" || true)
    if [ "$added" = 1 ]; then
      log "enabling deb-src in $f"
      lists_changed=1
    fi
  done
}
enable_deb_src

# --- index refresh, tolerant of partly failed downloads ---------------------------------
# Prints the indexes apt could not fetch, one per line (from its "Failed to fetch" lines).
failed_indexes() { sed -n 's/^\(E\|W\): Failed to fetch \([^ ]*\).*/\2/p' "$1" | sort -u; }

refresh_lists() {
  local out="$LOGS/apt-update.log" try
  for try in 1 2 3; do
    if apt-get update -q >"$out" 2>&1; then
      rm -f "$STATUS/failed-indexes"
      return 0
    fi
    failed_indexes "$out" >"$STATUS/failed-indexes"
    log "apt-get update attempt $try failed; indexes not fetched:"
    sed 's/^/[setup]     /' "$STATUS/failed-indexes"
    [ "$try" = 3 ] || sleep 10
  done
  log "going on with the indexes that were fetched"
}

# A package is installable when apt has a candidate version for it.
has_candidate() {
  local c
  c="$(apt-cache policy "$1" 2>/dev/null | sed -n 's/^ *Candidate: //p')"
  [ -n "$c" ] && [ "$c" != "(none)" ]
}

# The failing indexes that can explain a missing package of architecture $1.
index_note() {
  [ -s "$STATUS/failed-indexes" ] || return 0
  local hits
  hits="$(grep -E "binary-$1|Sources" "$STATUS/failed-indexes" | paste -sd ' ' - || true)"
  [ -n "$hits" ] && printf ' (index not fetched: %s)' "$hits"
  return 0
}

# Whether the kernel runs 32-bit x86 programs at all (some virtual machines are built
# without it): a 93-byte i386 program that only exits 0, made with python3.
kernel_runs_i386() {
  local probe rc=0
  probe="$(mktemp /tmp/velmora-i386.XXXXXX)"
  python3 - "$probe" <<'PY' || { rm -f "$probe"; return 1; }
import os, struct, sys
code = bytes.fromhex("b801000000" "31db" "cd80")  # mov eax, 1 (exit); xor ebx, ebx; int 0x80
size = 52 + 32 + len(code)
header = b"\x7fELF\x01\x01\x01" + b"\0" * 9 + struct.pack("<HHIIIIIHHHHHH", 2, 3, 1, 0x08048054, 52, 0, 0, 52, 32, 1, 0, 0, 0)
segment = struct.pack("<IIIIIIII", 1, 0, 0x08048000, 0x08048000, size, size, 5, 0x1000)
with open(sys.argv[1], "wb") as f:
    f.write(header + segment + code)
os.chmod(sys.argv[1], 0o755)
PY
  "$probe" 2>/dev/null || rc=$?
  rm -f "$probe"
  return "$rc"
}

# The 32-bit Wine runs: an installed wine32 the kernel cannot start would take over
# the "wine" command from wine64 and break every Windows program.
wine32_runs() { WINEDEBUG=-all /usr/lib/wine/wine --version >/dev/null 2>&1; }

# Takes wine32 away again, so that the "wine" command falls back to wine64.
remove_wine32() {
  log "removing wine32:i386: $1"
  apt-get remove -y -q wine32:i386 >"$LOGS/apt-wine32-remove.log" 2>&1 \
    || die "wine32:i386 cannot be removed (log: $LOGS/apt-wine32-remove.log)"
}

no_i386_reason="the kernel does not run 32-bit x86 programs (Exec format error)"

missing=()
for p in "${need_pkgs[@]}"; do installed "$p" || missing+=("$p"); done
want_wine32=0
if ! kernel_runs_i386; then
  if installed wine32:i386; then remove_wine32 "$no_i386_reason"; fi
  printf 'wine32 not usable: %s\n' "$no_i386_reason" >"$STATUS/wine32.missing"
  log "$(cat "$STATUS/wine32.missing"); the win32 programs cannot run here"
else
  installed wine32:i386 || want_wine32=1
fi

if [ ${#missing[@]} -gt 0 ] || [ "$want_wine32" = 1 ] || [ "$lists_changed" = 1 ] \
   || [ -z "$(ls /var/lib/apt/lists 2>/dev/null | grep -v -e lock -e partial)" ]; then
  refresh_lists
fi

if [ ${#missing[@]} -gt 0 ]; then
  for p in "${missing[@]}"; do
    has_candidate "$p" || die "package $p cannot be installed: apt has no candidate for it$(index_note amd64)"
  done
  log "installing: ${missing[*]}"
  if ! apt-get install -y -q --no-install-recommends "${missing[@]}" >"$LOGS/apt-install.log" 2>&1; then
    tail -n 20 "$LOGS/apt-install.log" >&2
    die "apt-get install of ${missing[*]} failed$(index_note amd64) (log: $LOGS/apt-install.log)"
  fi
fi

# The 32-bit Wine in a step of its own: its i386 libraries must match the amd64
# versions already installed, so a missing i386 index makes it uninstallable. That
# costs the 32-bit Wine only.
if [ "$want_wine32" = 1 ]; then
  log "installing wine32:i386"
  if apt-get install -y -q --no-install-recommends "${optional_pkgs[@]}" >"$LOGS/apt-wine32.log" 2>&1; then
    rm -f "$STATUS/wine32.missing"
    if ! wine32_runs; then
      remove_wine32 "it is installed but does not start"
      echo "wine32 installed but not starting (log: $LOGS/apt-wine32.log)" >"$STATUS/wine32.missing"
    fi
  else
    reason="$(grep -m1 -E '^ .*: Depends:|^E: ' "$LOGS/apt-wine32.log" | sed 's/^ *//' || true)"
    printf 'wine32 not installable (%s%s)\n' "${reason:-apt-get install failed}" "$(index_note i386)" \
      >"$STATUS/wine32.missing"
    log "$(cat "$STATUS/wine32.missing"); the win32 programs cannot run here (log: $LOGS/apt-wine32.log)"
  fi
elif installed wine32:i386; then
  rm -f "$STATUS/wine32.missing"
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  log "generating zh_CN.UTF-8"
  localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

# --- dependencies built for the targets -----------------------------------------------
mkdir -p "$DEPS/src"

# Runs a build step with its output in $1; on failure prints the log's tail and stops.
logged() {
  local logfile="$1"; shift
  if ! "$@" >>"$logfile" 2>&1; then
    printf '[setup] --- last lines of %s ---\n' "$logfile" >&2
    tail -n 40 "$logfile" >&2
    die "$* (full log: $logfile)"
  fi
}

# Build one CMake project from a Debian source package for one target architecture.
#   $1 source package, $2 arch (i686|x86_64), $3.. extra CMake arguments
build_dep() {
  local pkg="$1" arch="$2"; shift 2
  local prefix="$DEPS/$arch"
  local stamp="$prefix/.$pkg.done"
  [ -f "$stamp" ] && return 0
  local srcroot="$DEPS/src/$pkg" buildlog="$LOGS/$pkg-$arch.log"
  : >"$buildlog"
  if [ ! -d "$srcroot" ] || [ -z "$(ls -d "$srcroot"/*/ 2>/dev/null)" ]; then
    log "fetching the source of $pkg"
    rm -rf "$srcroot"; mkdir -p "$srcroot"
    (cd "$srcroot" && logged "$buildlog" apt-get source -q --download-only "$pkg" \
       && logged "$buildlog" dpkg-source --no-check -x ./*.dsc)
  fi
  local src; src="$(ls -d "$srcroot"/*/ | head -n1)"
  log "building $pkg for $arch (log: $buildlog)"
  local bdir="$DEPS/build/$pkg-$arch"
  rm -rf "$bdir"
  logged "$buildlog" cmake -S "$src" -B "$bdir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$HERE/cmake/toolchain-mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF "$@"
  logged "$buildlog" cmake --build "$bdir"
  logged "$buildlog" cmake --install "$bdir"
  rm -rf "$bdir"
  basename "$(ls "$srcroot"/*.dsc | head -n1)" .dsc >"$stamp"
}

for arch in i686 x86_64; do
  build_dep curl "$arch" -DHTTP_ONLY=ON -DCURL_USE_OPENSSL=OFF -DCURL_USE_SCHANNEL=OFF \
    -DCURL_ZLIB=OFF -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF -DCURL_USE_LIBSSH2=OFF \
    -DCURL_USE_LIBPSL=OFF -DUSE_LIBIDN2=OFF -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF \
    -DUSE_NGHTTP2=OFF -DENABLE_UNICODE=OFF -DCURL_DISABLE_LDAP=ON
  build_dep pugixml "$arch" -DPUGIXML_BUILD_TESTS=OFF
done

# --- what is installed, in one block ---------------------------------------------------
first_line() { "$@" 2>&1 | head -n1; }
source_of() { local s="$DEPS/$2/.$1.done"; [ -s "$s" ] && cat "$s" || echo "$1 (version not recorded)"; }
{
  echo "[setup] installed:"
  echo "[setup]   i686 compiler:   $(first_line i686-w64-mingw32-g++-posix --version)"
  echo "[setup]   x86_64 compiler: $(first_line x86_64-w64-mingw32-g++-posix --version)"
  echo "[setup]   wine:            $(WINEDEBUG=-all first_line wine --version) (wine64 $(dpkg-query -W -f='${Version}' wine64))"
  if installed wine32:i386; then
    echo "[setup]   wine32:          $(dpkg-query -W -f='${Version}' wine32:i386)"
  else
    echo "[setup]   wine32:          MISSING: $(cat "$STATUS/wine32.missing" 2>/dev/null)"
  fi
  echo "[setup]   nginx:           $(first_line nginx -v)"
  echo "[setup]   cmake:           $(first_line cmake --version)"
  echo "[setup]   host compiler:   $(first_line clang --version) (native preset, sanitizers, libFuzzer)"
  echo "[setup]   makensis:        $(first_line makensis -VERSION) (stubs x86-unicode, amd64-unicode)"
  echo "[setup]   libcurl source:  $(source_of curl i686) (i686), $(source_of curl x86_64) (x86_64)"
  echo "[setup]   pugixml source:  $(source_of pugixml i686) (i686), $(source_of pugixml x86_64) (x86_64)"
  echo "[setup]   dependencies in $DEPS, logs in $LOGS"
}
