#!/usr/bin/env bash
# Builds trelmo and runs every test.
set -euo pipefail
cd "$(dirname "$0")"

# vmztool's interoperability test reads and writes files with Gmsh, meshio and rsvg-convert;
# install whichever is missing (it is skipped when they cannot be installed).
vmztool_packages=()
command -v gmsh >/dev/null 2>&1 || vmztool_packages+=(gmsh)
/usr/bin/python3 -c 'import meshio' >/dev/null 2>&1 || vmztool_packages+=(python3-meshio)
command -v rsvg-convert >/dev/null 2>&1 || vmztool_packages+=(librsvg2-bin)
if [ ${#vmztool_packages[@]} -gt 0 ]; then
  vmztool_sudo=""
  [ "$(id -u)" -eq 0 ] || vmztool_sudo=sudo
  echo "Installing ${vmztool_packages[*]} for the vmztool tests"
  { $vmztool_sudo apt-get update -qq &&
    $vmztool_sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      "${vmztool_packages[@]}"; } >/dev/null 2>&1 ||
    echo "Could not install ${vmztool_packages[*]}: the vmztool interoperability test is skipped"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
ctest --test-dir build -j"$(nproc)" --output-on-failure
