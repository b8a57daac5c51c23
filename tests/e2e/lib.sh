# Shared by the end-to-end scripts: runs the built lumvia.scr and the e2e_host
# helper under Wine on the current X display (the test run's Xvfb), waits for
# windows and processes with generous upper bounds, and counts failures.
# LUMVIA_BUILD is a Windows build folder (win64 or win32); the Wine prefix is the build's own
# unless WINEPREFIX says otherwise.
set -uo pipefail
: "${LUMVIA_BUILD:?LUMVIA_BUILD must name a Windows build folder}"
: "${DISPLAY:?the end-to-end tests need an X display (scripts/test runs them in Xvfb)}"
LUMVIA_SOURCE=${LUMVIA_SOURCE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
export WINEPREFIX=${WINEPREFIX:-$LUMVIA_BUILD/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
SCR=$LUMVIA_BUILD/lumvia.scr
HOST=$LUMVIA_BUILD/tests/e2e/e2e_host.exe
PATIENCE=${PATIENCE:-30}   # seconds: every wait ends by then
WORK=$(mktemp -d)
saver_pid=""
cleanup() {
  [ -n "$saver_pid" ] && kill "$saver_pid" 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

wine_run() { "$LUMVIA_SOURCE/scripts/wine-run" "$@"; }
# The helper's output without the carriage returns of Windows text mode.
host() { wine_run "$HOST" "$@" | tr -d '\r'; }
# The name of every value the saver stores, sorted, and those the settings key holds.
stored_names() {
  [ -s "$WORK/names" ] || host names | sort >"$WORK/names"
  cat "$WORK/names"
}
names_held() { host values | sed 's/=.*//' | sort; }
# A Windows path for a file of this machine (Wine's drive Z: is the root).
winpath() { local p; p=$(realpath "$1"); printf 'Z:%s' "${p//\//\\}"; }


# Polls for a shown window whose title is exactly TITLE; prints its X id. (Wine
# makes the X window of a top-level window before its creation is over, and
# input sent to it then comes too early.)
wait_for_window() {
  local title=$1 deadline=$((SECONDS + PATIENCE)) id
  while [ $SECONDS -lt $deadline ]; do
    id=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  return 1
}
wait_window_gone() {
  local title=$1 deadline=$((SECONDS + PATIENCE))
  while [ $SECONDS -lt $deadline ]; do
    xdotool search --name "^${title}\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# Starts the saver (SAVER, or the built one) in the background with the tail.
start_saver() {
  wine_run "${SAVER:-$SCR}" "$@" >/dev/null 2>&1 &
  saver_pid=$!
}
# Waits for the background saver to end; sets saver_exit to its exit code,
# or to "running" when it has not ended in time.
wait_saver_exit() {
  local deadline=$((SECONDS + PATIENCE))
  saver_exit=running
  while [ $SECONDS -lt $deadline ]; do
    if ! kill -0 "$saver_pid" 2>/dev/null; then
      wait "$saver_pid"
      saver_exit=$?
      saver_pid=""
      return 0
    fi
    sleep 0.1
  done
  return 1
}
# Starts the full-screen saver and waits until its window is there; prints
# the window's X id. A window that does not come is a failure, said on
# standard error (the callers keep the id to themselves).
start_fullscreen() {
  start_saver "$@"
  local id
  id=$(wait_for_window "Screen Saver") || { fail "no full-screen window for '$*'" >&2; return 1; }
  xdotool windowfocus --sync "$id" 2>/dev/null
  echo "$id"
}
# The saver started last has not ended.
saver_running() { [ -n "$saver_pid" ] && kill -0 "$saver_pid" 2>/dev/null; }
# A saver that did not end when it should have is closed, so that the next
# one starts alone rather than finding it and leaving at once.
end_leftover() {
  [ "$saver_exit" = running ] || return 0
  host close
  wait_saver_exit
}
# wait_for_sprite_colour and sprite_pixels, and the checks' report, shared
# with the Linux program's tests.
. "$LUMVIA_SOURCE/tests/sprite_colour.sh"
. "$LUMVIA_SOURCE/tests/report.sh"

stored() { host values | sed -n "s/^$1=//p"; }

