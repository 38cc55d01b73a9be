#!/usr/bin/env bash
# Runs a command (ctest) for the Windows tree inside one Wine session on the
# current display: Wine's helper processes are started first and detached, so
# that they neither hold the output of the first test open (ctest would wait
# for each test) nor start later without the display; they end afterwards.
# A program that crashes gets its backtrace written out and ends, instead of
# a crash dialog that would wait, unseen, until the test's time runs out.
set -uo pipefail
: "${WINEPREFIX:?set WINEPREFIX to the Wine prefix of the build tree}"
export WINEDEBUG="${WINEDEBUG:--all}"
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i </dev/null >/dev/null 2>&1
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
  </dev/null >/dev/null 2>&1
"$@"
status=$?
wineserver -k >/dev/null 2>&1
exit "$status"
