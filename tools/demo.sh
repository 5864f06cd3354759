#!/usr/bin/env bash
# Builds varnex.exe and opens it under Wine on a demo installation of the
# game: the game's and the expansion's registry keys, a game folder with
# some of the game's own addons and some of a player's (a few switched
# off), information files of their authors and a comments file.
#
#   tools/demo.sh              # in a 64-bit Wine prefix (build/win32/wineprefix)
#   tools/demo.sh --prefix32   # in a 32-bit one (build/win32/wineprefix32),
#                              # as many game installations under Wine are
#
# On a machine that runs no 32-bit program (tools/wine.sh decides) the demo
# starts the 64-bit build of the same sources (build/win64) in a 64-bit
# prefix instead and says why; --prefix32 cannot run there and says so.
#
# With a display ($DISPLAY set) the window opens there and the command ends
# when it is closed. Without one it runs on a virtual display, saves a
# screenshot of the window, says where, and ends the program again.
# Every run starts the demo installation afresh.
#
# VARNEX_DEMO_BUILD    build folder (default build/win32, or build/win64)
# VARNEX_DEMO_DISPLAY  number of the virtual display (default 90)
set -euo pipefail
cd "$(dirname "$0")/.."
bits=64
case "${1:-}" in
"") ;;
--prefix32) bits=32 ;;
*) echo "usage: $0 [--prefix32]" >&2; exit 2 ;;
esac
. tools/packages.sh
. tools/wine.sh
varnex_need_packages "${VARNEX_BUILD_PACKAGES[@]}" imagemagick x11-utils || exit 1
varnex_wine_decide
preset=win32
if [ "$VARNEX_WINE_32BIT" = no ]; then
  if [ $bits = 32 ]; then
    echo "$0 --prefix32 cannot run here: $(varnex_no32_line)" >&2
    exit 1
  fi
  echo "== $(varnex_no32_line); showing the 64-bit build in a 64-bit prefix"
  varnex_need_packages "${VARNEX_WIN64_PACKAGES[@]}" || exit 1
  preset=win64
fi

build=${VARNEX_DEMO_BUILD:-build/$preset}
echo "== Building varnex.exe in $build"
cmake --preset $preset -B "$build" >/dev/null
cmake --build "$build" -j "$(nproc)" --target varnex >/dev/null
exe="$PWD/$build/src/frontend/varnex.exe"

if [ $bits = 32 ]; then
  export WINEPREFIX="$PWD/$build/wineprefix32" WINEARCH=win32
else
  export WINEPREFIX="$PWD/$build/wineprefix" WINEARCH=win64
fi
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
headless=0
xvfb=""
if [ -z "${DISPLAY:-}" ]; then
  headless=1
  number=${VARNEX_DEMO_DISPLAY:-90}
  export DISPLAY=":$number"
  # A server of this prefix started without a display would stay without.
  wineserver -k >/dev/null 2>&1 </dev/null || true
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
  xvfb=$!
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$number" ] && break; sleep 0.1; done
  # A display number can be taken in a way the socket does not show; such a
  # display accepts a connection and never answers.
  if ! timeout 10 xdpyinfo >/dev/null 2>&1 </dev/null; then
    echo "$0: the virtual display $DISPLAY does not answer; pick another with VARNEX_DEMO_DISPLAY" >&2
    kill "$xvfb" 2>/dev/null
    exit 1
  fi
fi
stop() {
  if [ -n "$xvfb" ]; then
    wineserver -k >/dev/null 2>&1 </dev/null || true
    kill "$xvfb" 2>/dev/null || true
  fi
}
trap stop EXIT

wine_quiet() { wine "$@" >/dev/null 2>&1 </dev/null; }
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== Preparing the $bits-bit Wine prefix $WINEPREFIX (once)"
fi
tools/wine-session.sh prefix "$build" $bits || exit 1
# No window manager draws frames on the virtual display: Wine draws them. On
# a desktop the window manager does.
wine_quiet reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d "$([ $headless = 1 ] && echo N || echo Y)" /f

