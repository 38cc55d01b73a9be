#!/usr/bin/env bash
# The latency of `tunora serve`: GET / 1,000 times, each on a new connection,
# against Python's static file server serving a copy of the same page, in the
# same run and in turns, so that both meet the same machine load. Prints the
# median and 99th percentile of each and their ratio.
#
#   bench/serve/run.sh [--requests N] [--tunora PATH]
#
# The page is the one serve builds while mpv (with mpv-mpris, on a session
# bus of the benchmark's own) plays a sample; without --tunora the native
# Debug build in build/dev is used.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
requests=1000
tunora="$root/build/dev/src/tunora"
while [ $# -gt 0 ]; do
  case "$1" in
    --requests) requests="$2"; shift 2 ;;
    --tunora) tunora="$2"; shift 2 ;;
    *) echo "usage: $0 [--requests N] [--tunora PATH]" >&2; exit 2 ;;
  esac
done
for program in mpv dbus-daemon python3 "$tunora"; do
  command -v "$program" >/dev/null || { echo "bench/serve: $program is missing" >&2; exit 1; }
done

# shellcheck source=scripts/private-session-bus.sh
. "$root/scripts/private-session-bus.sh"

cp "$root/samples/03 - Evening Tone.flac" "$root/samples/folder.jpg" "$work/"
"$tunora" serve --listen 127.0.0.1:0 >"$work/serve.out" 2>"$work/serve.err" &
pids+=($!)
mpv --no-config --script=/usr/lib/mpv-mpris/mpris.so --no-video --ao=null --loop-file=inf \
  --really-quiet "$work/03 - Evening Tone.flac" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q "Serving the page of" "$work/serve.out" && break; sleep 0.1; done
grep -q "Serving the page of" "$work/serve.out" || { cat "$work/serve.err" >&2; exit 1; }
serve_url="$(grep -o 'http://[^ ]*/' "$work/serve.out" | head -1)"

mkdir "$work/static"
python3 - "$serve_url" "$work/static/index.html" <<'PY'
import sys, urllib.request
with urllib.request.urlopen(sys.argv[1]) as answer, open(sys.argv[2], "wb") as page:
    page.write(answer.read())
PY
python3 -m http.server --bind 127.0.0.1 --directory "$work/static" 0 >"$work/static.out" 2>&1 &
pids+=($!)
for _ in $(seq 50); do grep -q "Serving HTTP" "$work/static.out" && break; sleep 0.1; done
static_url="http://127.0.0.1:$(grep -o 'port [0-9]*' "$work/static.out" | cut -d' ' -f2)/"

python3 "$here/latency.py" "$requests" "tunora serve=$serve_url" "python3 -m http.server=$static_url"
