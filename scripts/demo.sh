#!/usr/bin/env bash
# The main job on the sample music shipped in samples/: installs what is
# missing, builds the native tool, and builds the directory page of the
# samples (build/demo/tunora.html, covers beside it), then says where it is.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DTUNORA_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)" --target tunora >/dev/null
shopt -s nullglob
files=(samples/*.mp3 samples/*.m4a samples/*.ogg samples/*.flac samples/*.mpc samples/*.aac)
if [ "${#files[@]}" -eq 0 ]; then
  echo "demo: no sample music in samples/" >&2
  exit 1
fi
mkdir -p build/demo
build/release/src/tunora page --directory samples -o build/demo/tunora.html
