#!/usr/bin/env bash
# Runs one Windows test program under Wine on a virtual screen of the given
# size and DPI, with a taskbar at the bottom, in a Wine session and prefix of
# its own; then stops it. Wine is started through the build folder's
# launcher, as the other tests are.
#   screen-session.sh BUILD_DIR DISPLAY WIDTHxHEIGHT DPI PROGRAM [ARGS...]
set -u
build=$(realpath "$1") display=$2 screen=$3 dpi=$4
shift 4
wine() { "$build/wine" "$@"; }
export WINEPREFIX="$build/wineprefix-screen" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY=":$display" XDG_DATA_HOME="$build/xdg-data-screen"
pidfile="$build/xvfb-screen.pid"

stop() {
  wineserver -k >/dev/null 2>&1 </dev/null
  if [ -f "$pidfile" ]; then kill "$(cat "$pidfile")" 2>/dev/null; rm -f "$pidfile"; fi
  return 0
}
trap stop EXIT

stop
mkdir -p "$XDG_DATA_HOME"
rm -f "/tmp/.X${display}-lock" "/tmp/.X11-unix/X${display}"
Xvfb ":$display" -screen 0 "${screen}x24" -nolisten tcp >/dev/null 2>&1 </dev/null &
echo $! >"$pidfile"
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display}" ] && break; sleep 0.1; done
wineserver -p >/dev/null 2>&1 </dev/null
wine wineboot -i >/dev/null 2>&1 </dev/null
# Without a window manager a closing top-level window blocks for 2 s.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 </dev/null
# Wine's desktop of the screen's size, with the taskbar of its shell, which
# leaves the windows a work area smaller than the screen.
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /t REG_SZ /d "$screen" /f >/dev/null 2>&1 </dev/null
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d shell /f >/dev/null 2>&1 </dev/null
wineserver -k >/dev/null 2>&1 </dev/null
wineserver -p >/dev/null 2>&1 </dev/null
wine wineboot >/dev/null 2>&1 </dev/null
wine "$@" </dev/null
