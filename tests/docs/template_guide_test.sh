#!/usr/bin/env bash
# The template guide stays true: its worked example, rendered by tunora with
# the sample music, gives exactly the page the guide shows, and every token
# that the template processor knows is described.
# Usage: template_guide_test.sh TUNORA SOURCE_DIR
set -euo pipefail
tunora="$1" source="$2"
guide="$source/docs/templates.md"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The fenced block after the marker comment NAME.
block() {
  awk -v marker="<!-- $1 -->" '
    $0 == marker { found = 1; next }
    found && /^```/ { if (inside) exit; inside = 1; next }
    inside { print }' "$guide"
}

block "example template" >"$tmp/example.txt"
block "example page" >"$tmp/expected.html"
[ -s "$tmp/example.txt" ] && [ -s "$tmp/expected.html" ] || fail "no example in $guide"
cp "$tmp/example.txt" "$tmp/example.html"
(cd "$tmp" && "$tunora" page --template example.html --directory "$source/samples" \
  -o page.html >/dev/null) || fail "tunora page with the example"
iconv -f UTF-16 -t UTF-8 "$tmp/page.html" | tr -d '\r' >"$tmp/page.txt"
diff -u "$tmp/expected.html" "$tmp/page.txt" || fail "the example renders differently from the guide"

tokens="$(grep -rhoE '<\$[a-z]+(\$>|=)' "$source/src/htmlcreator" "$source/src/trackinfo" --include='*.cpp' --include='*.h' | sort -u)"
[ "$(wc -l <<<"$tokens")" -ge 30 ] || fail "too few tokens found in the sources: $tokens"
for token in $tokens; do
  grep -qF -- "$token" "$guide" || fail "the guide does not describe $token"
done
echo "the example renders as shown; $(wc -l <<<"$tokens") tokens described"
