#!/usr/bin/env bash
# lumvia -daemon -idle 2 on one of the desktops (tests/linux/wayland_desktop.sh:
# sway, kwin, mutter; weston-headless, which tells no program of idle time).
# It takes the desktop's own source of idle time (Sway org_kde_kwin_idle,
# KWin ext-idle-notify-v1, Mutter its idle monitor on the bus); the saver
# shows the scene 2 s after the last input, a key ends it and the daemon
# stays, the scene comes again 2 s later, and SIGTERM ends the daemon and the
# saver with the views saved; a second daemon ends at once. An inhibitor
# keeps the saver away until it goes: a window of the test's own with a
# zwp_idle_inhibitor_v1, on GNOME an inhibitor of its real session manager
# (gnome-session, with no component of its own, beside Mutter). On Sway the
# daemon is the installed package's, run by its user unit's command line.
# Where the desktop offers no idle time, and without a Wayland desktop,
# -daemon says so in one line and ends with 1.
#
#   idle_daemon_test.sh sway|kwin|mutter|weston-headless
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wayland_desktop.sh"
: "${IDLE_INHIBITOR:?IDLE_INHIBITOR must name the built idle_inhibitor}"
skip() { echo "skipped: $*"; exit 77; }
IDLE=2       # s, the daemon's -idle
ENOUGH=6     # s of no saver that show an inhibitor holds it back

[ "${1:-}" != mutter ] || [ -x /usr/libexec/gnome-session-binary ] ||
  skip "gnome-session is not installed (scripts/bootstrap installs it)"
desktop_start "${1:?which desktop: sway, kwin, mutter or weston-headless}"
settings=$home/config/lumvia/lumvia.conf
# The scene on every output, so that every output shows it.
echo "other monitors = 1" >"$settings"
$sudo chown "$user" "$settings"
# The daemon's saver, called as the program is (not the daemon itself).
saver() { pgrep -u "$user" -a -x lumvia | awk '/ -wayland/ { print $1 }' | grep .; }
ms() { echo $(($(date +%s%N) / 1000000)); }
said() { grep -a '^lumvia: ' "$WORK/err"; }

# --- Where it cannot run ----------------------------------------------------------
if [ "$DESKTOP" = weston-headless ]; then
  as_user env -u WAYLAND_DISPLAY "$LUMVIA" -daemon >/dev/null 2>"$WORK/err"
  check "without a Wayland desktop: exit 1" 1 $?
  [ "$(wc -l <"$WORK/err")" -eq 1 ] && grep -q 'XScreenSaver daemon starts lumvia' "$WORK/err" &&
    pass "and one line sends the user to XScreenSaver" || fail "it said: $(cat "$WORK/err")"
  as_user "$LUMVIA" -daemon >/dev/null 2>"$WORK/err"
  check "on Weston, which tells no program of idle time: exit 1" 1 $?
  [ "$(wc -l <"$WORK/err")" -eq 1 ] && grep -q 'offers neither ext-idle-notify-v1 nor' "$WORK/err" &&
    pass "and one line says what it lacks" || fail "it said: $(cat "$WORK/err")"
  finish
fi

# --- The daemon: the package's on Sway, by its unit's command line ------------------
daemon_command=("$LUMVIA" -daemon)
if [ "$DESKTOP" = sway ] && [ -f "${LUMVIA_DEB:-}" ] && ! package_installed; then
  unit=/usr/lib/systemd/user/lumvia.service
  if install_package "$LUMVIA_DEB" && [ -f $unit ]; then
    read -r -a daemon_command < <(sed -n 's/^ExecStart=//p' $unit)
    check "the package's user unit runs the daemon" "/usr/bin/lumvia -daemon" "${daemon_command[*]}"
    as_user systemd-analyze --user verify $unit >"$WORK/verify" 2>&1 &&
      pass "systemd takes the unit" || fail "systemd-analyze verify: $(cat "$WORK/verify")"
    links=$(find /etc/systemd/user "$home/config/systemd" -lname '*lumvia.service' 2>/dev/null)
    check "installing it enables nothing" "" "$links"
  else
    fail "the package did not install with its unit: $(cat "$WORK/dpkg.log")"
  fi
else
  echo "note: the built lumvia runs (the package's unit is tried on sway, where none is installed)"
fi
# Its lines and its savers' protocol traces go to $WORK/err, which each
# part of the test empties first.
start_daemon() {
  : >"$WORK/err"
  as_user env WAYLAND_DEBUG=client "${daemon_command[@]}" -idle $IDLE -modules love \
    >"$WORK/out" 2>>"$WORK/err" &
  daemon_pid=$!
  background+=("$daemon_pid")
  started_at=$(ms)
}
# stop_daemon: SIGTERM; sets daemon_exit.
stop_daemon() {
  $sudo pkill -TERM -u "$user" -f -- ' -daemon'
  lumvia_pid=$daemon_pid
  wait_lumvia_exit
  daemon_exit=$lumvia_exit
}
# scene_shown SINCE: the saver runs and shows the scene (its surfaces, each
# given 10 frames); sets saver_pid, and seen_after to the ms from SINCE to
# when it was first seen running.
scene_shown() {
  saver_pid=""
  PATIENCE=$((PATIENCE * 2)) wait_for saver >/dev/null || return 1
  seen_after=$(($(ms) - $1))
  saver_pid=$(saver)
  PATIENCE=$((PATIENCE * 2)) wait_for shown_frames 10
}

