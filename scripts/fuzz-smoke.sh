#!/usr/bin/env bash
# Runs every fuzz target of a tree for a few seconds, seeded with the test
# fixtures (and the shared peer corpus when it is there), as many at once as
# there are cores. Prints one line per target; the exit status is the number
# of targets that found a fault.
set -uo pipefail
tree="$1"
seconds="${2:-20}"
peers="${3:-}"
root="$(cd "$(dirname "$0")/.." && pwd)"
parallel="$(nproc)"

seeds="$(mktemp -d)"
trap 'rm -rf "$seeds"' EXIT
find "$root/tests/fixtures" "$root/samples" -type f -size -2M -exec cp -t "$seeds" {} + 2>/dev/null
[ -d "$peers" ] && find "$peers" -type f -size -2M ! -name '*.tsv' ! -name '*.md' \
  -exec cp -t "$seeds" {} + 2>/dev/null

run_one() {
  local target="$1" name corpus log
  name="$(basename "$target")"
  corpus="$seeds/run-$name"
  mkdir -p "$corpus"
  log="$tree/$name.log"
  # New inputs go to the target's own folder; the shared seeds and the kept,
  # minimised corpus of earlier long runs (fuzz/corpus/NAME) are only read.
  local kept="$root/fuzz/corpus/$name"
  [ -d "$kept" ] || kept=""
  if "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
      "$corpus" "$seeds" $kept >"$log" 2>&1; then
    echo "fuzz: $name ok, $(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$') runs"
  else
    echo "fuzz: $name FAILED"; tail -n 30 "$log"
    touch "$tree/$name.failed"
  fi
}

rm -f "$tree"/*.failed
for target in "$tree"/fuzz/fuzz_*; do
  [ -x "$target" ] && [ -f "$target" ] || continue
  run_one "$target" &
  while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do wait -n; done
done
wait
exit "$(find "$tree" -maxdepth 1 -name '*.failed' | wc -l)"
