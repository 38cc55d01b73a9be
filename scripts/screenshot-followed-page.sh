#!/usr/bin/env bash
# Plays the sample music in mpv on a session bus of its own, lets
# `tunora follow` write the page of the playing song, and renders that page
# with headless Chromium into docs/followed-page.png, the picture the README
# shows. Everything it starts is ended by its process id.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tunora="${1:-$root/build/dev/src/tunora}"
# shellcheck source=scripts/private-session-bus.sh
. "$root/scripts/private-session-bus.sh"

page="$work/page/tunora.html"
"$tunora" follow -o "$page" >"$work/follow.out" 2>"$work/follow.err" &
pids+=($!)
mpv --no-config --script=/usr/lib/mpv-mpris/mpris.so --no-video --ao=null \
  --loop-file=inf --really-quiet "$root/samples/03 - Evening Tone.flac" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do grep -q "Page of" "$work/follow.out" && break; sleep 0.1; done
grep -q "Page of" "$work/follow.out" || { cat "$work/follow.err" >&2; exit 1; }

profile="$work/profile"
# The browser keeps to the desktop's own bus, if any.
env -u DBUS_SESSION_BUS_ADDRESS chromium --headless --no-sandbox --disable-gpu --disable-background-networking \
  --disable-component-update --no-first-run --user-data-dir="$profile" \
  --hide-scrollbars --window-size=760,640 --screenshot="$root/docs/followed-page.png" \
  "file://$page" >/dev/null 2>&1
echo "screenshot: docs/followed-page.png"
