#!/usr/bin/env bash
# Starts or stops the Wine session the Windows tests run in: a virtual X
# display and a persistent wineserver over a prefix inside the build folder.
#   wine-session.sh start BUILD_DIR DISPLAY_NUMBER
#   wine-session.sh stop  BUILD_DIR DISPLAY_NUMBER
set -u
action=$1 build=$(realpath "$2") display=$3
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export DISPLAY=":$display" XDG_DATA_HOME="$build/xdg-data"
pidfile="$build/xvfb.pid"

stop() {
  wineserver -k >/dev/null 2>&1 </dev/null
  if [ -f "$pidfile" ]; then kill "$(cat "$pidfile")" 2>/dev/null; rm -f "$pidfile"; fi
  return 0
}

case "$action" in
start)
  stop
  mkdir -p "$XDG_DATA_HOME"
  rm -f "/tmp/.X${display}-lock" "/tmp/.X11-unix/X${display}"
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
  echo $! >"$pidfile"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display}" ] && break; sleep 0.1; done
  fresh=0
  [ -f "$WINEPREFIX/system.reg" ] || fresh=1
  wineserver -p >/dev/null 2>&1 </dev/null
  wine wineboot -i >/dev/null 2>&1 </dev/null
  if [ $fresh = 1 ]; then
    # Without a window manager a closing top-level window blocks for 2 s.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 </dev/null
  fi
  wine cmd /c exit >/dev/null 2>&1 </dev/null
  ;;
stop) stop ;;
*) echo "usage: $0 start|stop BUILD_DIR DISPLAY" >&2; exit 2 ;;
esac
exit 0
