#!/usr/bin/env bash
# The release zip from a commit of a small copy of the project: the same
# bytes from two folders, time zones, umasks and times; the dirty name for
# changes; both builds' readmes; the checksums; the package named when zip
# is missing; and the unpack check refusing zips that break its promises.
set -euo pipefail
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
check() {  # check WHAT COMMAND...: the step holds when the command succeeds
  local what=$1; shift
  if "$@" >"$work/out" 2>&1; then echo "ok: $what"; else echo "FAILED: $what"; sed 's/^/   /' "$work/out"; failed=1; fi
}
# A program header of the given machine: "MZ", the PE header at 64.
fake_exe() {
  printf 'MZ' >"$2"; head -c 58 /dev/zero >>"$2"; printf '\x40\x00\x00\x00PE\x00\x00' >>"$2"
  printf "$1" >>"$2"; head -c 18 /dev/zero >>"$2"; head -c 200 /dev/urandom >>"$2"
}

src=$work/a/varnex
mkdir -p "$src/tools" "$src/docs/player"
cp "$tools/release-zip.sh" "$tools/release-unpack.sh" "$tools/packages.sh" "$src/tools/"
cp "$tools/../docs/player/README.txt" "$src/docs/player/"
cp "$tools/../LICENSE" "$src/"
git -C "$src" init -q
git -C "$src" add -A
GIT_AUTHOR_DATE=@1700000000 GIT_COMMITTER_DATE=@1700000000 \
  git -C "$src" -c user.name=t -c user.email=t@t commit -qm one
fake_exe '\x4c\x01' "$work/x86.exe"
fake_exe '\x64\x86' "$work/x64.exe"

out1=$work/out1
check "a clean commit gives the versioned name" bash "$src/tools/release-zip.sh" win32 "$work/x86.exe" "$out1" 1.2.3
check "its zip unpacks with the promised content" \
  bash "$src/tools/release-unpack.sh" "$out1" "$work/u1" --same-as "$work/x86.exe"

# Another builder: a clone in a longer path, another time zone and umask,
# two seconds later (a zip keeps times to two seconds).
sleep 2
other=$work/second/builder/elsewhere/varnex
git clone -q "$src" "$other"
out2=$work/out2
(umask 077; TZ=America/New_York bash "$other/tools/release-zip.sh" win32 "$work/x86.exe" "$out2" 1.2.3 >/dev/null)
check "the second builder's zip is the same, byte for byte" cmp "$out1/varnex-1.2.3-win32.zip" "$out2/varnex-1.2.3-win32.zip"
check "entries carry the commit's time" sh -c "zipinfo -T -s '$out2/varnex-1.2.3-win32.zip' | grep -c ' 20231114.221320 ' | grep -qx 3"

check "the 64-bit build's zip" bash "$other/tools/release-zip.sh" win64 "$work/x64.exe" "$out2" 1.2.3
check "its readme says whom it is for" bash "$src/tools/release-unpack.sh" "$out2/varnex-1.2.3-win64.zip" "$work/u64"
check "the 32-bit readme has none of the 64-bit lines" sh -c "! grep -q 'only for players on Linux\|wine64' '$work/u1/README.txt'"
check "the 64-bit readme has none of the 32-bit lines" sh -c "! grep -q 'the one for everybody' '$work/u64/README.txt'"
check "checksums over both zips" bash "$other/tools/release-zip.sh" --sums "$out2" 1.2.3
check "the checksums hold" sh -c "cd '$out2' && sha256sum -c SHA256SUMS && [ \$(wc -l <SHA256SUMS) = 2 ]"

# Changes not committed, tracked or not: the dirty name, said, replacing the clean zip.
echo "a change" >>"$other/LICENSE"
bash "$other/tools/release-zip.sh" win32 "$work/x86.exe" "$out2" 1.2.3 >"$work/said"
check "a changed file is said" grep -q "uncommitted changes; the zip is named varnex-1.2.3-dirty-win32.zip" "$work/said"
check "the dirty zip replaces the clean one" sh -c "cd '$out2' && ls varnex-1.2.3*-win32.zip | grep -qx varnex-1.2.3-dirty-win32.zip"
git -C "$other" checkout -q LICENSE
touch "$other/docs/player/notes.txt"
check "an untracked file makes the tree dirty too" sh -c \
  "bash '$other/tools/release-zip.sh' win32 '$work/x86.exe' '$out2' 1.2.3 | grep -q 'dirty-win32.zip'"

# Without zip and without root: the Debian package named, nothing made.
stub=$work/stub
mkdir "$stub"
for tool in dirname grep; do ln -s "$(command -v $tool)" "$stub/$tool"; done
printf '#!/bin/sh\nexit 1\n' >"$stub/dpkg-query"
printf '#!/bin/sh\necho 1000\n' >"$stub/id"
chmod +x "$stub/dpkg-query" "$stub/id"
PATH=$stub /bin/bash "$src/tools/release-zip.sh" win32 "$work/x86.exe" "$work/out3" 1.2.3 >"$work/said" 2>&1 &&
  echo "FAILED: went on without zip" && failed=1
check "a missing zip names its package" grep -qx "  sudo apt-get install -y zip" "$work/said"
check "and makes no zip" test ! -e "$work/out3"

# Zips that break the promises are refused by the unpack check.
(cd "$work/u1" && cp README.txt notes.txt && zip -q -X "$work/varnex-1.2.3-win32.zip" varnex.exe README.txt LICENSE.txt notes.txt)
check "an extra file is refused" sh -c "! bash '$src/tools/release-unpack.sh' '$work/varnex-1.2.3-win32.zip' '$work/u2'"
rm "$work/varnex-1.2.3-win32.zip"
(cd "$work/u1" && tr -d '\r' <README.txt >R && mv R README.txt && zip -q -X "$work/varnex-1.2.3-win32.zip" varnex.exe README.txt LICENSE.txt)
check "a readme without CR LF is refused" sh -c "! bash '$src/tools/release-unpack.sh' '$work/varnex-1.2.3-win32.zip' '$work/u2'"
mkdir "$work/z"
cp "$out2/varnex-1.2.3-win64.zip" "$work/z/varnex-1.2.3-win32.zip"
check "a 64-bit program under the 32-bit name is refused" sh -c "! bash '$src/tools/release-unpack.sh' '$work/z' '$work/u4'"
exit $failed
