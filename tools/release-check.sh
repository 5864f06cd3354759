#!/usr/bin/env bash
# Shows that a release can be built again to the same bytes.
#   release-check.sh
#     builds the release of the commit checked out (HEAD) twice, in two fresh
#     clones in folders of different paths, one after the other, with
#     `cmake --workflow --preset release`, and compares both zips and
#     SHA256SUMS byte for byte; prints the SHA-256 of each, and where
#     diffoscope is installed, the difference when there is one.
#   release-check.sh --quick [BUILD-FOLDER]
#     the test command's form: the 32-bit zip of BUILD-FOLDER (build/win32 by
#     default, built before) against the same zip built anew, later, in
#     another folder.
# Changes not committed are not in the clones: the full check is of the commit.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$(pwd)
start=$(date +%s)

show_difference() {
  if command -v diffoscope >/dev/null; then
    diffoscope "$1" "$2" || true
  else
    echo "   (diffoscope, Debian package diffoscope, shows where they differ)"
  fi
}

if [ "${1:-}" = --quick ]; then
  first=${2:-build/win32}
  version=$(sed -n 's/^project(Varnex VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
  zip=$(cd "$first/release" 2>/dev/null && ls varnex-"$version"-win32.zip varnex-"$version"-dirty-win32.zip 2>/dev/null || true)
  [ -n "$zip" ] || { echo "$first/release holds no 32-bit zip of Varnex $version: build $first first" >&2; exit 1; }
  second=build/release-check/built-again-in-another-folder
  rm -rf "$second"
  mkdir -p "$(dirname "$second")"
  echo "== Building the 32-bit zip again in $second"
  cmake -S . -B "$second" -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-w64-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DVARNEX_TESTS=OFF >"$second.log" 2>&1 && cmake --build "$second" --target release_zip -j "$(nproc)" >>"$second.log" 2>&1 ||
    { tail -n 30 "$second.log"; exit 1; }
  sha256sum "$first/release/$zip" "$second/release/$zip" | sed 's/^/   /'
  if cmp "$first/release/$zip" "$second/release/$zip"; then
    echo "== The same zip from two folders: $zip ($(( $(date +%s) - start )) s)"
    rm -rf "$second" "$second.log"
    exit 0
  fi
  show_difference "$first/release/$zip" "$second/release/$zip"
  echo "== The zips differ: $zip"
  exit 1
fi

commit=$(git rev-parse HEAD)
[ -z "$(git status --porcelain)" ] || echo "== The work tree has uncommitted changes: this checks the commit ${commit:0:12} without them"
work=$(mktemp -d "${TMPDIR:-/tmp}/varnex-release-check.XXXXXX")
folders=("$work/first/varnex" "$work/second/a/longer/path/elsewhere/varnex-sources")
for folder in "${folders[@]}"; do
  echo "== $(date -u +%H:%M:%S) Building the release of ${commit:0:12} in $folder"
  git clone -q --no-checkout "$source_dir" "$folder"
  git -C "$folder" cat-file -e "$commit" 2>/dev/null || git -C "$folder" fetch -q origin "$commit"
  git -C "$folder" checkout -q "$commit"
  took=$(date +%s)
  (cd "$folder" && cmake --workflow --preset release >"$work/$(basename "$folder").log" 2>&1) ||
    { tail -n 30 "$work/$(basename "$folder").log"; echo "== The build failed; its folder stays: $folder"; exit 1; }
  echo "   took $(( $(date +%s) - took )) s"
done

same=yes
for name in $(cd "${folders[0]}/build/release" && ls varnex-*.zip SHA256SUMS); do
  a=${folders[0]}/build/release/$name b=${folders[1]}/build/release/$name
  if [ -e "$b" ] && cmp -s "$a" "$b"; then
    echo "== $name: the same in both builds"
  else
    echo "== $name: differs"
    show_difference "$a" "$b"
    same=no
  fi
done
echo "== SHA-256 of each build's zips:"
for folder in "${folders[@]}"; do
  (cd "$work" && sha256sum "${folder#$work/}"/build/release/varnex-*.zip) | sed 's/^/   /'
done
echo "== The check took $(( $(date +%s) - start )) s"
if [ "$same" = yes ]; then
  rm -rf "$work"
  echo "== Two builds of ${commit:0:12} gave the same zips"
else
  echo "== The builds differ; both stay in $work"
  exit 1
fi