start_daemon
expected=$(case $DESKTOP in sway) echo org_kde_kwin_idle ;; kwin) echo ext-idle-notify-v1 ;;
                            mutter) echo "GNOME's idle monitor (org.gnome.Mutter.IdleMonitor)" ;; esac)
wait_for said >/dev/null
check "the idle time comes from the desktop's own source" "lumvia: the idle time comes from $expected" \
  "$(said | head -n 1)"
# A second daemon would start a second saver.
as_user "$LUMVIA" -daemon >/dev/null 2>"$WORK/second"
check "a second daemon on the desktop ends with 1" 1 $?
check "and says why" 'lumvia: -daemon runs on the desktop "wayland-1" already' "$(cat "$WORK/second")"
if scene_shown "$started_at" && [ $seen_after -ge $((IDLE * 1000)) ]; then
  pass "the saver shows the scene, started $seen_after ms after the daemon"
else
  fail "no scene $IDLE s after the daemon started (saver '$saver_pid' after ${seen_after:-?} ms): $(said)"
fi
first=$saver_pid

# --- A key ends the saver, the daemon stays, and the scene comes again -------------
ended() { ! kill -0 "$first" 2>/dev/null; }
if [ -n "$first" ] && esc_until ended; then
  ended_at=$(ms)
  : >"$WORK/err"
  kill -0 "$daemon_pid" && pass "Esc ends the saver and the daemon stays" ||
    fail "the daemon ended with the saver: $(said)"
  # Its end is seen a poll late at most, so the time since reads a little short.
  if scene_shown "$ended_at" && [ "$saver_pid" != "$first" ] &&
     [ $seen_after -ge $((IDLE * 1000 - 200)) ]; then
    pass "the scene comes again, the saver started $seen_after ms after the key"
  else
    fail "no new saver with the scene $IDLE s after the key ('$saver_pid' after ${seen_after:-?} ms): $(said)"
  fi
else
  fail "Esc did not end the saver"
fi

# --- SIGTERM ends the daemon and the saver, the views saved -------------------------
press Prior F11   # Love from its own depth, 50, to 51
wait_for grep -q '^g_fDepth' "$WORK/out" || fail "F11 printed nothing after Page Up"
stop_daemon
check "SIGTERM ends the daemon by that signal (143)" 143 "$daemon_exit"
wait_for eval '! saver >/dev/null' && pass "and the saver with it" || fail "the saver still runs"
check "the saver saved its view (Page Up: depth 5100 for Love)" 5100 \
  "$(sed -n 's/^mod1 depth = //p' "$settings")"

# --- An inhibitor keeps it away until it goes ---------------------------------------
# GNOME's session manager with no component of its own, on the desktop's bus;
# the system bus it needs is one of the test's own (the machine may run none).
start_session_manager() {
  mkdir -p "$home/config/gnome-session/sessions" "$home/autostart"
  printf '[GNOME Session]\nName=Lumvia test\nRequiredComponents=\n' \
    >"$home/config/gnome-session/sessions/lumvia-test.session"
  $sudo chown -R "$user" "$home/config" "$home/autostart"
  # shellcheck disable=SC2016
  as_user sh -c 'DBUS_SYSTEM_BUS_ADDRESS=$(dbus-daemon --session --fork --print-address \
      --address=unix:path="$HOME/run/system_bus") exec /usr/libexec/gnome-session-binary --builtin \
      --session=lumvia-test --disable-acceleration-check -a "$HOME/autostart"' \
    >"$WORK/session.log" 2>&1 &
  background+=($!)
}
inhibited() {
  as_user busctl --user call org.gnome.SessionManager /org/gnome/SessionManager \
    org.gnome.SessionManager IsInhibited u 8 2>/dev/null
}
if [ "$DESKTOP" = mutter ]; then
  start_session_manager
  wait_for eval 'inhibited | grep -q "^b false"' ||
    fail "GNOME's session manager did not start: $(tail -n 3 "$WORK/session.log")"
  as_user gnome-session-inhibit --inhibit idle --inhibit-only >/dev/null 2>&1 &
  inhibitor=gnome-session-inhibit
  what="an idle inhibitor of GNOME's session manager"
  wait_for eval 'inhibited | grep -q "^b true"' || fail "gnome-session-inhibit inhibits nothing"
else
  as_user "$IDLE_INHIBITOR" >"$WORK/inhibitor.out" 2>&1 &
  inhibitor=idle_inhibitor
  what="a window with an idle inhibitor"
  wait_for grep -q ready "$WORK/inhibitor.out" || fail "no inhibitor: $(cat "$WORK/inhibitor.out")"
fi
background+=($!)
start_daemon
sleep $ENOUGH
saver >/dev/null && fail "$what did not keep the saver away" ||
  pass "$what keeps the saver away ($ENOUGH s)"
$sudo pkill -u "$user" -f "$inhibitor"
gone_at=$(ms)
wait_for saver >/dev/null && pass "once it goes, the saver comes ($(($(ms) - gone_at)) ms after)" ||
  fail "no saver after the inhibitor went: $(said)"
stop_daemon
check "SIGTERM ends the daemon by that signal (143)" 143 "$daemon_exit"

finish
