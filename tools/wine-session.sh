#!/usr/bin/env bash
# Starts or stops the Wine session the Windows tests run in: a virtual X
# display and a persistent wineserver over a prefix inside the build folder,
# a 64-bit prefix (wineprefix, where a 32-bit program runs as on 64-bit
# Windows) or a 32-bit one (wineprefix32, as many game installations are).
#   wine-session.sh start  BUILD_DIR DISPLAY_NUMBER [64|32]
#   wine-session.sh stop   BUILD_DIR DISPLAY_NUMBER [64|32]
#   wine-session.sh prefix BUILD_DIR [64|32]    only make the prefix ready
# A prefix made by another Wine than the installed one does not start (a
# prefix from before wine32 was installed cannot even load kernel32.dll):
# it is made anew whenever the installed Wine or the prefix's kind changes.
# Wine is started through the build folder's launcher, as its tests are.
set -u
action=$1 build=$(realpath "$2")
wine() { "$build/wine" "$@"; }
if [ "$action" = prefix ]; then display="" bits=${3:-64}; else display=$3 bits=${4:-64}; fi
case "$bits" in
64) export WINEPREFIX="$build/wineprefix" WINEARCH=win64 XDG_DATA_HOME="$build/xdg-data" ;;
32) export WINEPREFIX="$build/wineprefix32" WINEARCH=win32 XDG_DATA_HOME="$build/xdg-data32" ;;
*) echo "$0: the prefix is 64 or 32, not $bits" >&2; exit 2 ;;
esac
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -n "$display" ] && export DISPLAY=":$display"
pidfile="$build/xvfb-$display.pid"
quiet() { "$@" >/dev/null 2>&1 </dev/null; }

stop() {
  quiet wineserver -k
  if [ -f "$pidfile" ]; then kill "$(cat "$pidfile")" 2>/dev/null; rm -f "$pidfile"; fi
  return 0
}

# Boots the prefix, made anew if another Wine or kind made it.
prepare() {
  local stamp="$WINEPREFIX/varnex-made-by" made_by log="$build/wineboot-$bits.log"
  if ! made_by="$(wine --version 2>&1 </dev/null) $WINEARCH"; then
    echo "Wine could not start: $made_by" >&2
    exit 1
  fi
  if [ -d "$WINEPREFIX" ] && [ "$(cat "$stamp" 2>/dev/null)" != "$made_by" ]; then
    quiet wineserver -k
    rm -rf "$WINEPREFIX"
  fi
  mkdir -p "$XDG_DATA_HOME"
  local fresh=0
  [ -f "$WINEPREFIX/system.reg" ] || fresh=1
  [ -z "$display" ] || quiet wineserver -p
  # Into a file: Wine's helper processes would hold a pipe open.
  if ! wine wineboot -i >"$log" 2>&1 </dev/null || [ ! -d "$WINEPREFIX/drive_c/windows" ]; then
    echo "Wine could not start: $(tail -n 3 "$log" | tr '\n' ' ')(wineboot made no prefix in $WINEPREFIX)" >&2
    exit 1
  fi
  if [ $fresh = 1 ]; then
    # Wine's network driver lists the machine's network cards in the
    # registry some seconds after a new prefix has first booted; a test that
    # compares the registry before and after a session would see them come.
    local cards='HKLM\Software\Microsoft\Windows NT\CurrentVersion\NetworkCards'
    for _ in $(seq 60); do
      wine reg query "$cards" 2>/dev/null </dev/null | grep -q 'NetworkCards\\' && break
      sleep 1
    done
    echo "$made_by" >"$stamp"
  fi
}

case "$action" in
start)
  stop
  rm -f "/tmp/.X${display}-lock" "/tmp/.X11-unix/X${display}"
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
  echo $! >"$pidfile"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display}" ] && break; sleep 0.1; done
  prepare
  # No window manager runs on the virtual display, and without one a closing
  # top-level window blocks for 2 s unless Wine draws the frames itself.
  quiet wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
  # A 64-bit prefix keeps its 32-bit system in syswow64; a 32-bit one has none.
  kind=32
  [ -d "$WINEPREFIX/drive_c/windows/syswow64" ] && kind=64
  if [ "$kind" != "$bits" ]; then
    echo "$0: the prefix $WINEPREFIX did not come up as $WINEARCH" >&2
    exit 1
  fi
  quiet wine cmd /c exit
  ;;
stop) stop ;;
prefix) prepare ;;
*) echo "usage: $0 start|stop BUILD_DIR DISPLAY [64|32] | prefix BUILD_DIR [64|32]" >&2; exit 2 ;;
esac
exit 0
