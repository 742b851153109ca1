# Sourced: starts and stops a private Wine prefix plus a private Xvfb display.
# The prefix runs every program inside a virtual desktop, 1024x768 unless LURVANE_WINE_DESKTOP
# names another size: without a window manager Wine otherwise waits up to 2 s whenever a
# top-level window is hidden or destroyed.

wine_session_start() {
  export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
  LURVANE_WINE_TMP=$(mktemp -d /tmp/lurvane-wine.XXXXXX)
  export WINEPREFIX="$LURVANE_WINE_TMP/prefix"
  local desktop=${LURVANE_WINE_DESKTOP:-1024x768}
  local display
  for display in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] && continue
    Xvfb ":$display" -screen 0 "${desktop}x24" -nolisten tcp >"$LURVANE_WINE_TMP/xvfb.log" 2>&1 &
    LURVANE_XVFB_PID=$!
    local tries
    for tries in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$display" ] && break
      sleep 0.1
    done
    if kill -0 "$LURVANE_XVFB_PID" 2>/dev/null; then
      export DISPLAY=":$display"
      break
    fi
  done
  if [ -z "${DISPLAY:-}" ] || ! kill -0 "${LURVANE_XVFB_PID:-0}" 2>/dev/null; then
    echo "wine-session: no Xvfb display could be started" >&2
    return 1
  fi
  /usr/lib/wine/wine64 wineboot -i >"$LURVANE_WINE_TMP/wineboot.log" 2>&1
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d "$desktop" /f >/dev/null 2>&1
  /usr/lib/wine/wineserver -w
  # Keep the virtual desktop open for the whole session (see keep_desktop.cpp); without the
  # keeper, start at least the desktop itself.
  local keeper
  keeper="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/build/win64/keep_desktop.exe"
  if [ -f "$keeper" ]; then
    /usr/lib/wine/wine64 "$keeper" </dev/null >/dev/null 2>&1 &
  else
    /usr/lib/wine/wine64 explorer.exe "/desktop=Default,$desktop" </dev/null >/dev/null 2>&1 &
  fi
  # A fresh machine's first desktop can take a while; tests started before it fail at their
  # first window.
  local waited desktop_up=
  for waited in $(seq 300); do
    if xwininfo -root -children 2>/dev/null | grep -q 'Wine desktop'; then desktop_up=1; break; fi
    sleep 0.1
  done
  [ -n "$desktop_up" ] || echo "wine-session: the Wine desktop did not appear within 30 s" >&2
  export LURVANE_WINE_SESSION=1 LURVANE_XVFB_PID LURVANE_WINE_TMP
}

# Stores one saver setting as REG_SZ text in the session's prefix: wine_store_setting NAME TEXT
wine_store_setting() {
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Brannick\Lurvane\Settings' /v "$1" /t REG_SZ /d "$2" /f >/dev/null 2>&1
}

wine_session_stop() {
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -w >/dev/null 2>&1 || true
  if [ -n "${LURVANE_XVFB_PID:-}" ]; then
    kill "$LURVANE_XVFB_PID" 2>/dev/null || true
    wait "$LURVANE_XVFB_PID" 2>/dev/null || true
  fi
  if [ -n "${LURVANE_WINE_TMP:-}" ]; then rm -rf "$LURVANE_WINE_TMP"; fi
  unset LURVANE_WINE_SESSION
  return 0
}
