#!/usr/bin/env bash
# sandbox-reset.sh PREFIX: clears what the program may have left at the root of the prefix's
# drive C: and writes the stand-in Windows 8 boot layout again.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
export WINEPREFIX=$1
drive_c="$WINEPREFIX/drive_c"
for name in Boot 'Boot备份(澜禾Win8引导xp工具)' bootmgr bootmgr2 BOOT.INI bootfont.bin \
            BOOTSECT.BAK ntldr MSDOS.SYS IO.SYS NTDETECT.COM; do
  rm -rf "${drive_c:?}/$name"
done
wine build/x64/standin_layout.exe 'C:' </dev/null
touch "$drive_c/.xpboot-standin"
