#!/usr/bin/env bash
# Configures and builds both programs: x86_64 (tested under Wine) and i686 (32-bit Windows 8).
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in x64 x86; do
  if [ ! -f "build/$preset/build.ninja" ]; then
    cmake --preset "$preset" >/dev/null
  fi
  cmake --build --preset "$preset"
done
