#!/usr/bin/env bash
# sandbox-reset.sh PREFIX: clears what the program may have left at the root of the prefix's
# drive C: and writes the stand-in Windows 8 boot layout again.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
export WINEPREFIX=$1
wine build/x64/standin_layout.exe --reset </dev/null
touch "$WINEPREFIX/drive_c/.xpboot-standin"
