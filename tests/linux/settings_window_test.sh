#!/usr/bin/env bash
# lumvia-settings (SETTINGS_PROGRAM) in Xvfb and on headless Sway: the window
# opens and its preview shows the scene; in Xvfb a click on Love's check box
# and OK (Alt+O) write "mod1 active = 0", on Sway Disable All (Alt+D) and OK
# every "modN active = 0", keeping every line of the user's own; Cancel and the
# close box write nothing; the idle switch enables and starts lumvia.service,
# then stops and disables it, in a systemd user manager of the test's own
# (a unit of the test's own stands in for the package's). The Sway window's
# screenshot is kept for scripts/settings-gallery.
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wayland_desktop.sh"
: "${SETTINGS_PROGRAM:?SETTINGS_PROGRAM must name the built lumvia-settings}"
skip() { echo "skipped: $*"; exit 77; }
# The middle of the first scene's check box in a screenshot: the topmost
# blue of a ticked box (the preview shows none, OK is at the bottom).
first_box() {
  convert "$1" txt:- 2>/dev/null |
    sed -n 's/^\([0-9]*\),\([0-9]*\): *(\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3 \4 \5/p' |
    awk '$3 < 90 && $4 > 100 && $4 < 160 && $5 > 200 { if (!top || $2 < top) top = $2; x[NR] = $1; y[NR] = $2 }
         END { for (i in x) if (y[i] < top + 12) { if (!left || x[i] < left) left = x[i]; if (x[i] > right) right = x[i] }
               if (top) print int((left + right) / 2), top + 6; else exit 1 }'
}
. "$(dirname "$0")/user_manager.sh"

# --- X11, in a private Xvfb, without a window manager --------------------------------
start_xvfb
mkdir -p "$XDG_CONFIG_HOME/lumvia"
echo "# the user's own line" >"$SETTINGS"
"$SETTINGS_PROGRAM" >"$WORK/out" 2>"$WORK/err" &
lumvia_pid=$!
background+=("$lumvia_pid")
if id=$(wait_for_window "Lumvia Settings"); then pass "X11: the window is there"
else fail "X11: no window: $(cat "$WORK/err")"; fi
# The preview is on the left, the choices on the right.
if reds=$(wait_for_sprite_colour 400x600+0+0); then pass "X11: the preview shows the scene ($reds samples)"
else fail "X11: no sprite colour in the preview"; fi
if box=$(first_box "$WORK/screen.png"); then
  xdotool mousemove $box click 1 key --delay 200 alt+o
else
  fail "X11: no check box found"
fi
wait_lumvia_exit
check "X11: OK ends it with 0" 0 "$lumvia_exit"
check "X11: Love unticked and OK write mod1 active = 0" 0 "$(stored 'mod1 active')"
check "X11: Peace stays" 1 "$(stored 'mod2 active')"
check "X11: the user's own line stays" "# the user's own line" "$(head -n 1 "$SETTINGS")"

# --- Wayland, on headless Sway, as a throwaway user with a user manager ---------------
desktop_start sway
settings=$home/config/lumvia/lumvia.conf
printf '# the user'"'"'s own line\nmod3 depth = 6800\n' >"$settings"
$sudo chown "$user" "$settings"
user_manager_start || echo "note: $MANAGER_MISSING: the switch is not shown and nothing is turned on"
# Keys through a keyboard of wtype's own once the window has it; the first,
# Shift, is lost to the keyboard's arrival.
keys() { as_user wtype -s 1500 -d 100 -k Shift_L "$@"; }
unit_is() { [ "$(as_user systemctl --user is-enabled lumvia.service 2>&1) $(as_user systemctl --user is-active lumvia.service 2>&1)" = "$1" ]; }

