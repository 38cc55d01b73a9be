#!/usr/bin/env bash
# Takes a picture of the plug-in's preferences dialog as the stand-in player
# shows it under Xvfb into docs/preferences.png, the picture the README
# shows. Needs the Windows tree built by scripts/test-all.sh.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tree="$root/build/win"
[ -x "$tree/wine-run.sh" ] || { echo "build the Windows tree first (scripts/test-all.sh)" >&2; exit 1; }
export WINEPREFIX="$tree/wineprefix"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
TUNORA_PREFERENCES_PICTURE="Z:$work/preferences.bmp" xvfb-run -a "$root/scripts/wine-session.sh" \
  "$tree/wine-run.sh" "$tree/standin/winamp.exe" \
  --gtest_filter=Preferences.ShowsTheSettingsAndShowAndFocusFollowTheUpdateBox >"$work/standin.log" 2>&1 ||
  { cat "$work/standin.log"; exit 1; }
python3 "$root/scripts/bmp-to-png.py" "$work/preferences.bmp" "$root/docs/preferences.png"
echo "screenshot: docs/preferences.png"
