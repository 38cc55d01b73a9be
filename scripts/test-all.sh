#!/usr/bin/env bash
# Installs what is missing, builds every tree and runs every test:
#   build/asan  native (gcc) with AddressSanitizer and UndefinedBehaviorSanitizer
#   build/win   Windows i686 (MinGW-w64), tests under Wine inside Xvfb
#   build/fuzz  clang with libFuzzer: each fuzz target runs briefly over its seeds
set -uo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
jobs="$(nproc)"
shared="${TUNORA_SHARED_DIR:-$root/../shared}"
fuzz_seconds="${TUNORA_FUZZ_SECONDS:-5}"
passed=0
failed=0
start=$SECONDS

step() { printf '\n== %s (%ds)\n' "$*" "$((SECONDS - start))"; }

# Runs ctest in a tree and adds its counts to the totals.
run_ctest() {
  local tree="$1"; shift
  local log="$tree/ctest.log"
  (cd "$tree" && "$@" ctest -j"$jobs" --output-on-failure --timeout 300) 2>&1 | tee "$log" | grep -vE '^ *(Start|[0-9]+/[0-9]+ Test) '
  local line total bad
  line="$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)"
  if [ -z "$line" ]; then
    echo "test-all: no test summary from $tree"
    failed=$((failed + 1))
    return
  fi
  total="$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")"
  bad="$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")"
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

build() {
  local tree="$1"; shift
  cmake -S . -B "$tree" -DTUNORA_SHARED_DIR="$shared" "$@" >"$tree.configure.log" 2>&1 ||
    { cat "$tree.configure.log"; return 1; }
  cmake --build "$tree" -j"$jobs" 2>&1 | grep -E 'error|warning:|Error ' ; return "${PIPESTATUS[0]}"
}

step "installing dependencies"
scripts/install-deps.sh || exit 1

step "native tree with sanitizers"
mkdir -p build
if build build/asan -DCMAKE_BUILD_TYPE=Debug -DTUNORA_SANITIZE=ON; then
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest build/asan
else
  echo "test-all: native build failed"; failed=$((failed + 1))
fi

step "Windows tree under Wine"
export WINEPREFIX="$root/build/win/wineprefix" WINEDEBUG=-all
mkdir -p build/win
# The prefix is made before the build, which runs the tests to list them.
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i </dev/null >/dev/null 2>&1
if build build/win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release; then
  run_ctest build/win xvfb-run -a "$root/scripts/wine-session.sh"
else
  echo "test-all: Windows build failed"; failed=$((failed + 1))
fi

step "fuzz targets, ${fuzz_seconds}s each"
if CC=clang CXX=clang++ build build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUNORA_FUZZ=ON -DTUNORA_TESTS=OFF; then
  scripts/fuzz-smoke.sh build/fuzz "$fuzz_seconds" "$shared/corpus/peers"
  fuzz_failed=$?
  targets=$(find build/fuzz/fuzz -maxdepth 1 -name 'fuzz_*' -type f -perm -u+x | wc -l)
  passed=$((passed + targets - fuzz_failed))
  failed=$((failed + fuzz_failed))
else
  echo "test-all: fuzz build failed"; failed=$((failed + 1))
fi

step "done"
echo "total: ${passed} passed, ${failed} failed"
[ "$failed" -eq 0 ]
