#!/usr/bin/env bash
# Runs every fuzz target of a tree for a few seconds, seeded with the test
# fixtures (and the shared peer corpus when it is there). Prints one line per
# target; the exit status is the number of targets that found a fault.
set -uo pipefail
tree="$1"
seconds="${2:-8}"
peers="${3:-}"
root="$(cd "$(dirname "$0")/.." && pwd)"
failures=0
for target in "$tree"/fuzz/fuzz_*; do
  [ -x "$target" ] && [ -f "$target" ] || continue
  name="$(basename "$target")"
  corpus="$(mktemp -d)"
  find "$root/tests/fixtures" -type f -size -2M -exec cp -t "$corpus" {} + 2>/dev/null
  [ -d "$peers" ] && find "$peers" -type f -size -2M ! -name '*.tsv' ! -name '*.md' -exec cp -t "$corpus" {} + 2>/dev/null
  log="$tree/$name.log"
  if "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
      "$corpus" >"$log" 2>&1; then
    echo "fuzz: $name ok, $(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$') runs"
  else
    echo "fuzz: $name FAILED"; tail -n 30 "$log"
    failures=$((failures + 1))
  fi
  rm -rf "$corpus"
done
exit "$failures"