echo "== Installing the demo game in C:\\Games\\Operation Flashpoint"
game_windows='C:\Games\Operation Flashpoint'
game="$WINEPREFIX/drive_c/Games/Operation Flashpoint"
rm -rf "$game"
mkdir -p "$game/ADDONS" "$game/Res/AddOns"
wine_quiet reg add 'HKLM\SOFTWARE\Codemasters\Operation Flashpoint' /v Main /t REG_SZ /d "$game_windows" /f /reg:32
wine_quiet reg add 'HKLM\SOFTWARE\Codemasters\Flashpoint Resistance' /v Main /t REG_SZ /d "$game_windows" /f /reg:32
wine_quiet reg delete 'HKLM\SOFTWARE\Codemasters\Operation Flashpoint' /v VARNX /f /reg:32 || true

# Addons of a given size in kilobytes; only their length matters here.
addon() { truncate -s "${2}K" "$game/$1"; }
for official in 6G30.pbo ABox.pbo BMP2.pbo Flags.pbo Hunter.pbo O.pbo XMS.pbo Data.pbo; do
  addon "ADDONS/$official" 1800
done
addon ADDONS/M1A1_Abrams.pbo 2350
addon ADDONS/T80_Tank.pbo 1960
addon ADDONS/Desert_Island.pbo 14200
addon ADDONS/Delta_Force.pbo 5400
addon ADDONS/Weapons_Pack.pbo 8800
addon ADDONS/Jungle_Map.pbx 22100
addon ADDONS/Police_Cars.pbx 3100
addon ADDONS/Sound_Mod.pbx 41000
addon Res/AddOns/Noe.pbo 900
addon Res/AddOns/Winter_Camo.pbo 2600
addon Res/AddOns/Kolgujev_Extra.pbx 7300

printf '/x/units\r\nM1A1 Abrams (West)\r\nM1A1 Abrams (Resistance)\r\n/x/info\r\nA heavy tank with a 120 mm gun and a crew of four.\r\n/x/comment\r\nNeeds no other addon. Place it from the editor under Armored.\r\n/x/author\r\nThe Varnex demo\r\n/x/version1.2/x/reqversion1.96\r\n' \
  >"$game/ADDONS/M1A1_Abrams.txt"
printf '/x/units\r\nT-80 (East)\r\n/x/author\r\nThe Varnex demo\r\n/x/version0.9\r\n' >"$game/ADDONS/T80_Tank.txt"
printf '/x/info\r\nA large jungle island with three airfields.\r\n/x/comment\r\nSwitched off: it slows loading down.\r\n/x/version2.0/x/reqversion1.91\r\n' \
  >"$game/ADDONS/Jungle_Map.txt"
printf '//M1A1_AbramsThe best tank for the campaign.//Jungle_MapOnly for the weekend missions.' >"$game/ADDONS/Comments.txt"
printf '//Winter_CamoGoes with Kolgujev_Extra.' >"$game/Res/AddOns/Comments.txt"

if [ $headless = 0 ]; then
  echo "== Starting Varnex on $DISPLAY; close its window to end"
  wine_quiet "$exe"
  exit 0
fi

shot="$PWD/$build/varnex-demo.png"
echo "== Starting Varnex on the virtual display $DISPLAY"
wine "$exe" >/dev/null 2>&1 </dev/null &
program=$!
rm -f "$shot"
# Found by its caption once it is there (ImageMagick's import, asked for a
# window that is not there yet, waits for a click), and taken when it has
# been painted.
shoot() { timeout 20 import -window "$1" "$shot" >/dev/null 2>&1 </dev/null; }
for _ in $(seq 120); do
  sleep 0.5
  if xwininfo -name 'Varnex v0.98b' >/dev/null 2>&1 </dev/null; then
    sleep 1
    shoot 'Varnex v0.98b'
    break
  fi
done
[ -f "$shot" ] || shoot root
kill "$program" 2>/dev/null || true
echo "== Screenshot of the main window: $shot"
