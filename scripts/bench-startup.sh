#!/usr/bin/env bash
# Start-up benchmark: xpboot.exe against a minimal Win32 window, both under Wine in a prefix of
# their own (build/wine/bench), in one run with several alternating starts.
#   scripts/bench-startup.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
[ -f build/x64/build.ninja ] || cmake --preset x64 >/dev/null
cmake --build --preset x64 --target xpboot minimal_window startup_bench >/dev/null
source scripts/wine-env.sh
trap 'wineserver -k 2>/dev/null || true; xpboot_stop_xvfb' EXIT
xpboot_xvfb DISPLAY
xpboot_prefix bench xpboot
xpboot_warm_prefix
app="$WINEPREFIX/drive_c/bench"
mkdir -p "$app"
cp build/x64/xpboot.exe build/x64/minimal_window.exe "$app/"
wine build/x64/startup_bench.exe 'C:\bench\xpboot.exe' 'C:\bench\minimal_window.exe' "${1:-15}"
