#!/usr/bin/env bash
# The setup program under Wine, as a user runs it silently: into a fresh
# player folder whose name has a space, then the stand-in player loads the
# installed plug-in, then the uninstaller removes what setup put there and
# keeps a template the user edited.
# Usage: installer_test.sh EMULATOR SETUP_EXE PLUGIN_DLL TEMPLATES_DIR STANDIN_EXE
set -euo pipefail
emulator="$1" setup="$2" dll="$3" templates="$4" standin="$5"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

player="$tmp/My Player"
plugins="$player/Plugins"
ours="$plugins/ml_tunora"
windows() { local path="Z:$1"; echo "${path//\//\\}"; }
# /D= comes last and unquoted, even with a space in the path; wine would
# quote an argument with a space, cmd passes the line as it is.
"$emulator" cmd /c "$(windows "$setup") /S /D=$(windows "$player")" >"$tmp/setup.log" 2>&1 ||
  { cat "$tmp/setup.log"; fail "setup"; }

cmp "$dll" "$plugins/ml_tunora.dll" || fail "ml_tunora.dll not installed"
declare -A names=([single_track]="Default (Single Track)" [multiple_tracks]="Default (Multiple Tracks)"
                  [directory]="Default (Directory)" [mini]="Default (Mini)")
for source in "${!names[@]}"; do
  cmp "$templates/$source.html" "$ours/${names[$source]}.html" || fail "template ${names[$source]}"
done
[ -f "$ours/uninstall.exe" ] || fail "no uninstaller"

# The stand-in player beside the installed plug-in loads it from Plugins.
cp "$standin" "$player/winamp.exe"
"$emulator" "$player/winamp.exe" \
  --gtest_filter=PluginInPlayer.StartPageAtInitThenEverySongChangeShowsTheNewSong \
  >"$tmp/standin.log" 2>&1 || { cat "$tmp/standin.log"; fail "the player with the installed plug-in"; }
grep -q "PASSED  \] 1 test\." "$tmp/standin.log" || { cat "$tmp/standin.log"; fail "no test ran"; }
rm "$player/winamp.exe"

# The user edits one template, then uninstalls silently.
printf 'mine' >>"$ours/Default (Mini).html"
touch "$ours/notes.txt"
"$emulator" "$ours/uninstall.exe" /S >"$tmp/uninstall.log" 2>&1 || { cat "$tmp/uninstall.log"; fail "uninstall"; }
# The uninstaller runs on from a copy of itself; wait until it is done.
for _ in $(seq 100); do [ -e "$ours/uninstall.exe" ] || break; sleep 0.1; done
[ ! -e "$ours/uninstall.exe" ] || fail "the uninstaller is still there"
sleep 0.5
remaining="$(cd "$player" && find . | sort | tr '\n' ' ')"
expected=". ./Plugins ./Plugins/ml_tunora ./Plugins/ml_tunora/Default (Mini).html ./Plugins/ml_tunora/notes.txt "
[ "$remaining" = "$expected" ] || fail "after uninstall: '$remaining', expected '$expected'"
echo "installed, loaded and uninstalled under $player"
