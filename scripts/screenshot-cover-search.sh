#!/usr/bin/env bash
# Takes a picture of the Cover-Search dialog showing a cover, as the stand-in
# player shows it under Xvfb with the stand-in store, into
# docs/cover-search.png, the picture the README shows. Needs the Windows tree
# built by scripts/test-all.sh.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tree="$root/build/win"
[ -x "$tree/wine-run.sh" ] || { echo "build the Windows tree first (scripts/test-all.sh)" >&2; exit 1; }
export WINEPREFIX="$tree/wineprefix"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
TUNORA_COVER_SEARCH_PICTURE="Z:$work/cover-search.bmp" xvfb-run -a "$root/scripts/wine-session.sh" \
  "$tree/wine-run.sh" "$tree/standin/winamp.exe" \
  --gtest_filter=CoverSearchInPlayer.SearchShowsTheResultsAndTheCoverOfTheOneSelected \
  >"$work/standin.log" 2>&1 || { cat "$work/standin.log"; exit 1; }
python3 "$root/scripts/bmp-to-png.py" "$work/cover-search.bmp" "$root/docs/cover-search.png"
echo "screenshot: docs/cover-search.png"
