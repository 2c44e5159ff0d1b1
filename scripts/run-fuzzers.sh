#!/usr/bin/env bash
# Runs each fuzz target of the native build for a bounded time, starting from its seed
# corpus in tests/fuzz/<name>/corpus/ (read only). New inputs go to a working corpus in
# build/native/fuzz-work/<name>/, findings to build/native/fuzz-findings/<name>/.
# Exits non-zero when any target finds a fault; the finding's input file is named
# in the output. Run after `cmake --build --preset native`.
#   scripts/run-fuzzers.sh [seconds per target, default 30] [target names...]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build/native"
seconds="${1:-30}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(manifest zip_archive attributes scrambled_content safe_name)
fi

status=0
for name in "${targets[@]}"; do
  binary="$BUILD/fuzz/${name}_fuzz"
  seeds="$ROOT/tests/fuzz/$name/corpus"
  work="$BUILD/fuzz-work/$name"
  findings="$BUILD/fuzz-findings/$name"
  log="$BUILD/fuzz-logs/$name.log"
  if [ ! -x "$binary" ]; then
    echo "fuzz $name: $binary is missing (build the native preset with clang)"
    status=1
    continue
  fi
  mkdir -p "$work" "$findings" "$(dirname "$log")"
  # -timeout: one input taking longer than 10 s is a finding (a hang);
  # -rss_limit_mb: so is one that needs more than 2 GiB.
  if "$binary" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$findings/" "$work" "$seeds" >"$log" 2>&1; then
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)"
    echo "fuzz $name: no finding in ${seconds} s (${runs:-?} inputs, $(ls "$work" | wc -l) in the working corpus)"
  else
    echo "fuzz $name: FINDING (log: $log)"
    grep -E 'ERROR|check failed|SUMMARY|Test unit written' "$log" | head -n 20 | sed 's/^/    /'
    status=1
  fi
done
exit $status
