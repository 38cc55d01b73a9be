#!/usr/bin/env bash
# Builds the Debian package of the build tree with CPack and checks it: its
# dependencies are computed from the binaries, it holds exactly the installed
# files, and the tool unpacked from it runs.
# Usage: deb_test.sh BUILD_DIR VERSION
set -euo pipefail
build="$1" version="$2"
command -v dpkg-shlibdeps >/dev/null || { echo "skipped: no dpkg-shlibdeps (dpkg-dev)"; exit 77; }
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp" >"$tmp/cpack.log" 2>&1 ||
  { cat "$tmp/cpack.log"; fail "cpack"; }
deb="$(find "$tmp" -maxdepth 1 -name "tunora_${version}_*.deb")"
[ -n "$deb" ] || { ls "$tmp"; fail "no tunora_${version}_*.deb"; }

dpkg-deb -I "$deb" >"$tmp/info"
grep -qx " Package: tunora" "$tmp/info" || fail "package name"
grep -qx " Version: $version" "$tmp/info" || fail "version"
grep -qx " Architecture: $(dpkg --print-architecture)" "$tmp/info" || fail "architecture"
depends="$(sed -n 's/^ Depends: //p' "$tmp/info")"
depended="$(tr ',' '\n' <<<"$depends" | awk '{print $1}')"
for library in libc6 libjpeg62-turbo libpng16-16 libsystemd0 libcurl4; do
  grep -qxF "$library" <<<"$depended" || fail "Depends lacks $library: '$depends'"
done
# libstdc++6 is not asked for: the release tool links the C++ runtime in,
# the sanitizer builds do not.

dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort >"$tmp/files"
cat >"$tmp/expected" <<LIST
./usr/bin/tunora
./usr/lib/tunora/http_curl.so
./usr/lib/tunora/mpris_follow.so
./usr/share/man/man1/tunora.1.gz
./usr/share/tunora/templates/directory.html
./usr/share/tunora/templates/mini.html
./usr/share/tunora/templates/multiple_tracks.html
./usr/share/tunora/templates/single_track.html
LIST
diff -u "$tmp/expected" "$tmp/files" || fail "the package's files"

dpkg-deb -x "$deb" "$tmp/root"
[ "$("$tmp/root/usr/bin/tunora" --version)" = "tunora $version" ] || fail "the unpacked tool"
# The unpacked tool opens its module from the package's private folder (a
# search of a port nothing listens on, which fails at once).
LD_DEBUG=files "$tmp/root/usr/bin/tunora" covers search --host 127.0.0.1:9 x >"$tmp/search" 2>&1 ||
  true
grep -q "file=$tmp/root/usr/lib/tunora/http_curl.so .*generating link map" "$tmp/search" ||
  fail "the unpacked tool did not open its libcurl module"
echo "$(basename "$deb"): Depends: $depends"
