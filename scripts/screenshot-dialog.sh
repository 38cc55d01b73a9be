#!/usr/bin/env bash
# Takes a picture of one of the plug-in's dialogs as the stand-in player shows
# it under Xvfb into docs/DIALOG.png, the picture the README shows:
#   scripts/screenshot-dialog.sh preferences     the preferences dialog
#   scripts/screenshot-dialog.sh cover-search    the Cover-Search dialog with a
#                                                cover from the stand-in store
# The test that opens the dialog saves it where TUNORA_DIALOG_PICTURE says.
# Needs the Windows tree built by scripts/test-all.sh.
set -euo pipefail
case "${1:-}" in
  preferences) test=Preferences.ShowsTheSettingsAndShowAndFocusFollowTheUpdateBox ;;
  cover-search) test=CoverSearchInPlayer.SearchShowsTheResultsAndTheCoverOfTheOneSelected ;;
  *) echo "usage: $0 preferences|cover-search" >&2; exit 2 ;;
esac
root="$(cd "$(dirname "$0")/.." && pwd)"
tree="$root/build/win"
[ -x "$tree/wine-run.sh" ] || { echo "build the Windows tree first (scripts/test-all.sh)" >&2; exit 1; }
export WINEPREFIX="$tree/wineprefix"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
TUNORA_DIALOG_PICTURE="Z:$work/dialog.bmp" xvfb-run -a "$root/scripts/wine-session.sh" \
  "$tree/wine-run.sh" "$tree/standin/winamp.exe" --gtest_filter="$test" \
  >"$work/standin.log" 2>&1 || { cat "$work/standin.log"; exit 1; }
python3 "$root/scripts/bmp-to-png.py" "$work/dialog.bmp" "$root/docs/$1.png"
echo "screenshot: docs/$1.png"
