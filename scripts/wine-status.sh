# Sourced by the test, demo and benchmark scripts: tells whether the 32-bit Wine is
# there and starts. Sets WINE32_OK=1 when it is; otherwise WINE32_MISSING holds why (written by
# scripts/setup.sh when wine32:i386 could not be installed).
WINE32_OK=0
WINE32_MISSING=""
if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' \
   && WINEDEBUG=-all /usr/lib/wine/wine --version >/dev/null 2>&1; then
  WINE32_OK=1
else
  WINE32_MISSING="$(cat "${VELMORA_DEPS:-/opt/velmora-deps}/status/wine32.missing" 2>/dev/null \
                    || echo 'wine32 not installed')"
fi

# The build whose programs this machine can run: win32 where the 32-bit Wine is,
# win64 otherwise, with the matching cross compiler for small helper programs.
if [ "$WINE32_OK" = 1 ]; then
  RUNNABLE_PRESET=win32
  RUNNABLE_CXX=i686-w64-mingw32-g++-posix
else
  RUNNABLE_PRESET=win64
  RUNNABLE_CXX=x86_64-w64-mingw32-g++-posix
fi
# Prints the notice scripts give when they fall back to the 64-bit programs.
note_runnable_preset() {
  [ "$WINE32_OK" = 1 ] || printf '%s: running the win64 programs: %s\n' "$1" "$WINE32_MISSING"
}
