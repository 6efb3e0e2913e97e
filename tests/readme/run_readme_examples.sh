#!/usr/bin/env bash
# Runs every command line of the README's command-line section, exactly as
# written, in a scratch folder laid out like the repository root (the tool at
# build/orrimar-cli). A README whose examples drift from the program fails.
#   run_readme_examples.sh README.md path/to/orrimar-cli scratch-folder
set -uo pipefail
readme="$1"
cli="$2"
scratch="$3"

rm -rf "$scratch"
mkdir -p "$scratch/build"
ln -s "$cli" "$scratch/build/orrimar-cli"
cd "$scratch" || exit 1

# Lines inside ```sh fences between "## The command-line tool" and the next
# "## " heading; blank lines and whole-line comments skipped.
mapfile -t lines < <(awk '
  /^## / { inside = ($0 ~ /^## The command-line tool/) ; next }
  inside && /^```sh/ { fence = 1; next }
  inside && /^```/ { fence = 0; next }
  inside && fence && $0 !~ /^[[:space:]]*(#|$)/ { print }
' "$readme")

if [ ${#lines[@]} -eq 0 ]; then
  echo "No command lines found in the command-line section of $readme"
  exit 1
fi

failed=0
# Twice: the examples say what they mean (--replace), so a reader who runs
# them again gets the same result instead of a refusal or doubled systems.
for line in "${lines[@]}" "${lines[@]}"; do
  echo "\$ $line"
  if ! bash -c "$line" >out.txt 2>err.txt; then
    echo "FAILED: $line"
    cat out.txt err.txt
    failed=1
  elif [ -s err.txt ]; then
    # A clean run says nothing on the error stream.
    echo "Unexpected error output from: $line"
    cat err.txt
    failed=1
  else
    head -n 3 out.txt
  fi
done
exit $failed
