#!/usr/bin/env bash
# Builds trelmo and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
# The DXF interoperability test reads the drawings with Debian's python3-ezdxf.
if ! /usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1; then
  sudo=""
  if [ "$(id -u)" != 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq >/dev/null
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq python3-ezdxf >/dev/null
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)"
ctest --test-dir build -j"$(nproc)" --output-on-failure
