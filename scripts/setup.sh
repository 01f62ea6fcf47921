#!/usr/bin/env bash
# Installs everything the build and the tests need, from Debian's archive only.
# Safe to run again: every step checks first whether its work is already done.
set -euo pipefail
cd "$(dirname "$0")/.."

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi

PACKAGES=(
  cmake ninja-build make python3 zip unzip dpkg-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64 binutils-mingw-w64
  libz-mingw-w64-dev googletest
  wine wine64 xvfb xdotool imagemagick x11-utils fonts-wqy-microhei locales
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# minizip is not packaged for Windows: its sources come from Debian's source package.
SRC_LIST=/etc/apt/sources.list.d/xpboot-src.sources
need_src=0
if [ ! -f "$SRC_LIST" ] && ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  need_src=1
fi

if [ ${#missing[@]} -gt 0 ] || [ $need_src = 1 ]; then
  if [ $need_src = 1 ]; then
    # Same archive and suites as the binary entries of this machine.
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed -e 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $SUDO tee "$SRC_LIST" >/dev/null
    else
      grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | $SUDO tee /etc/apt/sources.list.d/xpboot-src.list >/dev/null
    fi
  fi
  echo "setup: installing ${missing[*]:-source index}" >&2
  $SUDO apt-get update -qq
  if [ ${#missing[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
fi

# GetACP() under Wine follows LANG; without a generated zh_CN.UTF-8 it is 1252, not 936 (GBK).
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  $SUDO sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi

# minizip sources, unpacked under build/ and never committed.
MZ_DIR=build/deps/minizip
if [ ! -f "$MZ_DIR/.complete" ]; then
  rm -rf "$MZ_DIR"; mkdir -p "$MZ_DIR"
  ( cd "$MZ_DIR" && apt-get source -qq minizip >/dev/null 2>&1 ) || {
    $SUDO apt-get update -qq
    ( cd "$MZ_DIR" && apt-get source -qq minizip >/dev/null )
  }
  src=$(find "$MZ_DIR" -maxdepth 1 -mindepth 1 -type d -name 'minizip-*' | head -n1)
  [ -n "$src" ] && [ -f "$src/unzip.c" ] || { echo "setup: minizip sources not found" >&2; exit 1; }
  ln -sfn "$(basename "$src")" "$MZ_DIR/src"
  touch "$MZ_DIR/.complete"
fi
