#!/usr/bin/env bash
# Redraws quarter-circle.svg and quarter-circle.png: the quarter circle of csm, refined 4 x 4
# into 8-node quadrilaterals by gen, coincident points joined by ren, and the points on the
# x axis marked as special nodes by snd. Run from anywhere after building into ../build.
set -euo pipefail
doc="$(cd "$(dirname "$0")" && pwd)"
build="${TRELMO_BUILD:-$doc/../build}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
printf '%s\n' csm 5 2 gen 2 8 4 4 ren '' '' '' '' '' '' '' snd 2 '' c 0 0 0 2 0 0 0 \
  wri quarter end | "$build/trelmo" > /dev/null 2> /dev/null
"$build/vmztool" svg quarter -o "$doc/quarter-circle.svg"
rsvg-convert -w 720 "$doc/quarter-circle.svg" -o "$doc/quarter-circle.png"
