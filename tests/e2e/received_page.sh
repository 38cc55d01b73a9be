#!/usr/bin/env bash
# The page the stand-in player received from the plug-in, opened in headless
# Chromium: the plug-in's scenario keeps the page, then the browser check
# reads what a person would see.
# Usage: received_page.sh EMULATOR STANDIN_EXE [SCREENSHOT]
set -euo pipefail
emulator="$1" standin="$2" screenshot="${3:-}"
here="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
page="$work/received.htm"
TUNORA_RECEIVED_PAGE="Z:$page" WINEDEBUG=-all "$emulator" "$standin" \
  --gtest_filter=PluginInPlayer.TheBuiltInTemplateInAClassicSkin >"$work/standin.log" 2>&1 ||
  { cat "$work/standin.log"; exit 1; }
[ -f "$page" ] || { echo "the stand-in kept no page"; cat "$work/standin.log"; exit 1; }
exec node "$here/received_page.mjs" "$page" $screenshot
