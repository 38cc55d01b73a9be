#!/bin/sh
# Runs every libFuzzer target of a fuzz build tree briefly over a corpus
# seeded from the test fixtures (and the shared peer corpus when it is there).
#   CC=clang CXX=clang++ cmake -S . -B build/fuzz -DTUNORA_FUZZ=ON -DTUNORA_TESTS=OFF
#   cmake --build build/fuzz -j2
#   scripts/run-fuzzers.sh build/fuzz 20            # every target, 20 s each
#   scripts/run-fuzzers.sh build/fuzz 300 fuzz_id3v2
# Fails when a target finds a crash, a leak or a hang; the input that did it
# is left in fuzz/corpus-run/.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
tree=${1:?usage: run-fuzzers.sh BUILD_DIR [SECONDS] [TARGET...]}
seconds=${2:-20}
shift $(( $# < 2 ? $# : 2 ))
peers=${TUNORA_PEER_CORPUS_DIR:-$root/../shared/corpus/peers}
targets=${*:-$(cd "$tree/fuzz" && ls fuzz_* | grep -v '\.')}
status=0
for target in $targets; do
  corpus="$root/fuzz/corpus-run/$target"
  mkdir -p "$corpus"
  find "$root/tests/fixtures" -type f ! -name '*.sh' -exec cp -n {} "$corpus/" \;
  if [ -d "$peers" ]; then
    find "$peers" -type f ! -name '*.md' ! -name '*.tsv' -exec cp -n {} "$corpus/" \;
  fi
  echo "== $target ($seconds s)"
  if ! "$tree/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=65536 -print_final_stats=1 -artifact_prefix="$root/fuzz/corpus-run/$target-" \
      "$corpus" 2>&1 | grep -E '^(Done|stat::number_of_executed_units|==[0-9]+==ERROR|SUMMARY)'; then
    :
  fi
  if ls "$root/fuzz/corpus-run/$target-"* >/dev/null 2>&1; then
    echo "$target found a fault: $(ls "$root/fuzz/corpus-run/$target-"*)"
    status=1
  fi
done
exit $status