# Starts it on the first output, and waits for its window (with "scene",
# for the scene in its preview).
# GTK draws its window with cairo here: with GL on llvmpipe it took 24 s to
# show it on a loaded machine (the X11 run above has GTK's GL, whose context
# the preview's shares the thread with).
run_settings() {
  as_user swaymsg focus output HEADLESS-1 >/dev/null
  as_user env GSK_RENDERER=cairo "$SETTINGS_PROGRAM" >"$WORK/out" 2>"$WORK/err" &
  lumvia_pid=$!
  background+=("$lumvia_pid")
  window_up() { [ "$(as_user swaymsg -t get_tree | grep -c '"app_id": "lumvia-settings"')" -gt 0 ]; }
  wait_for "${1:-window}_up" && return 0
  fail "Sway: no ${1:-window} in it: $(cat "$WORK/err")"
  return 1
}
scene_up() { preview_shows_scene; }
preview_shows_scene() {
  as_user grim -o HEADLESS-1 "$home/shot.png" 2>/dev/null && cp "$home/shot.png" "$WORK/shot.png" &&
    [ "$(sprite_pixels "$WORK/shot.png" 400x600+0+0)" -gt 50 ]
}

# Every scene disabled, the switch on, OK.
run_settings scene && pass "Sway: the preview shows the scene"
SHOTS=$(dirname "$SETTINGS_PROGRAM")/settings-shots
sleep 1   # the scene's name marked too
preview_shows_scene && mkdir -p "$SHOTS" && cp "$WORK/shot.png" "$SHOTS/sway.png"
keys -M alt -k d -m alt -M alt -k i -m alt -k space -M alt -k o -m alt   # Disable All, the switch, OK
wait_lumvia_exit
check "Sway: OK ends it with 0" 0 "$lumvia_exit"
check "Sway: Disable All and OK write every modN active = 0" "0 0 0 0 0 0 0 0 0 0" \
  "$(sed -n 's/^mod[0-9]* active = //p' "$settings" | tr '\n' ' ' | sed 's/ $//')"
check "Sway: the user's own line stays first" "# the user's own line" "$(head -n 1 "$settings")"
check "Sway: and Joy's stored depth" 6800 "$(sed -n 's/^mod3 depth = //p' "$settings")"
check "Sway: every value is stored" "$(sort <<<"$("$STORED_NAMES")")" \
  "$(sed -n 's/ = .*//p' "$settings" | sort)"
if [ -z "$MANAGER_MISSING" ]; then
  wait_for unit_is "enabled active" && pass "Sway: the switch enabled and started lumvia.service" ||
    fail "Sway: lumvia.service is $(as_user systemctl --user is-enabled lumvia.service 2>&1)," \
      "$(as_user systemctl --user is-active lumvia.service 2>&1): $(cat "$WORK/err")"
elif [ -e "$home/config/systemd/user/default.target.wants/lumvia.service" ]; then
  fail "Sway: without a user manager the unit was enabled all the same"
fi

# Changes, then Cancel; changes, then the close box: nothing written or turned off.
cp "$settings" "$WORK/saved"
for close in Cancel "the close box"; do
  run_settings
  keys -M alt -k a -m alt -M alt -k i -m alt -k space   # Enable All, the switch
  if [ "$close" = Cancel ]; then keys -M alt -k c -m alt
  else wait_for eval 'as_user swaymsg "[app_id=lumvia-settings]" kill >/dev/null'; fi
  wait_lumvia_exit
  check "Sway: $close ends it with 0" 0 "$lumvia_exit"
  cmp -s "$WORK/saved" "$settings" && pass "Sway: $close writes nothing" ||
    fail "Sway: $close changed the file: $(diff "$WORK/saved" "$settings" | tr '\n' ';')"
  [ -z "$MANAGER_MISSING" ] && { unit_is "enabled active" && pass "Sway: and leaves the unit on" ||
    fail "Sway: $close turned the unit off"; }
done

# The switch off, OK.
if [ -z "$MANAGER_MISSING" ]; then
  run_settings
  keys -M alt -k i -m alt -k space -M alt -k o -m alt
  wait_lumvia_exit
  wait_for unit_is "disabled inactive" && pass "Sway: the switch stopped and disabled lumvia.service" ||
    fail "Sway: lumvia.service is $(as_user systemctl --user is-enabled lumvia.service 2>&1)," \
      "$(as_user systemctl --user is-active lumvia.service 2>&1): $(cat "$WORK/err")"
  check "Sway: Love stays disabled" 0 "$(sed -n 's/^mod1 active = //p' "$settings")"
fi
finish
