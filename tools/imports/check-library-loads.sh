#!/usr/bin/env bash
# The program runs with administrator rights and may sit in Downloads beside
# a planted DLL: no library may be loaded by a bare name, which Windows
# would look for in the program's folder first. Every LoadLibrary call in
# the sources must take a path built from the system folder in the same
# function (winapi::SystemLibrary), never a name. Prints each call that does
# not, and fails.
#   check-library-loads.sh SOURCE-FOLDER...
set -euo pipefail
failed=0
while IFS= read -r file; do
  # Each call with the text of its function up to it: from the last line
  # that opens a function (a line ending in "{" at the left margin's depth).
  report=$(awk '
    /^[^ \t\/#].*\{[ \t]*$/ || /^    [a-zA-Z].*\) *(const *)?(noexcept *)?\{[ \t]*$/ { body = "" }
    { body = body "\n" $0 }
    /^[ \t]*\/\// { next }
    /LoadLibrary(Ex)?[AW]?[ \t]*\(/ {
      call = $0
      sub(/.*LoadLibrary(Ex)?[AW]?[ \t]*\(/, "", call)
      if (call ~ /^[ \t]*(L|u8)?"/) { print FILENAME ":" FNR ": takes a name: " $0; next }
      if (body !~ /GetSystemDirectory[AW]?[ \t]*\(/) { print FILENAME ":" FNR ": takes no path of the system folder: " $0 }
    }' "$file")
  if [ -n "$report" ]; then echo "$report"; failed=1; fi
done < <(grep -rlE "LoadLibrary(Ex)?[AW]?[[:space:]]*\(" "$@" --include='*.cpp' --include='*.hpp' --include='*.h' || true)
[ "$failed" = 0 ] && echo "every library is loaded from the system folder"
exit $failed
