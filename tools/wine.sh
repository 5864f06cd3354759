#!/usr/bin/env bash
# The one place that knows whether this machine runs 32-bit programs and how
# Wine is to be started here. Every script and every Wine test goes through it.
#
# Some kernels run no 32-bit program at all (no IA32 emulation). There Wine 8
# cannot start the 32-bit varnex.exe in any prefix, and Debian's `wine`
# launchers still pick the 32-bit loader whenever wine32 is installed, so
# that even a 64-bit prefix never comes up. On such a machine Wine is started
# through its 64-bit loader directly, and only 64-bit programs run.
#
# Whether 32-bit programs run is found out by starting the 32-bit loader, not
# guessed from installed files. VARNEX_NO_32BIT=1 takes the "no 32-bit" path
# on a machine that could run them, so that both paths can be tried anywhere.
# The answer is kept in VARNEX_WINE_32BIT (yes/no) and, for "no", the reason
# in VARNEX_WINE_WHY; both are exported, so the programs a script starts, and
# a build folder configured with them, follow the same answer.
#
# Debian's wineserver launcher takes the 64-bit server wherever it is
# installed, so both paths call it as it is.
#
# Sourced, it defines `wine` for the script; run, it is Wine:
#   tools/wine.sh PROGRAM [ARGS...]   runs PROGRAM under Wine as decided here
#   tools/wine.sh --decide            prints "yes", or "no: <reason>"

varnex_wine_loader32=/usr/lib/wine/wine
varnex_wine_loader64=/usr/lib/wine/wine64

varnex_wine_decide() {
  case "${VARNEX_WINE_32BIT:-}" in yes|no) return 0 ;; esac
  local answer
  if [ "${VARNEX_NO_32BIT:-0}" = 1 ]; then
    VARNEX_WINE_32BIT=no VARNEX_WINE_WHY="VARNEX_NO_32BIT=1 asks for the 64-bit path"
  elif [ ! -e "$varnex_wine_loader32" ]; then
    VARNEX_WINE_32BIT=no VARNEX_WINE_WHY="32-bit Wine (wine32:i386) is not installed"
  elif answer=$("$varnex_wine_loader32" --version 2>&1 </dev/null); then
    VARNEX_WINE_32BIT=yes VARNEX_WINE_WHY=""
  else
    # The shell names itself before the kernel's answer; keep the answer.
    answer=$(printf '%s' "$answer" | tail -n 1)
    VARNEX_WINE_32BIT=no VARNEX_WINE_WHY="$varnex_wine_loader32 --version answers \"${answer##*: }\""
  fi
  export VARNEX_WINE_32BIT VARNEX_WINE_WHY
}

# Debian's launcher where 32-bit programs run, as everywhere else; the 64-bit
# loader itself where they do not.
wine() {
  varnex_wine_decide
  if [ "$VARNEX_WINE_32BIT" = yes ]; then
    command wine "$@"
  else
    WINELOADER=$varnex_wine_loader64 "$varnex_wine_loader64" "$@"
  fi
}

# The line a test or a script prints where the 32-bit program cannot run.
varnex_no32_line() {
  varnex_wine_decide
  echo "the 32-bit program cannot run under Wine here: $VARNEX_WINE_WHY"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  case "${1:-}" in
  --decide)
    varnex_wine_decide
    if [ "$VARNEX_WINE_32BIT" = yes ]; then echo yes; else echo "no: $VARNEX_WINE_WHY"; fi ;;
  "") echo "usage: $0 PROGRAM [ARGS...] | --decide" >&2; exit 2 ;;
  *) varnex_wine_decide
    [ "$VARNEX_WINE_32BIT" = yes ] && exec wine "$@"
    export WINELOADER=$varnex_wine_loader64
    exec "$varnex_wine_loader64" "$@" ;;
  esac
fi
