# Sourced by the README's two commands: makes sure the Debian packages they
# need are there. As root it installs what is missing, first adding the i386
# architecture that 32-bit Wine (wine32:i386) comes from; otherwise it
# prints the exact lines to run and stops.
varnex_apt_install() {
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}
# A list the mirror serves but its signed index does not describe (its sync
# half done) still names packages that are in the pool. Such a list is taken
# as it is, into a local repository of its own; the packages it is chosen for
# are fetched from the pool and checked against the list's SHA256. The list
# itself is unsigned, so this is tried only after the signed lists failed.
VARNEX_STALE_LISTS=/var/lib/varnex-stale-lists
varnex_take_stale_lists() {
  local url n=0 dir arch
  while read -r url; do
    dir=$VARNEX_STALE_LISTS/$n arch=${url##*/binary-}
    arch=${arch%%/*}
    # apt downloads as its own user, _apt.
    mkdir -p "$dir" && chown _apt "$dir" || return 1
    # Not kept as Packages.xz: apt would read that before the local list.
    /usr/lib/apt/apt-helper download-file "$url" "$dir/list.${url##*.}" >/dev/null &&
      /usr/lib/apt/apt-helper cat-file "$dir/list.${url##*.}" >"$dir/list" || return 1
    echo "${url%%/dists/*}" >"$dir/pool"
    # Filenames are relative to the repository; the local one holds the
    # packages themselves.
    sed 's|^Filename: .*/|Filename: |' "$dir/list" >"$dir/Packages"
    echo "deb [trusted=yes arch=$arch] file:$dir ./" >>/etc/apt/sources.list.d/varnex-stale.list
    echo "== $url does not match the mirror's signed index; taking it as it is"
    n=$((n + 1))
  done < <(sed -n 's/^E: Failed to fetch \(http\S*\/binary-[a-z0-9]*\/Packages\.[a-z0-9]*\)  File has unexpected size.*/\1/p' "$1")
  [ $n -gt 0 ] || return 1
  apt-get update -qq >/dev/null 2>&1 || true
}
varnex_fetch_from_stale_lists() {
  local dir deb path sha
  apt-get install --print-uris -qq -y --no-install-recommends "$@" |
    sed -n "s|^'file:\($VARNEX_STALE_LISTS/[0-9]*\)/\([^']*\)' .*|\1 \2|p" |
    while read -r dir deb; do
      deb=$(printf '%b' "${deb//%/\\x}") # the URI spells "+" as "%2b"
      read -r path sha < <(awk -v deb="$deb" '
        /^Filename:/ { path = $2 } /^SHA256:/ { sha = $2 }
        /^$/ { n = split(path, part, "/"); if (part[n] == deb) print path, sha; path = sha = "" }
        END { n = split(path, part, "/"); if (part[n] == deb) print path, sha }' "$dir/list")
      [ -n "$sha" ] && /usr/lib/apt/apt-helper download-file "$(cat "$dir/pool")/$path" "$dir/$deb" "SHA256:$sha" >/dev/null ||
        { echo "== Could not fetch $deb from the pool"; return 1; }
    done
}
varnex_drop_stale_lists() {
  rm -rf "$VARNEX_STALE_LISTS" /etc/apt/sources.list.d/varnex-stale.list
}
varnex_need_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  # Packages of another architecture ("wine32:i386") need it added once;
  # the package lists then have to be read again.
  local arches=() arch
  for p in "${missing[@]}"; do
    case "$p" in *:*) arch=${p##*:}
      if [ "$arch" != "$(dpkg --print-architecture)" ] && ! dpkg --print-foreign-architectures | grep -qx "$arch"; then
        [[ " ${arches[*]} " == *" $arch "* ]] || arches+=("$arch")
      fi ;;
    esac
  done
  if [ "$(id -u)" -eq 0 ]; then
    echo "== Installing ${missing[*]}"
    for arch in "${arches[@]}"; do dpkg --add-architecture "$arch" || return 1; done
    # A mirror caught mid-sync fails one of its lists (seen: bookworm-security
    # for i386, "File has unexpected size"); the others are still good, so
    # the install is tried with what was read.
    local update_log
    update_log=$(mktemp)
    varnex_drop_stale_lists # left by a run that was cut short
    # The callers run under "set -e": a failed update must not end them.
    apt-get update -qq >"$update_log" 2>&1 ||
      echo "== Some package lists could not be read; installing from the others"
    cat "$update_log"
    varnex_apt_install "${missing[@]}" && { rm -f "$update_log"; return 0; }
    if varnex_take_stale_lists "$update_log"; then
      echo "== Installing ${missing[*]} again, with the lists the mirror serves unsigned"
      varnex_fetch_from_stale_lists "${missing[@]}" && varnex_apt_install "${missing[@]}"
      local rc=$?
      varnex_drop_stale_lists
      [ $rc -ne 0 ] || { rm -f "$update_log"; return 0; }
    fi
    rm -f "$update_log"
    # Without a current i386 list, wine32:i386 cannot match the versions of
    # the 64-bit libraries. The rest is installed, and tools/wine.sh then
    # finds no 32-bit Wine and takes the 64-bit path.
    local native=()
    for p in "${missing[@]}"; do [[ "$p" == *:* ]] || native+=("$p"); done
    [ ${#native[@]} -lt ${#missing[@]} ] || return 1
    echo "== Installing ${missing[*]} failed; installing again without the packages of another architecture"
    [ ${#native[@]} -eq 0 ] || varnex_apt_install "${native[@]}" || return 1
  else
    echo "Varnex needs these Debian packages. Run, then try again:"
    for arch in "${arches[@]}"; do echo "  sudo dpkg --add-architecture $arch"; done
    [ ${#arches[@]} -eq 0 ] || echo "  sudo apt-get update"
    echo "  sudo apt-get install -y ${missing[*]}"
    return 1
  fi
}
# The Windows program is built 32-bit (i686) and tested in a 64-bit and a
# 32-bit Wine prefix: wine64 and wine32:i386 both. wine32 is installed on
# every machine: tools/wine.sh starts its loader to learn whether the machine
# runs 32-bit programs, and where it does not, Wine is started through the
# 64-bit loader, which the 32-bit one then cannot get in the way of.
VARNEX_BUILD_PACKAGES=(cmake make g++ googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine wine64 wine32:i386 fonts-wine xvfb clang clang-format libclang-rt-14-dev llvm locales zip unzip)
# The release command builds both programs and zips them; it needs neither
# Wine nor GoogleTest.
VARNEX_RELEASE_PACKAGES=(cmake make g++ git zip g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64)
# Where the kernel runs no 32-bit program, a 64-bit build of the same sources
# runs the Windows tests instead.
VARNEX_WIN64_PACKAGES=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64)
# Locales Wine starts the end-to-end tests in: Wine takes the system's
# single-byte code page from LANG at each start, and without the locale
# generated non-ASCII file names do not convert. cs_CZ.UTF-8 is a Czech
# system, code page 1250; ja_JP.UTF-8 a Japanese one (932) and zh_CN.UTF-8 a
# Chinese one (936), whose code pages spell most letters with two bytes.
VARNEX_LOCALES=(cs_CZ.UTF-8 ja_JP.UTF-8 zh_CN.UTF-8)
varnex_need_locales() {
  local missing=() l
  for l in "$@"; do
    # locale -a spells "cs_CZ.UTF-8" as "cs_CZ.utf8".
    locale -a 2>/dev/null | grep -qix "${l%%.*}.utf-\?8" || missing+=("$l")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    varnex_need_packages locales || return 1
    echo "== Generating the locales ${missing[*]}"
    for l in "${missing[@]}"; do
      sed -i "s/^# *\(${l//./\\.} UTF-8\)/\1/" /etc/locale.gen
      grep -qx "${l//./\\.} UTF-8" /etc/locale.gen || echo "$l UTF-8" >>/etc/locale.gen
    done
    locale-gen >/dev/null || return 1
  else
    echo "The Wine tests need these locales. Run, then try again:"
    echo "  sudo apt-get install -y locales"
    for l in "${missing[@]}"; do echo "  sudo sed -i 's/^# *\\(${l} UTF-8\\)/\\1/' /etc/locale.gen"; done
    echo "  sudo locale-gen"
    return 1
  fi
}
