#!/usr/bin/env bash
# One-time machine set-up for building and testing Velmora on Debian 12, as root.
# Idempotent: every step checks whether its result is already there.
#   - MinGW-w64 (-posix thread model) cross compilers, CMake, Ninja
#   - Wine with wine32 (i386), Xvfb, nginx-light, imagemagick, Chinese fonts and locale
#   - googletest sources (compiled for the target by the build itself)
#   - libcurl and pugixml built for the targets into $VELMORA_DEPS (outside the tree)
set -euo pipefail

DEPS="${VELMORA_DEPS:-/opt/velmora-deps}"
HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export DEBIAN_FRONTEND=noninteractive

log() { printf '[setup] %s\n' "$*"; }

need_pkgs=(
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 mingw-w64-tools
  libz-mingw-w64-dev
  cmake ninja-build make pkg-config dpkg-dev
  wine wine32:i386 wine64 xvfb xauth x11-utils
  nginx-light imagemagick fonts-wqy-microhei locales
  googletest python3 curl
)

missing=()
for p in "${need_pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  log "adding the i386 architecture"
  dpkg --add-architecture i386
  missing+=(wine32:i386)
fi

# deb-src lines are needed for `apt-get source` of curl and pugixml.
src_list=/etc/apt/sources.list.d/debian.sources
if [ -f "$src_list" ] && ! grep -q '^Types:.*deb-src' "$src_list"; then
  log "enabling deb-src in $src_list"
  sed -i 's/^Types: deb$/Types: deb deb-src/' "$src_list"
  missing+=(refresh-lists)
fi

if [ ${#missing[@]} -gt 0 ] || [ ! -d /var/lib/apt/lists ] || [ -z "$(ls /var/lib/apt/lists 2>/dev/null | grep -v lock)" ]; then
  log "installing: ${missing[*]:-}"
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${need_pkgs[@]}"
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  log "generating zh_CN.UTF-8"
  localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

mkdir -p "$DEPS/src"

# Build one CMake project from a Debian source package for one target architecture.
#   $1 source package, $2 arch (i686|x86_64), $3.. extra CMake arguments
build_dep() {
  local pkg="$1" arch="$2"; shift 2
  local prefix="$DEPS/$arch"
  local stamp="$prefix/.$pkg.done"
  [ -f "$stamp" ] && return 0
  local srcroot="$DEPS/src/$pkg"
  if [ ! -d "$srcroot" ] || [ -z "$(ls -d "$srcroot"/*/ 2>/dev/null)" ]; then
    log "fetching the source of $pkg"
    rm -rf "$srcroot"; mkdir -p "$srcroot"
    (cd "$srcroot" && apt-get source -q --download-only "$pkg" >/dev/null \
       && dpkg-source --no-check -x ./*.dsc >/dev/null)
  fi
  local src; src="$(ls -d "$srcroot"/*/ | head -n1)"
  log "building $pkg for $arch"
  local bdir="$DEPS/build/$pkg-$arch"
  rm -rf "$bdir"
  cmake -S "$src" -B "$bdir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$HERE/cmake/toolchain-mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF "$@" >/dev/null
  cmake --build "$bdir" >/dev/null
  cmake --install "$bdir" >/dev/null
  rm -rf "$bdir"
  touch "$stamp"
}

for arch in i686 x86_64; do
  build_dep curl "$arch" -DHTTP_ONLY=ON -DCURL_USE_OPENSSL=OFF -DCURL_USE_SCHANNEL=OFF \
    -DCURL_ZLIB=OFF -DBUILD_CURL_EXE=OFF -DBUILD_TESTING=OFF -DCURL_USE_LIBSSH2=OFF \
    -DCURL_USE_LIBPSL=OFF -DUSE_LIBIDN2=OFF -DCURL_BROTLI=OFF -DCURL_ZSTD=OFF \
    -DUSE_NGHTTP2=OFF -DENABLE_UNICODE=OFF -DCURL_DISABLE_LDAP=ON
  build_dep pugixml "$arch" -DPUGIXML_BUILD_TESTS=OFF
done

log "done (dependencies in $DEPS)"
