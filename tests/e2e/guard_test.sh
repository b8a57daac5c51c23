#!/usr/bin/env bash
# The exception guard: an exception that escapes is handed to the system's
# filter, and when that handles it the process ends with -1 (255); the
# full-screen saver's window is out of the way by then. Wine's
# filter would start its debugger and show a crash dialog; while this test
# runs the prefix names a debugger that cannot start, so the system's filter
# handles the exception itself, as it does on a system without a debugger.
. "$(dirname "$0")/lib.sh"
aedebug='HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug'
saved=$(wine_run reg query "$aedebug" /v Debugger 2>/dev/null | tr -d '\r' |
  sed -n 's/^ *Debugger *REG_SZ *//p')
restore() {
  if [ -n "$saved" ]; then wine_run reg add "$aedebug" /v Debugger /d "$saved" /f >/dev/null 2>&1
  else wine_run reg delete "$aedebug" /v Debugger /f >/dev/null 2>&1; fi
  cleanup
}
trap restore EXIT
wine_run reg add "$aedebug" /v Debugger /d 'lumvia-no-such-debugger.exe %ld %ld' /f >/dev/null 2>&1

status=0
timeout "$PATIENCE" "$LUMVIA_SOURCE/scripts/wine-run" "$LUMVIA_BUILD/tests/e2e/guard_probe.exe" \
  >/dev/null 2>&1 || status=$?
check "an unhandled exception ends the process with -1" "255" "$status"
status=0
timeout "$PATIENCE" "$LUMVIA_SOURCE/scripts/wine-run" "$LUMVIA_BUILD/tests/e2e/guard_probe.exe" \
  unguarded >/dev/null 2>&1 || status=$?
[ "$status" != 255 ] && [ "$status" != 124 ] && pass "without the guard the system ends it otherwise ($status)" ||
  fail "without the guard the probe ended with $status"
# In the full-screen saver the system's report finds the saver window hidden
# and the cursor free.
status=0
seen=$(timeout "$PATIENCE" "$LUMVIA_SOURCE/scripts/wine-run" "$LUMVIA_BUILD/tests/e2e/guard_probe.exe" \
  fullscreen 2>/dev/null | tr -d '\r') || status=$?
check "the report finds the full-screen window hidden and the cursor free" "hidden 1 free 1" "$seen"
check "and the process ends with -1" "255" "$status"
finish
