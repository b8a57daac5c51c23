#!/usr/bin/env bash
# The Debian package under the real client: lumvia_<version>_amd64.deb
# (LUMVIA_DEB) installed with dpkg -i (the display mode, lumvia-settings
# with its menu entry, both manual pages), the XScreenSaver daemon in an
# Xvfb run by a throwaway user (the daemon refuses to run hacks as root)
# with mode "one", cycling every 8 s (time enough to draw on a loaded
# machine), and "GL: lumvia --root" by its installed path as
# its only program. Activated, the screen shows the scene and lumvia runs;
# each cycle ends it by SIGTERM; deactivated, lumvia ends having written
# nothing. Everything the test installs or makes is taken away again.
. "$(dirname "$0")/lib.sh"
: "${LUMVIA_DEB:?LUMVIA_DEB must name the package}"
skip() { echo "skipped: $*"; exit 77; }

[ -f "$LUMVIA_DEB" ] ||
  skip "no package at $LUMVIA_DEB (cmake --workflow --preset linux makes it)"
command -v xscreensaver >/dev/null || skip "the XScreenSaver daemon is not installed"
needs_root "installing the package"
package_installed &&
  skip "a lumvia package is installed on this machine already; the test leaves it alone"
as_user() { $sudo runuser -u "$user" -- env -i HOME="$home" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin "$@"; }

# --- The package ---------------------------------------------------------------
if install_package "$LUMVIA_DEB"; then
  pass "dpkg -i installs $(basename "$LUMVIA_DEB")"
else
  fail "dpkg -i failed: $(cat "$WORK/dpkg.log")"
  finish
fi
hack=/usr/libexec/xscreensaver/lumvia
[ -x $hack ] && pass "the hack is $hack" || fail "no $hack"
[ -f /usr/share/xscreensaver/config/lumvia.xml ] && pass "its settings description is installed" ||
  fail "no /usr/share/xscreensaver/config/lumvia.xml"
check "man lumvia finds its manual page" /usr/share/man/man6/lumvia.6x.gz "$(man -w lumvia 2>&1)"
[ -x /usr/bin/lumvia-settings ] && pass "the settings window is /usr/bin/lumvia-settings" ||
  fail "no /usr/bin/lumvia-settings"
check "its menu entry" "Exec=lumvia-settings" \
  "$(grep '^Exec=' /usr/share/applications/lumvia-settings.desktop 2>&1)"
check "and its manual page" /usr/share/man/man1/lumvia-settings.1.gz "$(man -w lumvia-settings 2>&1)"

# --- The daemon, as a throwaway user, on an Xvfb anyone may use -----------------
throwaway_user lumvia-daemon
cat >"$home/.xscreensaver" <<END
mode:		one
selected:	0
timeout:	0:30:00
cycle:		0:00:08
lock:		False
fade:		False
unfade:		False
splash:		False
dpmsEnabled:	False
programs:	GL: $hack --root \\n\\

END
$sudo chown -R "$user" "$home"
start_xvfb -ac -br
daemon_ready() { as_user xscreensaver-command -version >/dev/null 2>&1; }
# On a loaded machine the daemon has been seen to stop for good right after
# it started, before it set up its input; it is then started once more.
start_daemon() {
  as_user xscreensaver -no-splash -verbose >"$WORK/daemon.log" 2>&1 &
  background+=($!)
  PATIENCE=$((PATIENCE / 2)) wait_for daemon_ready
}
stop_daemon() {
  $sudo pkill -u "$user" 2>/dev/null
  wait_for eval '! pgrep -u "$user" >/dev/null 2>&1'
}
if start_daemon || { stop_daemon; start_daemon; }; then
  pass "the daemon runs as $user"
else
  fail "the daemon did not start: $(cat "$WORK/daemon.log")"
fi

hack_running() { pgrep -u "$user" -x lumvia >/dev/null; }
hack_ended() { ! hack_running; }
# Sends the command (again every 3 s, should a daemon still starting up have
# let it pass) until the hack's state is as wanted.
command_until() {  # command_until COMMAND TEST
  local deadline=$((SECONDS + PATIENCE)) i
  while [ $SECONDS -lt $deadline ]; do
    as_user xscreensaver-command "$1" >/dev/null 2>&1
    for i in $(seq 30); do "$2" && return 0; sleep 0.1; done
  done
  return 1
}
command_until -activate hack_running && pass "-activate starts lumvia" ||
  fail "no lumvia process after -activate: $(tail -n 5 "$WORK/daemon.log")"
if reds=$(wait_for_sprite_colour); then pass "the screen shows the scene ($reds samples)"
else fail "no sprite colour on the screen: $(tail -n 5 "$WORK/daemon.log")"; fi
# Every 8 s the daemon stops lumvia with SIGTERM and starts it again; it
# takes any other end than by that signal for a failure.
cycled() { [ "$(grep -c 'forked "/usr/libexec/xscreensaver/lumvia' "$WORK/daemon.log")" -ge 2 ]; }
wait_for cycled || fail "the daemon did not start lumvia again: $(tail -n 5 "$WORK/daemon.log")"
grep -q 'abnormally' "$WORK/daemon.log" && fail "the daemon says: $(grep abnormally "$WORK/daemon.log")" ||
  pass "lumvia ends as the daemon expects"
command_until -deactivate hack_ended && pass "-deactivate ends lumvia" || fail "lumvia still runs"
[ -e "$home/.config/lumvia" ] && fail "lumvia wrote $(find "$home/.config/lumvia")" ||
  pass "lumvia wrote nothing"

finish
