#!/usr/bin/env bash
# The whole-program benchmark: `tunora tags --json` as a user runs it over a
# library (find | xargs -0 -n 500), against a floor program that only opens
# each file, reads its first 64 KB and last 4 KB and closes it, and against
# TagLib printing the same values. Also the peak memory of `tunora tags`, and
# the time and peak memory of `tunora page` with every file as an argument.
#
#   bench/whole_program/run.sh [--runs N] [--library FOLDER] [--tunora PATH]
#
# Without --library a library of 2,000 files is generated into a temporary
# folder (and removed afterwards); without --tunora a Release build is made
# in build/bench-release. Needs Debian's libtag1-dev, libjpeg-turbo-progs
# (cjpeg) and hyperfine, installed here when missing.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
runs=10
library=""
tunora=""
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs="$2"; shift 2 ;;
    --library) library="$2"; shift 2 ;;
    --tunora) tunora="$2"; shift 2 ;;
    *) echo "usage: $0 [--runs N] [--library FOLDER] [--tunora PATH]" >&2; exit 2 ;;
  esac
done

missing=()
pkg-config --exists taglib 2>/dev/null || missing+=(libtag1-dev pkg-config)
command -v cjpeg >/dev/null || missing+=(libjpeg-turbo-progs)
command -v hyperfine >/dev/null || missing+=(hyperfine)
[ -x /usr/bin/time ] || missing+=(time)
if [ ${#missing[@]} -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi

work="$(mktemp -d)"
cleanup() { rm -rf "$work"; }
trap cleanup EXIT

if [ -z "$tunora" ]; then
  cmake -S "$root" -B "$root/build/bench-release" -DCMAKE_BUILD_TYPE=Release -DTUNORA_TESTS=OFF \
    >/dev/null
  cmake --build "$root/build/bench-release" -j2 --target tunora >/dev/null
  tunora="$root/build/bench-release/src/tunora"
fi
g++ -O2 -o "$work/floor" "$here/floor.cpp"
# shellcheck disable=SC2046
g++ -O2 -o "$work/taglib_tags" "$here/taglib_tags.cpp" $(pkg-config --cflags --libs taglib)

if [ -z "$library" ]; then
  library="$work/library"
  python3 "$here/make_library.py" "$library"
fi
find "$library" -type f -print0 | sort -z >"$work/all.list"
find "$library" -type f -name '*.mp3' -print0 | sort -z >"$work/mp3.list"
count() { tr -cd '\0' <"$1" | wc -c; }
echo "library: $(count "$work/all.list") files, $(count "$work/mp3.list") MP3; $(du -sh "$library" | cut -f1)"

# Median wall time of each command, run in turn round after round, then the
# ratios the targets are about (medians of the per-round ratios).
compare() {
  local list="$1" label="$2"
  python3 "$here/interleaved.py" --runs "$runs" --warmup 2 --label "$label" \
    --ratio tunora/floor --ratio taglib/tunora \
    "floor=xargs -0 -n 500 -a $list $work/floor" \
    "tunora=xargs -0 -n 500 -a $list $tunora tags --json" \
    "taglib=xargs -0 -n 500 -a $list $work/taglib_tags"
  echo "  targets: tunora / floor <= 1.0, taglib / tunora >= 3"
}
compare "$work/all.list" "whole library"
compare "$work/mp3.list" "MP3 files"

# Large enough for every file in one command line.
one=1000000
# Peak resident memory: the largest of the tunora processes xargs starts.
peak() { /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F': ' '/Maximum resident/ {printf "%.1f MB", $2 / 1024}'; }
echo "tunora tags --json peak memory: $(peak xargs -0 -n 500 -a "$work/all.list" "$tunora" tags --json)" \
  "with 500 files a process, $(peak xargs -0 -s "$one" -a "$work/all.list" "$tunora" tags --json) with all in one"

# The multiple-tracks page of every file, each track with its cover.
mkdir -p "$work/page"
xargs -0 -s "$one" -a "$work/all.list" "$tunora" page -o "$work/page/all.html" >/dev/null 2>&1
hyperfine -N --style none --warmup 1 --runs "$runs" --export-json "$work/page.json" \
  -n page "xargs -0 -s $one -a $work/all.list $tunora page -o $work/page/all.html" >/dev/null
python3 - "$work/page.json" <<'EOF'
import json, sys
print("tunora page, every file as an argument: median %.3f s (target < 0.5)" %
      json.load(open(sys.argv[1]))["results"][0]["median"])
EOF
echo "tunora page peak memory: $(peak xargs -0 -s "$one" -a "$work/all.list" "$tunora" page -o "$work/page/all.html") (target < 64 MB)"
