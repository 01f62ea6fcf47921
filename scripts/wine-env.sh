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
  wineserver -p 2>/dev/null || true  # already running is fine
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
}

# xpboot_xvfb VAR: starts an Xvfb server of its own and puts its display name (":N") into VAR.
# Its process id is added to XPBOOT_XVFB_PIDS.
XPBOOT_XVFB_PIDS=${XPBOOT_XVFB_PIDS:-}
xpboot_xvfb() {
  local var=$1 n pid
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 50); do
      if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
        XPBOOT_XVFB_PIDS="$XPBOOT_XVFB_PIDS $pid"
        printf -v "$var" ':%s' "$n"
        export "${var?}"
        return 0
      fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill "$pid" 2>/dev/null || true
  done
  echo "cannot start Xvfb" >&2
  return 1
}

xpboot_stop_xvfb() {
  local pid
  for pid in $XPBOOT_XVFB_PIDS; do kill "$pid" 2>/dev/null || true; done
  XPBOOT_XVFB_PIDS=""
}

# xpboot_display: keeps the caller's X display, or starts Xvfb when there is none.
xpboot_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  xpboot_xvfb DISPLAY
}
