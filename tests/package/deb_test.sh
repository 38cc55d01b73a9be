#!/usr/bin/env bash
# Builds the Debian package of the build tree with CPack and checks it: its
# dependencies are computed from the binaries, it holds exactly the installed
# files, and the tool unpacked from it runs.
# Usage: deb_test.sh BUILD_DIR VERSION
set -euo pipefail
build="$1" version="$2"
command -v dpkg-shlibdeps >/dev/null || { echo "skipped: no dpkg-shlibdeps (dpkg-dev)"; exit 77; }
command -v lintian >/dev/null || { echo "skipped: no lintian"; exit 77; }
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
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
for library in libc6 libjpeg62-turbo libpng16-16 libsystemd0 libcurl4 libcpp-httplib0.11; do
  grep -qxF "$library" <<<"$depended" || fail "Depends lacks $library: '$depends'"
done
# libstdc++6 is not asked for: the release tool links the C++ runtime in,
# the sanitizer builds do not.

dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort >"$tmp/files"
cat >"$tmp/expected" <<LIST
./usr/bin/tunora
./usr/lib/tunora/http_curl.so
./usr/lib/tunora/http_serve.so
./usr/lib/tunora/mpris_follow.so
./usr/share/doc/tunora/changelog.Debian.gz
./usr/share/doc/tunora/cli-reference.md
./usr/share/doc/tunora/copyright
./usr/share/doc/tunora/templates.md
./usr/share/man/man1/tunora.1.gz
./usr/share/tunora/templates/directory.html
./usr/share/tunora/templates/mini.html
./usr/share/tunora/templates/multiple_tracks.html
./usr/share/tunora/templates/overlay.html
./usr/share/tunora/templates/single_track.html
LIST
diff -u "$tmp/expected" "$tmp/files" || fail "the package's files"

# Lintian's errors fail the package; its warnings are shown.
lintian --fail-on error --tag-display-limit 0 "$deb" >"$tmp/lintian" 2>&1 ||
  { cat "$tmp/lintian"; fail "lintian finds errors"; }
grep -v '^running with root' "$tmp/lintian" || true

dpkg-deb -x "$deb" "$tmp/root"
doc="$tmp/root/usr/share/doc/tunora"
# The copyright file is machine-readable and names the licence of everything
# linked in.
head -n 1 "$doc/copyright" |
  grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "copyright is not machine-readable"
for licence in Expat BSD-3-clause curl LGPL-2.1+ BSD-BY-LC-NE Zlib Libpng; do
  grep -qE "^License: (.* )?${licence//+/\\+}( |$)" "$doc/copyright" ||
    fail "copyright lacks $licence"
  [ "$licence" = BSD-3-clause ] || grep -qxF "License: $licence" "$doc/copyright" ||
    fail "copyright lacks the text of $licence"
done
for part in CLI11 nlohmann httplib libjpeg libpng zlib libcurl libsystemd; do
  grep -qi "$part" "$doc/copyright" || fail "copyright does not name $part"
done
# The changelog is compressed without a name or time, and its entry is this version.
# (gzip -9n: header flags 0, time 0, extra flags 2 for the best compression).
zcat "$doc/changelog.Debian.gz" | head -n 1 | grep -q "^tunora ($version) " ||
  fail "changelog.Debian.gz does not begin with version $version"
[ "$(od -An -tu1 -j3 -N6 "$doc/changelog.Debian.gz" | tr -s ' ')" = " 0 0 0 0 0 2" ] ||
  fail "changelog.Debian.gz is not made by gzip -9n"
for guide in templates.md cli-reference.md; do
  cmp -s "$doc/$guide" "$source_dir/docs/$guide" || fail "$guide differs from docs/$guide"
done
[ "$("$tmp/root/usr/bin/tunora" --version)" = "tunora $version" ] || fail "the unpacked tool"
# The unpacked tool opens its module from the package's private folder (a
# search of a port nothing listens on, which fails at once).
LD_DEBUG=files "$tmp/root/usr/bin/tunora" covers search --host 127.0.0.1:9 x >"$tmp/search" 2>&1 ||
  true
grep -q "file=$tmp/root/usr/lib/tunora/http_curl.so .*generating link map" "$tmp/search" ||
  fail "the unpacked tool did not open its libcurl module"
echo "$(basename "$deb"): Depends: $depends"
