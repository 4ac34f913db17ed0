#!/usr/bin/env bash
# Soak run on a headless Mesa context (release build): 100,000 frames on one instance and 1,000
# instance lives at 64 x 64 with inputs whose sizes change. Prints resident memory and live
# OpenGL objects at the start and end of each phase and fails when either grew.
# Not part of the test run. VANTOREL_BUILD_DIR sets the build folder (default build/soak);
# arguments go to the program (--frames N, --cycles N, --size N).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

build_dir=${VANTOREL_BUILD_DIR:-build/soak}
jobs=${VANTOREL_JOBS:-2}

cmake --preset release -B "$build_dir" -DVANTOREL_BENCH=OFF -DVANTOREL_TOOLS=OFF ||
  { echo "soak: configure failed" >&2; exit 1; }
cmake --build "$build_dir" -j "$jobs" --target vantorel_soak || { echo "soak: build failed" >&2; exit 1; }
"$build_dir/tests/soak/vantorel_soak" "$@"
