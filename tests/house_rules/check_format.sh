#!/usr/bin/env bash
# Every C++ file of the project follows the house style that .clang-format at
# the top of the tree describes. Prints the files that do not (with the first
# lines clang-format would change) and fails when there is one.
#   check_format.sh SOURCE_DIR
# Mend a file with: clang-format -i FILE
set -uo pipefail
root="$1"
if ! command -v clang-format >/dev/null; then
  echo "clang-format is not installed (scripts/install-deps installs it)"
  exit 1
fi
mapfile -d '' files < <(find "$root/src" "$root/tests" "$root/bench" "$root/fuzz" \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
# One run over every file is quick; only on a failure is each file asked on
# its own, to name it.
clang-format --dry-run --Werror "${files[@]}" >/dev/null 2>&1 && exit 0
for file in "${files[@]}"; do
  if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
    echo "${file#"$root"/} does not follow .clang-format:"
    clang-format --dry-run "$file" 2>&1 | head -6
  fi
done
exit 1
