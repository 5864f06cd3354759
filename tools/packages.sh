# Sourced by the README's two commands: makes sure the Debian packages they
# need are there. As root it installs what is missing; otherwise it prints
# the one apt-get line to run and stops.
varnex_need_packages() {
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "== Installing ${missing[*]}"
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null || return 1
  else
    echo "Varnex needs these Debian packages. Run, then try again:"
    echo "  sudo apt-get install -y ${missing[*]}"
    return 1
  fi
}
VARNEX_BUILD_PACKAGES=(cmake make g++ googletest libgtest-dev libbenchmark-dev g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 fonts-wine xvfb clang libclang-rt-14-dev llvm)
