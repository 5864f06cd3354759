#!/usr/bin/env bash
# Reads the import table of a Windows program and checks it against the list
# of allowed imports: every imported DLL and function must be listed, and no
# listed entry may need a newer Windows than the oldest the program is made
# for. The subsystem and system versions in the program's header must name
# that oldest Windows: the loader refuses a program that asks for a newer
# one, and treats one that names an older one as written before it. Prints what
# is wrong and fails; prints the imported DLLs when all is well.
#   check-imports.sh OBJDUMP PROGRAM.exe ALLOWED-LIST OLDEST-WINDOWS
set -euo pipefail
objdump=$1 program=$2 list=$3 oldest=$4
versions=(2000 XP Vista 7 8 8.1 10)
nt_versions=(5.00 5.01 6.00 6.01 6.02 6.03 10.00)
rank() {
  local i
  for i in "${!versions[@]}"; do [ "${versions[$i]}" = "$1" ] && { echo "$i"; return; }; done
  echo -1
}
oldest_rank=$(rank "$oldest")
[ "$oldest_rank" -ge 0 ] || { echo "unknown Windows version '$oldest'" >&2; exit 2; }

# "DLL function" per import, DLL names in lower case as Windows compares them;
# an import by number alone is listed as "#number".
imports=$("$objdump" -p "$program" | awk '
  /^\tDLL Name: / { dll = tolower($3); next }
  /^$/ { dll = "" }
  dll && /^\t[0-9a-f]+\t +[0-9]+  [^ ]/ { print dll, $3 }
  dll && /^\t[0-9a-f]+\t +[0-9]+ *$/ { print dll, "#" $2 }
  dll && /<none>/ { print dll, "#" $2 }' | sort -u)
[ -n "$imports" ] || { echo "$program: no import table found" >&2; exit 1; }

failed=0
header_version() {
  "$objdump" -p "$program" | awk -v field="$1" '
    $1 == "Major" field "Version" { major = $2 } $1 == "Minor" field "Version" { minor = $2 }
    END { printf "%d.%02d", major, minor }'
}
subsystem=$(header_version Subsystem)
if awk -v a="$subsystem" -v b="${nt_versions[$oldest_rank]}" 'BEGIN { exit !(a + 0 > b + 0) }'; then
  echo "$(basename "$program") asks for Windows NT $subsystem in its header, newer than Windows $oldest (${nt_versions[$oldest_rank]})"
  failed=1
fi
# Below 6.0 Windows treats the program as one written before Vista and
# gives its windows the old frame metrics: the header names the oldest
# Windows exactly, in both of its version fields.
for field in Subsystem OSystem; do
  version=$(header_version $field)
  if [ "$version" != "${nt_versions[$oldest_rank]}" ]; then
    echo "$(basename "$program") names Windows NT $version as its $field version, not Windows $oldest (${nt_versions[$oldest_rank]})"
    failed=1
  fi
done

declare -A allowed
while read -r dll function version rest; do
  [ -z "${dll:-}" ] || [ "${dll:0:1}" = "#" ] && continue
  if [ -z "${version:-}" ] || [ -n "${rest:-}" ] || [ "$(rank "$version")" -lt 0 ]; then
    echo "$list: bad line: $dll $function ${version:-} ${rest:-}"; failed=1; continue
  fi
  allowed["${dll,,} $function"]=$version
  if [ "$(rank "$version")" -gt "$oldest_rank" ]; then
    echo "$dll $function needs Windows $version, newer than Windows $oldest: bind it at run time instead"
    failed=1
  fi
done <"$list"

while read -r dll function; do
  if [ -z "${allowed["$dll $function"]+x}" ]; then
    echo "$(basename "$program") imports $dll $function, which $list does not list:"
    echo "  add it with the oldest Windows that has it, or bind it at run time"
    failed=1
  fi
done <<<"$imports"

dlls=$(awk '{print $1}' <<<"$imports" | sort -u | tr '\n' ' ')
echo "$(basename "$program") imports $(wc -l <<<"$imports") functions from: $dlls"
exit $failed
