#!/usr/bin/env bash
# Builds the release preset and renders a short clip and a still of the pattern with the
# renderer's built-in default plugin, headless (EGL; Mesa's software renderer without a GPU).
# VANTOREL_DEMO_DIR overrides where the results go (default build/demo).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

out_dir=${VANTOREL_DEMO_DIR:-build/demo}
render=build/release/tools/render/vantorel-render

scripts/install-deps.sh
cmake --preset release || { echo "demo: configure failed" >&2; exit 1; }
cmake --build --preset release || { echo "demo: build failed" >&2; exit 1; }
mkdir -p "$out_dir" || { echo "demo: cannot make $out_dir" >&2; exit 1; }

# The pattern runs on its own clock, so the clip takes as long to render as it lasts.
"$render" --size 480x270 --duration 4 --fps 25 --set "Vortex Speed=0.05" \
  --set "Vortex Frequence=0.6" --set "Lines Softness=0.1" -o "$out_dir/vantorel.gif" ||
  { echo "demo: rendering the clip failed" >&2; exit 1; }
"$render" --quiet --size 1280x720 -o "$out_dir/vantorel.png" ||
  { echo "demo: rendering the still failed" >&2; exit 1; }

echo "demo: clip  $(realpath "$out_dir/vantorel.gif")"
echo "demo: still $(realpath "$out_dir/vantorel.png")"
