#!/usr/bin/env bash
# Builds every preset and runs every test: the core natively, the core under
# AddressSanitizer and UndefinedBehaviorSanitizer, the 32-bit Windows program
# (its import table, Win32 and end-to-end tests) under Wine on virtual
# displays in a 64-bit and a 32-bit prefix, and the fuzzers briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/packages.sh
varnex_need_packages "${VARNEX_BUILD_PACKAGES[@]}"

start=$(date +%s)
jobs=$(nproc)
status=0
for preset in native asan win32 fuzz; do
  echo "== $preset: configure and build"
  # VARNEX_DISPLAY and VARNEX_DISPLAY32 pick the virtual displays of the Wine
  # tests where several people share a machine.
  cmake --preset "$preset" ${VARNEX_DISPLAY:+-DVARNEX_DISPLAY=$VARNEX_DISPLAY} \
    ${VARNEX_DISPLAY32:+-DVARNEX_DISPLAY32=$VARNEX_DISPLAY32} >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "== $preset: test"
  ctest --preset "$preset" -j 1 || status=1
done
echo "== All tests took $(( $(date +%s) - start )) s"
exit $status
