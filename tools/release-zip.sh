#!/usr/bin/env bash
# Makes the zip a player downloads, the same bytes from the same commit
# whoever builds it, in whatever folder, at whatever time:
#   release-zip.sh ARCH PROGRAM.exe OUT-FOLDER VERSION
# writes OUT-FOLDER/varnex-VERSION-ARCH.zip (ARCH win32 or win64) holding
# varnex.exe, README.txt (the player's readme for that build, CR LF) and
# LICENSE.txt, in that order, each with the commit's time and fixed
# permissions, and nothing else: no folder entry, no owner, no time zone.
# A work tree with uncommitted changes still gets its zip, named
# varnex-VERSION-dirty-ARCH.zip: a zip whose name claims a version is built
# from a clean commit.
#   release-zip.sh --sums OUT-FOLDER VERSION
# writes OUT-FOLDER/SHA256SUMS over the zips of VERSION there.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = --sums ]; then
  out=$2 version=$3
  cd "$out"
  zips=()
  for arch in win32 win64; do
    for name in "varnex-$version-$arch.zip" "varnex-$version-dirty-$arch.zip"; do
      [ -e "$name" ] && zips+=("$name")
    done
  done
  [ ${#zips[@]} -gt 0 ] || { echo "no zip of Varnex $version in $out" >&2; exit 1; }
  sha256sum "${zips[@]}" >SHA256SUMS
  echo "== $out/SHA256SUMS:"
  sed 's/^/   /' SHA256SUMS
  exit 0
fi

arch=$1 program=$2 out=$3 version=$4
case "$arch" in win32|win64) ;; *) echo "unknown build '$arch': win32 or win64" >&2; exit 2 ;; esac
if ! command -v zip >/dev/null; then
  . "$source_dir/tools/packages.sh"
  varnex_need_packages zip
fi

# The commit's time stands for every file of the zip. Untracked files count
# as changes too: the tree built is then not the commit.
if epoch=$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null) && [ -n "$epoch" ]; then
  changes=$(git -C "$source_dir" status --porcelain 2>/dev/null)
else
  # Sources without their history: nothing tells which commit they are.
  epoch=${SOURCE_DATE_EPOCH:-315532800}
  changes="no commit: $source_dir is not a git work tree"
fi
# A zip holds no time before 1980.
[ "$epoch" -ge 315532800 ] || epoch=315532800
if [ -n "$changes" ]; then
  name=varnex-$version-dirty-$arch.zip
  echo "== The work tree has uncommitted changes; the zip is named $name:"
  printf '%s\n' "$changes" | head -n 10 | sed 's/^/   /'
else
  name=varnex-$version-$arch.zip
fi

mkdir -p "$out"
out=$(cd "$out" && pwd)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$program" "$stage/varnex.exe"
# The readme's lines marked {win32} or {win64} belong to that build's zip
# alone; @VERSION@ is the version. Notepad before Windows 10 shows only CR LF
# as line breaks.
awk -v mark="{$arch}" -v version="$version" '
  /^\{win(32|64)\}/ { if (index($0, mark) != 1) next; $0 = substr($0, length(mark) + 1) }
  { gsub(/@VERSION@/, version); sub(/\r*$/, "\r"); print }' "$source_dir/docs/player/README.txt" >"$stage/README.txt"
sed 's/\r*$/\r/' "$source_dir/LICENSE" >"$stage/LICENSE.txt"
chmod 0755 "$stage/varnex.exe"
chmod 0644 "$stage/README.txt" "$stage/LICENSE.txt"
touch -d "@$epoch" "$stage/varnex.exe" "$stage/README.txt" "$stage/LICENSE.txt"

# Other builds' zips of this version and build go: one zip per build.
rm -f "$out/varnex-$version-$arch.zip" "$out/varnex-$version-dirty-$arch.zip"
# -X leaves out owners and extra time fields, -D folder entries; the times
# are written in UTC, so the builder's time zone does not change them.
(cd "$stage" && TZ=UTC zip -X -D -q -9 "$out/$name" varnex.exe README.txt LICENSE.txt)
echo "== $out/$name"
