#!/usr/bin/env bash
# Every C++ file of the project stands as the house's .clang-format lays it
# out, so that a change shows only what it changes. Prints the files that
# differ, and fails; `clang-format -i FILE` lays one out.
#   check-format.sh PROJECT-FOLDER
set -euo pipefail
cd "$1"
failed=0
while IFS= read -r file; do
  clang-format --dry-run --Werror "$file" 2>/dev/null || { echo "$file is not laid out as .clang-format says"; failed=1; }
done < <(find src tests tools -name '*.cpp' -o -name '*.hpp' | sort)
exit $failed
