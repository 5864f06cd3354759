#!/usr/bin/env bash
# Builds and runs the benchmarks and prints their tables: the native core
# over the emulated platform at 1,000, 10,000 and 32,767 addons, then the
# 32-bit varnex.exe under Wine (start-up, and Activate all at 1,000 addons)
# in a 64-bit and in a 32-bit prefix. Every figure stands next to the bare
# work of the same run: the minimal window programs and the bare loop of
# shell renames are built 32-bit too and run in the same prefix.
#
#   tools/bench.sh             # about 12 minutes on a 2-core machine
#   tools/bench.sh --full      # adds Activate all at 10,000 addons under Wine
#                              # (about 20 minutes more in each prefix)
#   tools/bench.sh --wine-only # only the Wine part
#
# On a machine that runs no 32-bit program (tools/wine.sh decides) the Wine
# part measures the 64-bit build of the same sources (build/win64) in a
# 64-bit prefix, and says what it left out.
#
# VARNEX_BENCH_DISPLAY    number of the virtual display of the 64-bit prefix (default 96)
# VARNEX_BENCH_DISPLAY32  number of the virtual display of the 32-bit prefix (default 95)
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/packages.sh
. tools/wine.sh
varnex_need_packages "${VARNEX_BUILD_PACKAGES[@]}"

sizes=(1000)
native=1
for arg in "$@"; do
  case "$arg" in
  --full) sizes+=(10000) ;;
  --wine-only) native=0 ;;
  *) echo "usage: $0 [--full] [--wine-only]" >&2; exit 2 ;;
  esac
done
jobs=$(nproc)

if [ $native = 1 ]; then
  echo "== Native core, emulated platform on a real folder"
  cmake --preset native >/dev/null
  cmake --build --preset native -j "$jobs" --target varnex_bench >/dev/null
  build/native/tools/varnex_bench
fi

varnex_wine_decide
preset=win32 prefixes=(64 32) program=32
if [ "$VARNEX_WINE_32BIT" = no ]; then
  varnex_need_packages "${VARNEX_WIN64_PACKAGES[@]}"
  preset=win64 prefixes=(64) program=64
fi
cmake --preset $preset >/dev/null
cmake --build --preset $preset -j "$jobs" --target varnex_wine_bench >/dev/null
build=build/$preset
session=""
trap '[ -z "$session" ] || tools/wine-session.sh stop $session' EXIT
for bits in "${prefixes[@]}"; do
  if [ $bits = 64 ]; then
    display=${VARNEX_BENCH_DISPLAY:-96} prefix=wineprefix data=xdg-data
  else
    display=${VARNEX_BENCH_DISPLAY32:-95} prefix=wineprefix32 data=xdg-data32
  fi
  echo "== varnex.exe ($program-bit) under Wine in a $bits-bit prefix"
  session="$build $display $bits"
  tools/wine-session.sh start $session
  WINEPREFIX="$PWD/$build/$prefix" WINEDEBUG=-all DISPLAY=":$display" XDG_DATA_HOME="$PWD/$build/$data" \
    $build/wine $build/tools/varnex_wine_bench.exe "${sizes[@]}" --startup=1000 --rounds=15
  tools/wine-session.sh stop $session
  session=""
done
if [ $program = 64 ]; then
  echo "== Left out: the 32-bit varnex.exe in both prefixes; $(varnex_no32_line)"
fi
echo "== Machine: $(nproc) cores, $(free -g | awk '/^Mem:/ {print $2}') GiB, load $(cut -d' ' -f1-3 /proc/loadavg)"
