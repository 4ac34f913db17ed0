#!/usr/bin/env bash
# Builds the library, the tools and every test with AddressSanitizer, UndefinedBehaviorSanitizer
# and LeakSanitizer (the sanitize preset, clang) and runs every test; any report fails its test.
# VANTOREL_JOBS sets the parallelism (default 2).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

jobs=${VANTOREL_JOBS:-2}

cmake --preset sanitize || { echo "test-sanitize: configure failed" >&2; exit 1; }
cmake --build --preset sanitize -j "$jobs" || { echo "test-sanitize: build failed" >&2; exit 1; }

. tests/sanitizers/env.sh
ctest --preset sanitize -j "$jobs" || { echo "test-sanitize: tests failed" >&2; exit 1; }
