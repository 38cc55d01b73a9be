#!/usr/bin/env bash
# Plays a sample song in mpv on a session bus of its own, lets `tunora serve
# --template overlay` serve its overlay, and renders it with headless Chromium
# over a dark and over a light background into docs/overlay-dark.png and
# docs/overlay-light.png, the pictures docs/templates.md shows. Everything it
# starts is ended by its process id.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
tunora="${1:-$root/build/dev/src/tunora}"
# shellcheck source=scripts/private-session-bus.sh
. "$root/scripts/private-session-bus.sh"

cp "$root/samples/03 - Evening Tone.flac" "$root/samples/folder.jpg" "$work/"
"$tunora" serve --listen 127.0.0.1:0 --template overlay >"$work/serve.out" 2>"$work/serve.err" &
pids+=($!)
mpv --no-config --script=/usr/lib/mpv-mpris/mpris.so --no-video --ao=null \
  --loop-file=inf --really-quiet "$work/03 - Evening Tone.flac" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do grep -q "Serving the page of" "$work/serve.out" && break; sleep 0.1; done
grep -q "Serving the page of" "$work/serve.out" || { cat "$work/serve.err" >&2; exit 1; }
url="$(grep -o 'http://[^ ]*/' "$work/serve.out" | head -1)"

# The overlay is transparent: the browser's own background shows through.
for shade in dark:202228FF light:EDEFF2FF; do
  name="${shade%%:*}"
  env -u DBUS_SESSION_BUS_ADDRESS chromium --headless --no-sandbox --disable-gpu \
    --disable-background-networking --disable-component-update --no-first-run \
    --user-data-dir="$work/profile-$name" --hide-scrollbars --window-size=800,200 \
    --default-background-color="${shade#*:}" --screenshot="$root/docs/overlay-$name.png" \
    "$url" >/dev/null 2>&1
  echo "screenshot: docs/overlay-$name.png"
done
