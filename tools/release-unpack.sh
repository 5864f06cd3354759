#!/usr/bin/env bash
# Unpacks a release zip and checks that it holds what a player is promised:
# varnex.exe for its build, README.txt and LICENSE.txt, in that order and
# nothing else, the texts in CR LF, the readme of that build naming the
# zip's version in under 150 lines.
#   release-unpack.sh ZIP|FOLDER DEST [--same-as PROGRAM.exe]
# A FOLDER stands for the one zip of varnex in it. DEST is made anew. With
# --same-as, the unpacked varnex.exe must be that very file, byte for byte.
set -euo pipefail
zip=$1 dest=$2 same_as=
[ "${3:-}" = --same-as ] && same_as=$4
if [ -d "$zip" ]; then
  found=("$zip"/varnex-*-win32.zip "$zip"/varnex-*-win64.zip)
  zips=()
  for f in "${found[@]}"; do [ -e "$f" ] && zips+=("$f"); done
  [ ${#zips[@]} -eq 1 ] || { echo "$zip holds ${#zips[@]} zips of varnex, not one" >&2; exit 1; }
  zip=${zips[0]}
fi
name=$(basename "$zip")
if [[ ! "$name" =~ ^varnex-([0-9]+\.[0-9]+\.[0-9]+)(-dirty)?-(win32|win64)\.zip$ ]]; then
  echo "$name is not named varnex-VERSION-win32.zip or varnex-VERSION-win64.zip" >&2
  exit 1
fi
version=${BASH_REMATCH[1]} arch=${BASH_REMATCH[3]}
if ! command -v unzip >/dev/null; then
  . "$(dirname "$0")/packages.sh"
  varnex_need_packages unzip
fi

failed=0
fail() { echo "$name: $*"; failed=1; }

entries=$(zipinfo -1 "$zip" | tr '\n' ' ')
[ "$entries" = "varnex.exe README.txt LICENSE.txt " ] || fail "holds $entries, not varnex.exe README.txt LICENSE.txt"
# Permissions and times: one time for all, the program alone executable.
listing=$(zipinfo -T -s "$zip" | sed -n 's/^\([-a-z]*\) .* \([0-9]\{8\}\.[0-9]\{6\}\) \(.*\)$/\1 \2 \3/p')
while read -r mode time entry; do
  case "$entry" in varnex.exe) want=-rwxr-xr-x ;; *) want=-rw-r--r-- ;; esac
  [ "$mode" = "$want" ] || fail "$entry has the permissions $mode, not $want"
done <<<"$listing"
[ "$(awk '{print $2}' <<<"$listing" | sort -u | wc -l)" = 1 ] || fail "its entries have different times"
# Extra fields would carry the builder's user and group ids and more times.
zipinfo -v "$zip" | grep -q "length of extra field: *[1-9]" && fail "its entries carry extra fields (owner ids, times)"

rm -rf "$dest"
mkdir -p "$dest"
unzip -q "$zip" -d "$dest"

# The program's header names the processor of its build, and neither the
# time it was linked nor a symbol table: both differ from build to build.
pe=$(od -An -tu4 -j 60 -N 4 "$dest/varnex.exe" | tr -d ' ')
machine=$(od -An -tx1 -j "$pe" -N 6 "$dest/varnex.exe" | tr -d ' \n')
case "$arch" in win32) want=504500004c01 ;; win64) want=504500006486 ;; esac
[ "$machine" = "$want" ] || fail "varnex.exe is not a program of the $arch build (PE header $machine)"
read -r stamp symbols count < <(od -An -tu4 -j $((pe + 8)) -N 12 "$dest/varnex.exe")
[ "$stamp" = 0 ] || fail "varnex.exe carries the time it was linked ($stamp)"
[ "$symbols" = 0 ] && [ "$count" = 0 ] || fail "varnex.exe carries a symbol table: it is not stripped"
if [ -n "$same_as" ] && ! cmp -s "$dest/varnex.exe" "$same_as"; then
  fail "varnex.exe is not $same_as, the program the tests ran"
fi

for text in README.txt LICENSE.txt; do
  lone=$(tr -d '\r' <"$dest/$text" | wc -l)
  pairs=$(grep -c $'\r$' "$dest/$text" || true)
  [ "$lone" = "$pairs" ] && [ "$(tr -cd '\r' <"$dest/$text" | wc -c)" = "$pairs" ] ||
    fail "$text has line ends other than CR LF"
done
lines=$(wc -l <"$dest/README.txt")
[ "$lines" -lt 150 ] || fail "README.txt has $lines lines, not under 150"
grep -q "^Varnex $version"$'\r'"\$" "$dest/README.txt" || fail "README.txt does not begin with Varnex $version"
grep -q '@VERSION@\|^{win' "$dest/README.txt" && fail "README.txt still holds the marks of its two builds"
case "$arch" in
  win32) grep -q "the one for everybody" "$dest/README.txt" || fail "README.txt is not the 32-bit build's" ;;
  win64) grep -q "only for players on Linux whose" "$dest/README.txt" && grep -q "varnex-$version-win32.zip" "$dest/README.txt" ||
    fail "README.txt does not say whom the 64-bit build is for and which zip everybody else takes" ;;
esac
grep -q "^Copyright (c) the Varnex authors"$'\r'"\$" "$dest/LICENSE.txt" || fail "LICENSE.txt is not the project's license"

[ "$failed" = 0 ] && echo "$name: varnex.exe ($arch), README.txt ($lines lines), LICENSE.txt, unpacked into $dest"
exit $failed
