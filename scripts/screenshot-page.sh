#!/usr/bin/env bash
# Renders the demo page (scripts/demo.sh) with headless Chromium into
# docs/page.png, the picture the README shows.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
page="$root/build/demo/tunora.html"
[ -f "$page" ] || "$root/scripts/demo.sh" >/dev/null
profile="$(mktemp -d)"
trap 'rm -rf "$profile"' EXIT
mkdir -p "$root/docs"
chromium --headless --no-sandbox --disable-gpu --disable-background-networking \
  --disable-component-update --no-first-run --user-data-dir="$profile" \
  --hide-scrollbars --window-size=760,640 --screenshot="$root/docs/page.png" \
  "file://$page" >/dev/null 2>&1
echo "screenshot: docs/page.png"
