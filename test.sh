#!/usr/bin/env bash
# Builds trelmo and vmztool and runs every test.
set -euo pipefail
cd "$(dirname "$0")"

# The interoperability tests read and write files with independent programs from Debian's
# packages: python3-ezdxf (DXF drawings), python3-meshio and gmsh (VTK and Gmsh files) and
# librsvg2-bin (SVG pictures), calculix-ccx (solving the exported Abaqus files), python3-vtk9
# (VTK's mesh-quality measures), python3-pexpect (sessions typed at a terminal); libedit-dev
# gives trelmo line editing at a terminal. Debian's Python packages install for /usr/bin/python3.
missing=()
/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1 || missing+=(python3-ezdxf)
/usr/bin/python3 -c 'import meshio' >/dev/null 2>&1 || missing+=(python3-meshio)
command -v gmsh >/dev/null 2>&1 || missing+=(gmsh)
command -v rsvg-convert >/dev/null 2>&1 || missing+=(librsvg2-bin)
command -v ccx >/dev/null 2>&1 || missing+=(calculix-ccx)
/usr/bin/python3 -c 'import vtk' >/dev/null 2>&1 || missing+=(python3-vtk9)
/usr/bin/python3 -c 'import pexpect' >/dev/null 2>&1 || missing+=(python3-pexpect)
pkg-config --exists libedit 2>/dev/null || missing+=(libedit-dev pkg-config)
# The install test: the manual pages' lint, the Debian package's dependencies, man.
for tool in mandoc:mandoc dpkg-shlibdeps:dpkg-dev man:man-db; do
  command -v "${tool%%:*}" >/dev/null 2>&1 || missing+=("${tool##*:}")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  echo "Installing ${missing[*]} for the interoperability tests"
  $sudo apt-get update -qq >/dev/null
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
ctest --test-dir build -j"$(nproc)" --output-on-failure
