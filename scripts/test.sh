#!/usr/bin/env bash
# The test command: sets up the machine if needed, builds both presets and runs the
# win32 tests under Wine and Xvfb. Exits non-zero when anything fails.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"

if [ "$(id -u)" = 0 ]; then
  bash scripts/setup.sh
else
  sudo bash scripts/setup.sh
fi

cmake --preset win32 >/dev/null
cmake --build --preset win32
# The 64-bit build must compile too; its tests are not run.
cmake --preset win64 >/dev/null
cmake --build --preset win64

xvfb-run -a -s "-screen 0 1280x1024x24" scripts/run-tests-in-wine.sh "$@"
