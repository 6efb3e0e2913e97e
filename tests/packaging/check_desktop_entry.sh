#!/usr/bin/env bash
# The desktop entry and the sector's file type agree: the entry offers the
# desktop program for the type the XML gives *.sun, and passes it the file.
# Validates both with the desktop's own tools when they are installed.
set -euo pipefail
desktop="$1"
mime="$2"
fail() { echo "FAIL: $*" >&2; exit 1; }

type="$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$mime")"
[ "$type" = "application/x-orrimar-sector" ] || fail "$mime declares '$type'"
grep -q '<glob pattern="\*\.sun"' "$mime" || fail "$mime gives no glob for *.sun"
grep -qx "MimeType=$type;" "$desktop" || fail "$desktop does not offer itself for $type"
grep -qx 'Exec=orrimar %f' "$desktop" || fail "$desktop does not pass the file to orrimar"

if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$desktop" || fail "$desktop is not a valid desktop entry"
fi
if command -v xmllint >/dev/null 2>&1; then
  xmllint --noout "$mime" || fail "$mime is not well-formed"
fi
echo "desktop entry and file type agree"
