#!/usr/bin/env bash
# Installs the build tree into a temporary root and checks what arrived: the
# tool (which runs and knows its version) with its private modules, its man page (which renders and
# names every option of --help) and the templates (which work with --template).
# Usage: install_test.sh BUILD_DIR VERSION SAMPLES_DIR
set -euo pipefail
build="$1" version="$2" samples="$3"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

root="$tmp/root"
DESTDIR="$root" cmake --install "$build" --prefix /usr >"$tmp/install.log" ||
  { cat "$tmp/install.log"; fail "cmake --install"; }

tunora="$root/usr/bin/tunora"
man_page="$root/usr/share/man/man1/tunora.1.gz"
templates="$root/usr/share/tunora/templates"
modules="$root/usr/lib/tunora"
for f in "$tunora" "$man_page" "$templates"/{single_track,multiple_tracks,directory,mini,overlay}.html \
  "$modules"/{http_curl,http_serve,mpris_follow}.so; do
  [ -f "$f" ] || fail "not installed: ${f#"$root"}"
done
[ -x "$tunora" ] || fail "tunora is not executable"
extra="$(cd "$root" && find . -type f | grep -vE '^\./usr/(bin/tunora|lib/tunora/(http_curl|http_serve|mpris_follow)\.so|share/man/man1/tunora\.1\.gz|share/tunora/templates/[a-z_]+\.html|share/doc/tunora/(copyright|changelog\.Debian\.gz|templates\.md|cli-reference\.md))$' || true)"
[ -z "$extra" ] || fail "installed beyond the tool: $extra"

[ "$("$tunora" --version)" = "tunora $version" ] || fail "--version says '$("$tunora" --version)'"

# The man page: groff warnings are errors, and every option the help shows is
# described.
if command -v groff >/dev/null; then
  zcat "$man_page" | groff -man -Tutf8 -ww -z 2>"$tmp/groff.log"
  [ ! -s "$tmp/groff.log" ] || { cat "$tmp/groff.log"; fail "groff warns about the man page"; }
  zcat "$man_page" | groff -man -Tascii -P-cbou 2>/dev/null >"$tmp/man.txt"
else
  zcat "$man_page" | sed 's/\\f[BIR]//g; s/\\-/-/g' >"$tmp/man.txt"
fi
grep -q "tunora $version" "$tmp/man.txt" || fail "the man page does not carry version $version"
options="$("$tunora" --help | grep -oE '(^|[ [])--?[a-z]+' | tr -d ' [' | sort -u)"
[ "$(wc -l <<<"$options")" -ge 10 ] || fail "too few options found in --help: $options"
for option in $options; do
  grep -qE -- "(^|[^a-z-])$option([^a-z]|$)" "$tmp/man.txt" || fail "the man page does not describe $option"
done

# An installed template is a working --template.
(cd "$tmp" && "$tunora" page --template "$templates/single_track.html" \
  "$samples/01 - Morning Tone.mp3" -o page.html >/dev/null) || fail "tunora page with an installed template"
iconv -f UTF-16 -t UTF-8 "$tmp/page.html" >"$tmp/page.txt"
grep -q "Morning Tone" "$tmp/page.txt" || fail "the page does not name the song"
echo "installed and checked under $root"
