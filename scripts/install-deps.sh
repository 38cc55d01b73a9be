#!/usr/bin/env bash
# Installs what the native and Windows build trees and their tests need on
# Debian 12. Idempotent: returns at once when everything is already there.
set -euo pipefail

packages=(
  cmake g++ make googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
  libjpeg62-turbo-dev libpng-dev zlib1g-dev libcurl4-openssl-dev nlohmann-json3-dev libcli11-dev
  g++-mingw-w64-i686 mingw-w64-i686-dev nasm
  wine wine32:i386 xvfb xauth
  chromium python3
  dpkg-dev groff-base nsis tidy lintian
  pkg-config libsystemd-dev dbus mpv mpv-mpris
  libcpp-httplib-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

if [ "${#missing[@]}" -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The end-to-end test drives chromium from Node; the machine image brings
# Node, a bare Debian gets it from its own packages.
if ! command -v npm >/dev/null; then
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends nodejs npm >/dev/null
fi

here="$(cd "$(dirname "$0")" && pwd)"
"$here/build-jpeg-mingw.sh"
"$here/build-png-mingw.sh"
"$here/install-node-deps.sh"
