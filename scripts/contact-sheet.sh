#!/usr/bin/env bash
# Regenerates docs/contact-sheet.png: the pattern at a few parameter settings, each tile drawn by
# vantorel-render (both speeds 0, so the picture does not depend on timing) and laid out in a
# grid. Needs a built renderer (VANTOREL_BUILD_DIR, default build/release) and python3.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

build_dir=${VANTOREL_BUILD_DIR:-build/release}
render="$build_dir/tools/render/vantorel-render"
sheet=docs/contact-sheet.png
width=256
height=160
columns=3

[[ -x $render ]] || { echo "contact-sheet: no renderer at $render; build first" >&2; exit 1; }
command -v python3 >/dev/null || { echo "contact-sheet: python3 is needed" >&2; exit 1; }

# One tile per line: the --set values, separated by ';'. Keep in step with the README's table.
tiles=(
  ""
  "Size=0.6"
  "Lines Softness=0.25;Circles Softness=0.25"
  "Vortex Frequence=0.75"
  "Linear Scale=1;Size=0.45"
  "Even Circles Off=0;Odd Circles Offs=0.25"
)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for i in "${!tiles[@]}"; do
  args=(--quiet --size "${width}x${height}" --set Speed=0 --set "Vortex Speed=0")
  IFS=';' read -r -a sets <<<"${tiles[$i]}"
  for set in "${sets[@]}"; do args+=(--set "$set"); done
  "$render" "${args[@]}" -o - --format raw >"$work/$i.raw" ||
    { echo "contact-sheet: rendering tile $i (${tiles[$i]}) failed" >&2; exit 1; }
done

python3 - "$work" "${#tiles[@]}" "$width" "$height" "$columns" "$sheet.part" <<'PY' ||
import struct, sys, zlib
work, count, w, h, columns, out = sys.argv[1], *map(int, sys.argv[2:6]), sys.argv[6]
gap = 4
rows = (count + columns - 1) // columns
sw, sh = columns * w + (columns + 1) * gap, rows * h + (rows + 1) * gap
sheet = [bytearray(b"\x30\x30\x30\xff" * sw) for _ in range(sh)]
for i in range(count):
    tile = open(f"{work}/{i}.raw", "rb").read()
    if len(tile) != w * h * 4:
        sys.exit(f"contact-sheet: tile {i} has {len(tile)} bytes, not {w * h * 4}")
    x0, y0 = gap + (i % columns) * (w + gap), gap + (i // columns) * (h + gap)
    for y in range(h):
        sheet[y0 + y][x0 * 4:(x0 + w) * 4] = tile[y * w * 4:(y + 1) * w * 4]
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
raw = b"".join(b"\x00" + bytes(row) for row in sheet)
with open(out, "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", sw, sh, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
PY
  { rm -f "$sheet.part"; echo "contact-sheet: assembling the sheet failed" >&2; exit 1; }
mv "$sheet.part" "$sheet"
echo "contact-sheet: wrote $(realpath "$sheet")"
