# Sourced by the README's two commands: makes sure the Debian packages they
# need are there. As root it installs what is missing, first adding the i386
# architecture that 32-bit Wine (wine32:i386) comes from; otherwise it
# prints the exact lines to run and stops.
varnex_apt_install() {
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$@" >/dev/null
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
    apt-get update -qq || echo "== Some package lists could not be read; installing from the others"
    varnex_apt_install "${missing[@]}" && return 0
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
  wine wine64 wine32:i386 fonts-wine xvfb clang libclang-rt-14-dev llvm locales zip unzip)
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
