#!/usr/bin/env bash
# The HTML atlas of a 20,000-system cube: how long the export takes, and how
# long its index page takes in headless Chromium to draw its turning map and
# to finish loading (the page's own clock, from the start of navigation),
# beside the browser's whole run (start-up included). Prints milliseconds.
#   bench/atlas_page_load.sh [BUILD_DIR] [RUNS]
# The sector (a 27-parsec cube at density 100: 19,683 systems, every one
# listed on the index with a page of its own, settled) goes under
# $ORRIMAR_BENCH_DIR (default /tmp/orrimar-bench).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
runs="${2:-5}"
cli="$build/orrimar-cli"
command -v chromium >/dev/null || {
  echo "chromium not found (apt-get install chromium)" >&2
  exit 1
}
work="${ORRIMAR_BENCH_DIR:-/tmp/orrimar-bench}/atlas-page"
mkdir -p "$work"
cd "$work"
ms() { date +%s%3N; }

if [ ! -f cube27.sun ]; then
  "$cli" create --file cube27 --name "Bench Reach" --size 27 --density 100 --seed 1 \
    --replace --quiet
  "$cli" settle cube27 --seed 1 --quiet
fi
rm -rf atlas
start=$(ms)
"$cli" atlas cube27 --out atlas --quiet
end=$(ms)
systems=$(find atlas/systems -name 'system-*.html' | wc -l)
echo "export: $((end - start)) ms for $systems system pages, index $(($(stat -c %s atlas/index.html) / 1024)) KB"

attr() { grep -o "$1=\"[0-9]*\"" <<<"$2" | head -1 | grep -o '[0-9]*'; }
for run in $(seq 1 "$runs"); do
  start=$(ms)
  dom="$(chromium --headless=new --no-sandbox --disable-gpu --window-size=1200,900 --dump-dom \
    "file://$work/atlas/index.html" 2>/dev/null)"
  end=$(ms)
  echo "page $run: map drawn at $(attr data-drawn-ms "$dom") ms, loaded at $(attr data-loaded-ms "$dom") ms," \
    "$(attr data-dots "$dom") dots, $(attr data-labels "$dom") names; browser run $((end - start)) ms"
done
