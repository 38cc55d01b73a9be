#!/usr/bin/env bash
# Builds zlib and libpng for i686-w64-mingw32 from Debian's source packages,
# as static libraries that the Windows tree links into the DLL and the tools
# (PNG covers are scaled with them).
set -euo pipefail

prefix="${TUNORA_MINGW_PNG:-/opt/tunora/mingw-png}"
[ -f "$prefix/lib/libpng.a" ] && [ -f "$prefix/lib/libz.a" ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

# build-jpeg-mingw.sh adds Debian's source lists when they are missing.
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/build-jpeg-mingw.sh"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
for package in zlib libpng1.6; do
  apt-get source -qq --download-only "$package" >/dev/null 2>&1 || apt-get source --download-only "$package"
done
dpkg-source -x --no-check ./zlib_*.dsc zlib >/dev/null
dpkg-source -x --no-check ./libpng1.6_*.dsc png >/dev/null

stage="$work/stage"
mkdir -p "$stage/lib" "$stage/include"
# Debian's zlib source has no Windows makefile; its library is these files.
(cd zlib && for f in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback \
  inffast inflate inftrees trees uncompr zutil; do
  i686-w64-mingw32-gcc -O2 -c "$f.c" -o "$f.o"
done && i686-w64-mingw32-ar rcs libz.a ./*.o)
cp zlib/libz.a "$stage/lib/"
cp zlib/zlib.h zlib/zconf.h "$stage/include/"

cmake -S png -B png-build -DCMAKE_TOOLCHAIN_FILE="$here/../cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF \
  -DPNG_EXECUTABLES=OFF -DPNG_FRAMEWORK=OFF -DZLIB_LIBRARY="$stage/lib/libz.a" \
  -DZLIB_INCLUDE_DIR="$stage/include" -DCMAKE_INSTALL_PREFIX="$stage" \
  -DCMAKE_SYSTEM_PROCESSOR=i686 >/dev/null
cmake --build png-build -j"$(nproc)" >/dev/null
cmake --install png-build >/dev/null
# libpng installs its library as libpng16.a with libpng.a beside it.
[ -f "$stage/lib/libpng.a" ] || cp "$stage/lib/libpng16.a" "$stage/lib/libpng.a"

"${sudo_cmd[@]}" mkdir -p "$prefix"
"${sudo_cmd[@]}" cp -r "$stage/lib" "$stage/include" "$prefix/"
echo "build-png-mingw: installed in $prefix"
