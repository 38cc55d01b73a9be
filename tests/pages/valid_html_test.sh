#!/usr/bin/env bash
# Every built-in page, as tunora writes it about the sample music, starts with
# the HTML5 doctype (so that browsers use standards mode) and passes HTML Tidy
# without errors (warnings are allowed: the templates keep their old markup).
# Usage: valid_html_test.sh TUNORA SOURCE_DIR START_PAGE
set -euo pipefail
tunora="$1" source="$2" start_page="$3"
command -v tidy >/dev/null || { echo "skipped: no tidy"; exit 77; }
samples="$source/samples"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

page() {
  local name="$1"
  shift
  "$tunora" page -o "$tmp/$name.utf16" "$@" >/dev/null 2>"$tmp/$name.err" || [ "$name" = none ] ||
    { cat "$tmp/$name.err"; fail "tunora page for $name"; }
  iconv -f UTF-16 -t UTF-8 "$tmp/$name.utf16" >"$tmp/$name.html"
}
mkdir "$tmp/empty"
page single "$samples/01 - Morning Tone.mp3"
page multiple "$samples/01 - Morning Tone.mp3" "$samples/02 - Noon Tone.ogg" \
  "$samples/03 - Evening Tone.flac"
page directory --directory "$samples"
page mini --mini "$samples/02 - Noon Tone.ogg"
page none --directory "$tmp/empty"
# The start page is shown by the plug-in alone: its colours as the plug-in
# fills them in.
sed 's/<\$cl[a-z]*\$>/#102030/g' "$start_page" >"$tmp/start.html"

checked=0
for name in single multiple directory mini none start; do
  file="$tmp/$name.html"
  [ "$(head -n 1 "$file" | tr -d '\r')" = "<!DOCTYPE html>" ] ||
    fail "the $name page does not begin with <!DOCTYPE html>: $(head -n 1 "$file")"
  status=0
  tidy -q -e "$file" >"$tmp/tidy.log" 2>&1 || status=$?
  if [ "$status" -ge 2 ]; then
    grep -E 'Error:' "$tmp/tidy.log" >&2 || cat "$tmp/tidy.log" >&2
    fail "tidy finds errors in the $name page"
  fi
  checked=$((checked + 1))
done
echo "$checked pages begin with the doctype and have no tidy errors"
