#!/usr/bin/env bash
# Builds and tests the other platforms: the Windows DLLs (MinGW-w64, 64 and 32 bit; their tests
# run under Wine, the render test under Xvfb) and the 32-bit Linux build (-m32). Installs the
# toolchains first, skipping what is installed. Build folders: build/<preset>.
#
# Usage: scripts/test-platforms.sh [--install-only | --no-install] [preset ...]
#   presets: mingw64 mingw32 linux32 (the default: all three)
# Exit status: 0 all passed; 1 a build or test failed; 3 the toolchains could not be installed.
# VANTOREL_JOBS sets the build parallelism (default 2).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

jobs=${VANTOREL_JOBS:-2}
mode=all
presets=()
for arg in "$@"; do
  case $arg in
    --install-only) mode=install ;;
    --no-install) mode=tests ;;
    mingw64 | mingw32 | linux32) presets+=("$arg") ;;
    *)
      echo "test-platforms: unknown argument '$arg'" >&2
      exit 2
      ;;
  esac
done
((${#presets[@]} > 0)) || presets=(mingw64 mingw32 linux32)

# True when this kernel starts 32-bit x86 programs (some kernels are built without it).
runs_i386() { [[ -x /lib/ld-linux.so.2 ]] && /lib/ld-linux.so.2 --version >/dev/null 2>&1; }

missing_of() {
  local package status
  for package in "$@"; do
    status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null || true)
    [[ $status == ii* ]] || echo "$package"
  done
}

install_toolchains() {
  local as_root=()
  if ((EUID != 0)); then
    command -v sudo >/dev/null || { echo "test-platforms: need root to install" >&2; return 1; }
    as_root=(sudo)
  fi
  export DEBIAN_FRONTEND=noninteractive
  local apt=("${as_root[@]}" apt-get -q -y -o Dpkg::Use-Pty=0)

  # The 32-bit OpenGL libraries the -m32 module links come from the i386 architecture.
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "test-platforms: adding the i386 architecture"
    "${as_root[@]}" dpkg --add-architecture i386 || return 1
    "${apt[@]}" update || return 1
  fi
  local packages=(cmake ninja-build googletest g++-mingw-w64-i686 g++-mingw-w64-x86-64
    binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 wine64 xvfb xauth gcc-multilib
    g++-multilib libgl-dev:i386 libopengl-dev:i386)
  local missing
  mapfile -t missing < <(missing_of "${packages[@]}")
  if ((${#missing[@]} > 0)); then
    echo "test-platforms: installing ${missing[*]}"
    # A stale package list is refreshed once before giving up.
    if ! "${apt[@]}" install --no-install-recommends "${missing[@]}"; then
      "${apt[@]}" update || return 1
      "${apt[@]}" install --no-install-recommends "${missing[@]}" || return 1
    fi
  fi
  # 32-bit Wine where the kernel can start it; elsewhere qemu runs the -m32 tests, and the
  # 32-bit Windows programs are reported as not run.
  if runs_i386; then
    mapfile -t missing < <(missing_of wine32:i386)
  else
    mapfile -t missing < <(missing_of qemu-user)
  fi
  if ((${#missing[@]} > 0)); then
    echo "test-platforms: installing ${missing[*]}"
    "${apt[@]}" install "${missing[@]}" || return 1
  fi
}

if [[ $mode != tests ]]; then
  started=$SECONDS
  install_toolchains || { echo "test-platforms: installing the toolchains failed" >&2; exit 3; }
  echo "test-platforms: toolchains ready in $((SECONDS - started)) s"
fi
[[ $mode == install ]] && exit 0

if ! runs_i386; then
  echo "test-platforms: NOTE this kernel cannot start 32-bit x86 programs: the linux32 tests" \
    "run under qemu-i386, and the mingw32 Wine tests (32-bit Wine) are reported as skipped;" \
    "the mingw32 DLL's tables and stdcall return are still checked" >&2
fi

failed=()
summary=()
for preset in "${presets[@]}"; do
  started=$SECONDS
  log=build/$preset/ctest.log
  if ! cmake --preset "$preset" >/dev/null; then
    echo "test-platforms: $preset: configure failed" >&2
    failed+=("$preset")
    continue
  fi
  if ! cmake --build --preset "$preset" -j "$jobs"; then
    echo "test-platforms: $preset: build failed" >&2
    failed+=("$preset")
    continue
  fi
  built=$((SECONDS - started))
  status=0
  ctest --preset "$preset" -j "$jobs" 2>&1 | tee "$log" || status=$?
  ((status == 0)) || failed+=("$preset")
  counts=$(grep -E '^[0-9]+% tests passed' "$log" || echo "no test summary")
  skipped=$(grep -c -E '\(Skipped\)$' "$log" || true)
  line="$preset: built in ${built} s, tested in $((SECONDS - started - built)) s; $counts"
  ((skipped == 0)) || line+="; $skipped SKIPPED (see $log)"
  summary+=("$line")
done

echo
for line in "${summary[@]}"; do echo "test-platforms: $line"; done
if ((${#failed[@]} > 0)); then
  echo "test-platforms: FAILED: ${failed[*]}" >&2
  exit 1
fi
echo "test-platforms: all passed in ${SECONDS} s"
