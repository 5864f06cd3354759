#!/usr/bin/env bash
# Builds every preset and runs every test: the core natively, the core under
# AddressSanitizer and UndefinedBehaviorSanitizer, the 32-bit Windows program
# (its import table, Win32 and end-to-end tests) under Wine on virtual
# displays in a 64-bit and a 32-bit prefix, and the fuzzers briefly; then
# the release zip the Windows tests unpacked is built again in another folder
# and compared byte for byte.
#
# On a machine that runs no 32-bit program (tools/wine.sh decides; the
# switch VARNEX_NO_32BIT=1 takes this path anywhere) the 32-bit program is
# still built and its import table checked, its Wine tests are reported
# skipped, and a 64-bit build of the same sources (preset win64) runs them in
# a 64-bit prefix instead.
set -euo pipefail
cd "$(dirname "$0")/.."
. tools/packages.sh
. tools/wine.sh
varnex_need_packages "${VARNEX_BUILD_PACKAGES[@]}"
varnex_need_locales "${VARNEX_LOCALES[@]}"
varnex_wine_decide
presets=(native asan win32)
if [ "$VARNEX_WINE_32BIT" = no ]; then
  varnex_need_packages "${VARNEX_WIN64_PACKAGES[@]}"
  presets+=(win64)
fi
presets+=(fuzz)

start=$(date +%s)
jobs=$(nproc)
status=0
summary=()
passed_all=0 failed_all=0 skipped_all=0
for preset in "${presets[@]}"; do
  echo "== $preset: configure and build"
  # VARNEX_DISPLAY and VARNEX_DISPLAY32 pick the virtual displays of the Wine
  # tests where several people share a machine.
  cmake --preset "$preset" ${VARNEX_DISPLAY:+-DVARNEX_DISPLAY=$VARNEX_DISPLAY} \
    ${VARNEX_DISPLAY32:+-DVARNEX_DISPLAY32=$VARNEX_DISPLAY32} >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  echo "== $preset: test"
  log=build/$preset/ctest-output.txt
  ctest --preset "$preset" -j 1 2>&1 | tee "$log" || status=1
  # ctest counts skipped tests among those "out of"; they neither pass nor fail.
  total=$(sed -n 's/.* tests failed out of \([0-9]*\)$/\1/p' "$log")
  failed=$(sed -n 's/.*, \([0-9]*\) tests failed out of .*/\1/p' "$log")
  skipped=$(grep -c '(Skipped)$' "$log" || true)
  if [ -z "$total" ]; then
    summary+=("$preset: no test ran")
    status=1
    continue
  fi
  passed=$((total - failed - skipped))
  summary+=("$preset: $passed passed, $failed failed, $skipped skipped")
  passed_all=$((passed_all + passed)) failed_all=$((failed_all + failed)) skipped_all=$((skipped_all + skipped))
done
# The release zip the 32-bit tests unpacked, built again in another folder:
# the same bytes. The full check of two clones is tools/release-check.sh.
echo "== release: the 32-bit zip built again"
if bash tools/release-check.sh --quick build/win32; then
  summary+=("release check: 1 passed, 0 failed, 0 skipped")
  passed_all=$((passed_all + 1))
else
  summary+=("release check: 0 passed, 1 failed, 0 skipped")
  failed_all=$((failed_all + 1)) status=1
fi
echo "== All tests took $(( $(date +%s) - start )) s"
printf '   %s\n' "${summary[@]}"
if [ "$VARNEX_WINE_32BIT" = yes ]; then
  echo "== This machine runs 32-bit programs: the 32-bit varnex.exe was tested under Wine in a 64-bit and a 32-bit prefix."
else
  echo "== $(varnex_no32_line)."
  echo "   The 32-bit varnex.exe was built and its import table checked; its Wine tests are the skipped ones."
  echo "   A 64-bit build of the same sources (win64) ran them in a 64-bit prefix."
fi
echo "All presets: $passed_all passed, $failed_all failed, $skipped_all skipped"
exit $status
