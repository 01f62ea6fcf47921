# Wine environment of the project: sourced by ./run, ./test and the other scripts.
# Every prefix lives under build/wine; the user's own ~/.wine is never used.

XPBOOT_ROOT=${XPBOOT_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
XPBOOT_WINE_DIR="$XPBOOT_ROOT/build/wine"

# GetACP() follows the locale: zh_CN.UTF-8 gives 936 (GBK), the code page of the program's texts.
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

# xpboot_prefix NAME [DESKTOP]: makes build/wine/NAME ready and exports WINEPREFIX.
# With DESKTOP, every program of the prefix shares one virtual desktop of 1024x768, where
# Wine draws frames and title bars as Windows does.
xpboot_prefix() {
  local name=$1 desktop=${2:-}
  export WINEPREFIX="$XPBOOT_WINE_DIR/$name"
  if [ ! -f "$WINEPREFIX/.xpboot-ready" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 </dev/null
    wineserver -w
    if [ -n "$desktop" ]; then
      wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d "$desktop" /f >/dev/null 2>&1 </dev/null
      wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v "$desktop" /d 1024x768 /f >/dev/null 2>&1 </dev/null
    fi
    wineserver -w
    touch "$WINEPREFIX/.xpboot-ready"
  fi
}

# Starts a persistent wine server for the current prefix and one throw-away program with its
# streams closed, so that Wine's background processes do not hold a caller's pipes open.
xpboot_warm_prefix() {
  wineserver -p
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# xpboot_display: uses the caller's X display, or starts Xvfb when there is none
# (or when XPBOOT_HEADLESS=1). Sets XPBOOT_XVFB_PID when it started one.
xpboot_display() {
  XPBOOT_XVFB_PID=""
  if [ -n "${DISPLAY:-}" ] && [ "${XPBOOT_HEADLESS:-0}" != 1 ] && xdpyinfo >/dev/null 2>&1; then
    return 0
  fi
  local n
  for n in $(seq 90 120); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XPBOOT_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    kill "$XPBOOT_XVFB_PID" 2>/dev/null || true
  done
  echo "cannot start Xvfb" >&2
  return 1
}
