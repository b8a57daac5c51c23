#!/usr/bin/env bash
# The full-screen saver as a user meets it: the window, what it draws, keys
# and the mouse through xdotool, the control menu and the parameter display
# (which leave it running when they close), a second saver, the settings
# stored when it ends, a quit from outside, and DLLs of its imports' names
# beside it, which it does not load.
. "$(dirname "$0")/lib.sh"

# --- Keys, the control menu, the parameter display, a second saver ----------
host clear
xdotool mousemove 640 512
start_fullscreen /s >/dev/null
probe=$(host probe)
screen=$(sed -n 's/^screen //p' <<<"$probe")
check "the window is topmost" "topmost 1" "$(grep '^topmost' <<<"$probe")"
check "the window covers the screen" "rect 0 0 $screen" "$(grep '^rect' <<<"$probe")"
if reds=$(wait_for_sprite_colour); then pass "the screen shows the sprite colour ($reds samples)"
else fail "no sprite colour on the screen"; fi

xdotool key Prior   # "Love" at depth 50: one step of 1
xdotool key F1
if wait_for_window "Control Menu" >/dev/null; then
  pass "F1 shows the control menu"
  menu=$(host text "Control Menu")
  grep -q "^F1 - This Control Menu" <<<"$menu" && pass "the menu lists the keys" ||
    fail "the menu text is '$menu'"
  xdotool key Return
  wait_window_gone "Control Menu" && pass "OK closes the menu" || fail "the menu stayed"
else
  fail "F1 showed no control menu"
fi

xdotool key F11
if wait_for_window "Params" >/dev/null; then
  pass "F11 shows the parameters"
  params=$(host text "Params")
  grep -q "^g_fDepth 51.000000" <<<"$params" && pass "the live depth after Page Up is shown" ||
    fail "the parameters read '$params'"
  xdotool key Return
  wait_window_gone "Params" || fail "the parameter display stayed"
else
  fail "F11 showed no parameter display"
fi

second=$(timeout "$PATIENCE" "$LUMVIA_SOURCE/scripts/wine-run" "$SCR" /s >/dev/null 2>&1; echo $?)
check "a second saver returns 0 at once" "0" "$second"
kill -0 "$saver_pid" 2>/dev/null && pass "the first saver keeps running" ||
  fail "the first saver ended"

xdotool key Escape
wait_saver_exit
check "Esc ends the saver with 0" "0" "$saver_exit"
check "every value is stored" "$(stored_names)" "$(names_held)"
check "Page Up stored depth 51 for Love" "5100" "$(stored 'mod1 depth')"
check "the cycle time is stored" "15" "$(stored 'cycle time')"

# --- Reading the key list or the parameters does not end it -----------------
# The cursor starts in a corner; the user takes it to the box and presses
# Enter. The box closes with the cursor far from where the saver started,
# and that is no travel: a move of one pixel afterwards leaves the saver
# running.
host clear
xdotool mousemove 5 5
start_fullscreen /s >/dev/null
for shown in "F1:Control Menu" "F11:Params"; do
  key=${shown%%:*} title=${shown#*:}
  xdotool key "$key"
  if id=$(wait_for_window "$title"); then
    eval "$(xdotool getwindowgeometry --shell "$id")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
    xdotool key Return
    wait_window_gone "$title" || fail "$title stayed"
    xdotool mousemove_relative 1 0
  else
    fail "$key showed no $title"
  fi
done
xdotool key Prior
xdotool key Escape
wait_saver_exit
check "the saver ends with Esc" "0" "$saver_exit"
check "it ran on after the key list and the parameters closed" "5100" "$(stored 'mod1 depth')"

# --- Mouse travel of 100 and clicks do not end it ---------------------------
# Page Up after them is the witness: it is stored only if the saver was still
# there to take it.
host clear
xdotool mousemove 400 300
start_fullscreen /s >/dev/null
xdotool mousemove 430 320
xdotool mousemove 460 340   # 60 + 40 = 100 from where it started
xdotool click 1
xdotool click 3
xdotool key Prior
xdotool key Escape
wait_saver_exit
check "the saver ends with 0" "0" "$saver_exit"
check "travel 100 and clicks left the saver running" "5100" "$(stored 'mod1 depth')"

# --- Mouse travel of 101 ends it --------------------------------------------
host clear
xdotool mousemove 400 300
start_fullscreen /s >/dev/null
xdotool mousemove 460 341   # 60 + 41 = 101
wait_saver_exit
check "travel 101 ends the saver with 0" "0" "$saver_exit"
check "and stores the settings" "5000" "$(stored 'mod1 depth')"

# --- A quit posted to its thread from outside ends it with that code -------
check "a WM_QUIT posted to the saver's thread ends it with its code" "exit 7" \
  "$(host quit "$(winpath "$SCR")" 7)"

finish
