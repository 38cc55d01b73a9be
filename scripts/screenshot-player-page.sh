#!/usr/bin/env bash
# Renders the page that the plug-in gives the stand-in player (a classic
# skin's colours) with headless Chromium into docs/player-page.png, the
# picture the README shows. Needs the Windows tree built by scripts/test-all.sh.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tree="$root/build/win"
[ -x "$tree/wine-run.sh" ] || { echo "build the Windows tree first (scripts/test-all.sh)" >&2; exit 1; }
export WINEPREFIX="$tree/wineprefix"
xvfb-run -a "$root/scripts/wine-session.sh" "$root/tests/e2e/received_page.sh" \
  "$tree/wine-run.sh" "$tree/standin/winamp.exe" "$root/docs/player-page.png"
echo "screenshot: docs/player-page.png"
