#!/usr/bin/env bash
# Builds libjpeg-turbo for i686-w64-mingw32 from Debian's source package, as a
# static library that the Windows tree links into the DLL and the tools.
set -euo pipefail

prefix="${TUNORA_MINGW_JPEG:-/opt/tunora/mingw-jpeg}"
[ -f "$prefix/lib/libjpeg.a" ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

src_list=/etc/apt/sources.list.d/tunora-src.sources
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  "${sudo_cmd[@]}" tee "$src_list" >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  "${sudo_cmd[@]}" apt-get update -qq
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
apt-get source -qq --download-only libjpeg-turbo >/dev/null 2>&1 || apt-get source --download-only libjpeg-turbo
dpkg-source -x --no-check ./libjpeg-turbo_*.dsc src >/dev/null
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cmake -S src -B build -DCMAKE_TOOLCHAIN_FILE="$here/../cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF \
  -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_SYSTEM_PROCESSOR=i686 >/dev/null
cmake --build build -j"$(nproc)" >/dev/null
"${sudo_cmd[@]}" cmake --install build >/dev/null
echo "build-jpeg-mingw: installed in $prefix"
