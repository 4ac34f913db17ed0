#!/usr/bin/env bash
# Builds the fuzz targets (the fuzz preset: clang, libFuzzer, ASan, UBSan) and runs each for the
# given number of seconds (default 60), starting from the committed seed corpus. New inputs go to
# build/fuzz/corpus/<target>, crashes to build/fuzz/artifacts/. Any crash, sanitizer report, leak
# or failed check stops the run with a non-zero status.
# Usage: scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

seconds=${1:-60}
jobs=${VANTOREL_JOBS:-2}
if ! [[ $seconds =~ ^[0-9]+$ ]] || ((seconds < 1)); then
  echo "fuzz: seconds must be a positive whole number, got '$seconds'" >&2
  exit 2
fi

cmake --preset fuzz || { echo "fuzz: configure failed" >&2; exit 1; }
cmake --build --preset fuzz -j "$jobs" --target plugmain_fuzzer frame_fuzzer ||
  { echo "fuzz: build failed" >&2; exit 1; }

. tests/sanitizers/env.sh
artifacts=build/fuzz/artifacts
mkdir -p "$artifacts"
status=0
for target in plugmain frame; do
  work=build/fuzz/corpus/$target
  mkdir -p "$work"
  echo "fuzz: $target for $seconds s"
  # VANTOREL_FUZZ_SEED fixes the mutation sequence (CI sets it, so a run can be repeated);
  # 0, the default, lets libFuzzer choose.
  if ! "build/fuzz/fuzz/${target}_fuzzer" -max_total_time="$seconds" -max_len=1024 -timeout=30 \
      -seed="${VANTOREL_FUZZ_SEED:-0}" \
      -rss_limit_mb=4096 -print_final_stats=1 -artifact_prefix="$artifacts/$target-" \
      "$work" "fuzz/corpus/$target" > "build/fuzz/$target.log" 2>&1; then
    tail -n 60 "build/fuzz/$target.log" >&2
    echo "fuzz: $target failed; inputs in $artifacts, log in build/fuzz/$target.log" >&2
    status=1
  else
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "build/fuzz/$target.log" |
      sed "s/^/fuzz: $target /"
  fi
done
exit $status
