#!/usr/bin/env bash
# Installs what is missing, then configures with the release preset, builds everything and runs
# every test. VANTOREL_BUILD_DIR and VANTOREL_JOBS override the build folder and parallelism.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

build_dir=${VANTOREL_BUILD_DIR:-build/release}
jobs=${VANTOREL_JOBS:-$(nproc)}

scripts/install-deps.sh
cmake --preset release -B "$build_dir" || { echo "test: configure failed" >&2; exit 1; }
cmake --build "$build_dir" -j "$jobs" || { echo "test: build failed" >&2; exit 1; }
# ctest's summary is the last thing printed.
ctest --test-dir "$build_dir" --output-on-failure
