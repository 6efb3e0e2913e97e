#!/usr/bin/env bash
# The atlas's index page in headless Chromium: the turning map draws every
# system of a settled, seeded cube (and of a slab of it), names some, links
# every system page, survives a system named like markup, and a click on a
# system opens that system's page. Exits 77 (skipped) without Chromium.
#   atlas_in_browser.sh path/to/orrimar-cli scratch-folder
set -uo pipefail
cli="$1"
scratch="$2"

if ! command -v chromium >/dev/null 2>&1; then
  echo "chromium not found: the atlas map is not tested in a browser (apt-get install chromium)"
  exit 77
fi

rm -rf "$scratch"
mkdir -p "$scratch"
cd "$scratch" || exit 1
failed=0
fail() {
  echo "FAIL: $*"
  failed=1
}

# A cube of a few hundred systems, settled, one system named like markup.
"$cli" create --file sector --name "Browser Reach" --size 8 --density 40 --seed 1606 --quiet ||
  exit 1
"$cli" settle sector --seed 7 --quiet || exit 1
hostile='</script><b>Q&"A"'
"$cli" name sector --system 1 "$hostile" --quiet || exit 1
"$cli" atlas sector --out atlas --quiet || exit 1

# Chromium refuses to run as root inside its sandbox; the page is ours.
browse() {
  timeout 60 chromium --headless=new --no-sandbox --disable-gpu --window-size=1200,900 \
    --virtual-time-budget="${2:-1000}" --dump-dom "file://$scratch/atlas/index.html$1" 2>/dev/null
}
attr() { grep -o "$1=\"[0-9]*\"" <<<"$2" | head -1 | grep -o '[0-9]*'; }

dom="$(browse "")"
# The data as the page holds it: one array per system, [id,x,y,z,...].
data="$(sed -n 's:.*<script id="atlas-map-data" type="application/json">\(.*\)</script>.*:\1:p' atlas/index.html)"
rows="$(grep -o '\[[0-9]*,-\?[0-9]*,-\?[0-9]*,-\?[0-9]*,' <<<"$data" | tr -d '[')"
systems="$(wc -l <<<"$rows")"
pages="$(find atlas/systems -name 'system-*.html' | wc -l)"
[ "$systems" -gt 100 ] || fail "the data holds only $systems systems"
[ "$pages" -eq "$systems" ] || fail "$pages system pages for $systems systems"
[ "$(attr data-systems "$dom")" = "$systems" ] || fail "data-systems is '$(attr data-systems "$dom")', not $systems"
[ "$(attr data-dots "$dom")" = "$systems" ] || fail "drew $(attr data-dots "$dom") dots of $systems systems"
[ "$(attr data-linked "$dom")" = "$pages" ] || fail "$(attr data-linked "$dom") systems linked of $pages pages"
labels="$(attr data-labels "$dom")"
[ -n "$labels" ] && [ "$labels" -gt 0 ] || fail "no names on the map (data-labels '$labels')"
grep -q 'class="map-live' <<<"$dom" || fail "the script did not mark the page as live"
echo "drew $(attr data-dots "$dom") dots, $labels names, in $(attr data-drawn-ms "$dom") ms"

# Every system page is linked from the map's data, and every link is a page.
grep -o '"systems/[0-9]*/system-[0-9]*\.html"' <<<"$data" | tr -d '"' | sort >linked.txt
(cd atlas && find systems -name 'system-*.html' | sort) >written.txt
cmp -s linked.txt written.txt || fail "the map's links differ from the pages: $(diff linked.txt written.txt | head -5)"

# The markup-like name reaches the page only escaped, and the map still drew.
grep -q '\\u003c/script\\u003e\\u003cb\\u003eQ\\u0026\\"A\\"' <<<"$data" || fail "the hostile name is not escaped"

# A slab of z: exactly the systems within it are drawn.
read -r zlo zhi < <(awk -F, '{ print $4 }' <<<"$rows" | sort -n | sed -n '1p;$p' | tr '\n' ' ')
from=$((zlo + 2))
to=$((zhi - 3))
inslab="$(awk -F, -v a="$from" -v b="$to" '$4 >= a && $4 <= b' <<<"$rows" | wc -l)"
slab="$(browse "#slab=$from,$to")"
[ "$(attr data-dots "$slab")" = "$inslab" ] || fail "slab $from..$to drew $(attr data-dots "$slab") dots, not $inslab"
[ "$inslab" -lt "$systems" ] || fail "the slab $from..$to holds every system"

# A click on a system, turned, opens its page.
target="$(tail -1 <<<"$rows" | cut -d, -f1)"
opened="$(browse "#view=30,40&click=$target" 3000)"
grep -q "ystem $target of Browser Reach" <<<"$opened" || fail "a click on system $target did not open its page"

exit "$failed"
