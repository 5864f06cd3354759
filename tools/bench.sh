#!/usr/bin/env bash
# Builds and runs the benchmarks and prints their tables: the native core
# over the emulated platform at 1,000, 10,000 and 32,767 addons, then
# varnex.exe under Wine (start-up, and Activate all at 1,000 addons). Every
# figure stands next to the bare file-system work of the same run.
#
#   tools/bench.sh           # about 10 minutes on a 2-core machine
#   tools/bench.sh --full    # adds Activate all at 10,000 addons under Wine
#                            # (about 20 minutes more)
#
# VARNEX_BENCH_DISPLAY  number of the virtual display (default 96)
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/packages.sh
varnex_need_packages "${VARNEX_BUILD_PACKAGES[@]}"

sizes=(1000)
[ "${1:-}" = "--full" ] && sizes+=(10000)
jobs=$(nproc)

echo "== Native core, emulated platform on a real folder"
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs" --target varnex_bench >/dev/null
build/native/tools/varnex_bench

echo "== varnex.exe under Wine"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs" --target varnex_wine_bench >/dev/null
display=${VARNEX_BENCH_DISPLAY:-96}
trap 'tools/wine-session.sh stop build/win64 "$display"' EXIT
tools/wine-session.sh start build/win64 "$display"
export WINEPREFIX="$PWD/build/win64/wineprefix" WINEDEBUG=-all DISPLAY=":$display" \
       XDG_DATA_HOME="$PWD/build/win64/xdg-data"
wine build/win64/tools/varnex_wine_bench.exe "${sizes[@]}" --startup=1000 --rounds=9
echo "== Machine: $(nproc) cores, $(free -g | awk '/^Mem:/ {print $2}') GiB, load $(cut -d' ' -f1-3 /proc/loadavg)"
