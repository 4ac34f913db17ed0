#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tools need, skipping those already
# installed. Safe to run any number of times.
set -euo pipefail

# The one list of build and test dependencies; append new ones here.
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev llvm
  libgtest-dev libgmock-dev libbenchmark-dev
  libegl-dev libgl-dev libegl1 libgl1-mesa-dri libegl-mesa0 libglvnd-dev
  pkg-config libpng-dev libgif-dev libglfw3-dev libimgui-dev libcli11-dev xvfb
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null || true)
  [[ $status == ii* ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
  echo "install-deps: all ${#packages[@]} packages are installed"
  exit 0
fi

if ((EUID == 0)); then
  as_root=()
elif command -v sudo >/dev/null; then
  as_root=(sudo)
else
  echo "install-deps: need root to install: ${missing[*]}" >&2
  exit 1
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q || {
  echo "install-deps: apt-get update failed" >&2
  exit 1
}
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" || {
  echo "install-deps: apt-get install failed for: ${missing[*]}" >&2
  exit 1
}
