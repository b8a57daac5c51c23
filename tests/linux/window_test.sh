#!/usr/bin/env bash
# lumvia -window as a user runs it by hand: a bad option, the scene on the
# screen, the keys with what F1 and F11 print, Esc, and the settings saved
# on exit without the run's own choice of modules and cycle time.
. "$(dirname "$0")/lib.sh"
start_xvfb

# --- Bad options and -help ------------------------------------------------
"$LUMVIA" -window -bogus 2>"$WORK/bad" >/dev/null
check "an unknown option exits with 1" 1 $?
check "its line names it" 'lumvia: unknown option "-bogus"' "$(head -n 1 "$WORK/bad")"
grep -q '^usage: lumvia' "$WORK/bad" && pass "the usage follows" || fail "no usage after the error"
"$LUMVIA" -help >"$WORK/help"
check "-help exits with 0" 0 $?
grep -q -- '-window-id ID' "$WORK/help" && pass "-help prints the usage" || fail "-help printed '$(cat "$WORK/help")'"

# --- The window, its keys, Esc, the save -----------------------------------
start_lumvia -window -geometry 640x480+0+0
if id=$(wait_for_window Lumvia); then pass "the window is there"; else fail "no window: $(cat "$WORK/err")"; fi
xdotool windowfocus --sync "$id" 2>/dev/null
if reds=$(wait_for_sprite_colour 640x480+0+0); then pass "the window shows the sprite colour ($reds samples)"
else fail "no sprite colour in the window"; fi
xdotool key Prior F11 F1   # "Love" at depth 50: one step of 1
wait_for printed 'Backspace - Previous Module' || fail "F1 printed '$(cat "$WORK/out")'"
printed '^g_fDepth 51.000000$' && pass "F11 prints the live depth after Page Up" ||
  fail "F11 printed '$(cat "$WORK/out")'"
printed '^F1 - This Control Menu$' && pass "F1 prints the control menu" || fail "no control menu text"
lumvia_ended && fail "the keys with actions ended lumvia"
xdotool key Escape
wait_lumvia_exit
check "Esc ends lumvia with 0" 0 "$lumvia_exit"
check "Page Up stored depth 51 for Love" 5100 "$(stored 'mod1 depth')"
check "every value is stored" "$("$STORED_NAMES" | sort)" "$(sed -n 's/ = .*//p' "$SETTINGS" | sort)"

# --- The run's own modules and cycle time are shown, not saved ---------------
start_lumvia -window -modules joy,bliss -module joy -cycle 1000 -geometry 320x240+0+0
id=$(wait_for_window Lumvia) && xdotool windowfocus --sync "$id" 2>/dev/null
xdotool key F11
wait_for printed '^g_fDepth' || fail "F11 printed nothing: $(cat "$WORK/err")"
printed '^g_fDepth 68.000000$' && pass "-module joy shows Joy first" || fail "F11 printed '$(cat "$WORK/out")'"
xdotool key a   # a key without an action
wait_lumvia_exit
check "a key without an action ends lumvia with 0" 0 "$lumvia_exit"
check "the stored cycle time stays" 15 "$(stored 'cycle time')"
check "Love stays enabled" 1 "$(stored 'mod1 active')"
check "Love's view stays" 5100 "$(stored 'mod1 depth')"

finish
