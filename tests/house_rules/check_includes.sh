#!/usr/bin/env bash
# Compares every project include of every file under src/ with the table of
# folders it may use (allowed_includes.txt beside this script). Prints each
# include that breaks the table, and fails when there is one, or when a
# folder of src/ is missing from the table.
#   check_includes.sh SOURCE_DIR
set -uo pipefail
src="$1/src"
table="$(dirname "$0")/allowed_includes.txt"
declare -A allowed
while IFS= read -r line; do
  line="${line%%#*}"
  [ -z "${line// }" ] && continue
  folder="${line%%:*}"
  allowed[$folder]=" ${line#*:} "
done < "$table"

failed=0
for dir in "$src"/*/; do
  folder="$(basename "$dir")"
  if [ -z "${allowed[$folder]+x}" ]; then
    echo "src/$folder is not in $table: say which folders it may include"
    failed=1
    continue
  fi
  while IFS= read -r hit; do
    file="${hit%%:*}"
    rest="${hit#*:}"
    number="${rest%%:*}"
    target="$(sed -E 's/.*#include "([a-z_0-9]+)\/.*/\1/' <<<"$rest")"
    [ "$target" = "$folder" ] && continue
    [ -d "$src/$target" ] || continue
    if [[ "${allowed[$folder]}" != *" $target "* ]]; then
      echo "${file#"$1"/}:$number includes $target/, which $folder/ may not use"
      failed=1
    fi
  done < <(grep -rnoE '#include "[a-z_0-9]+/[^"]+"' "$dir" --include='*.h' --include='*.cpp')
done
[ $failed -eq 0 ] && echo "every include of src/ keeps to the table"
exit $failed
