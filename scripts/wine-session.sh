#!/usr/bin/env bash
# Runs a command (ctest) for the Windows tree inside one Wine session on the
# current display: Wine's helper processes are started first and detached, so
# that they neither hold the output of the first test open (ctest would wait
# for each test) nor start later without the display; they end afterwards.
set -uo pipefail
: "${WINEPREFIX:?set WINEPREFIX to the Wine prefix of the build tree}"
export WINEDEBUG="${WINEDEBUG:--all}"
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i </dev/null >/dev/null 2>&1
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
"$@"
status=$?
wineserver -k >/dev/null 2>&1
exit "$status"
