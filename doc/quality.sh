#!/usr/bin/env bash
# Redraws quality.svg and quality.png and prints the check report shown in the README: a plate
# of 12 x 8 four-node quadrilaterals bent by two waves, with one point pushed across its
# neighbours so that the elements around it fold. Run from anywhere after building into
# ../build.
set -euo pipefail
doc="$(cd "$(dirname "$0")" && pwd)"
build="${TRELMO_BUILD:-$doc/../build}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
awk 'BEGIN {
  nx = 12; ny = 8; pi = atan2(0, -1)
  print "Plate bent by two waves"; print "Plate"; print nx * ny, (nx + 1) * (ny + 1), 0
  for (j = 0; j < ny; j++) for (i = 0; i < nx; i++) {
    p = j * (nx + 1) + i + 1
    print j * nx + i + 1, 5, p, p + 1, p + nx + 2, p + nx + 1, p
  }
  for (j = 0; j <= ny; j++) for (i = 0; i <= nx; i++) {
    x = i + 0.9 * sin(pi * j / 4) * sin(pi * i / nx)
    y = j + 0.6 * sin(pi * i / 3) * (1 - j / ny)
    if (i == 8 && j == 4) { x += 1.2; y += 0.9 }
    printf "%d %.8f %.8f %.8f\n", j * (nx + 1) + i + 1, x, y, 0
  }
}' > plate.vmz
"$build/vmztool" svg plate --quality -o "$doc/quality.svg" > /dev/null
rsvg-convert -w 640 "$doc/quality.svg" -o "$doc/quality.png"
"$build/vmztool" check plate --worst 5 || true
