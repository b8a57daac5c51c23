#!/usr/bin/env bash
# The settings dialog of the real lumvia.scr: the tails that open it, OK and
# Cancel ending it with 1 and handing the activation back to its owner, what
# each leaves in the registry, what the saver shows afterwards, and the
# dialog worked with the mouse and the keyboard as a person would.
. "$(dirname "$0")/lib.sh"
scr=$(winpath "$SCR")

# Runs lumvia.scr with the tail, waits for the dialog, presses the buttons
# with the given ids in turn and prints the helper's "exit N".
settings_run() {
  local tail=$1 launcher
  shift
  host launch "$scr" "$tail" "$PATIENCE" >"$WORK/exit" &
  launcher=$!
  if wait_for_window "Lumvia Settings" >/dev/null; then
    for id in "$@"; do host press "Lumvia Settings" "$id" >/dev/null; done
  else
    fail "no settings dialog for tail '$tail'"
  fi
  wait "$launcher"
  cat "$WORK/exit"
}

# Every tail that names the settings: none, blanks only, a bare dash, "C" with
# or without a window number.
ok=1 cancel=2
button=$ok
for tail in '' '/c' '/c:1234' '-' '   ' '/C 77' '\tc'; do
  check "tail '$tail' opens the dialog, ended by button $button" "exit 1" "$(settings_run "$tail" $button)"
  button=$(( button == ok ? cancel : ok ))
done

# Opened from the Screen Saver settings page, whose window is in front and
# becomes the owner: OK and Cancel give it back, enabled and active.
for id in $ok $cancel; do
  check "button $id gives the window that opened the settings back the activation" \
    "exit 1 owner 1 enabled 1 active 1" "$(host owned "$scr" '/c:%u' $id | tr '\n' ' ' | sed 's/ $//')"
done

# Cancel after Disable All writes nothing.
host clear
check "cancel after disable all" "exit 1" "$(settings_run '/c' 1047 $cancel)"
check "nothing is written by cancel" "0" "$(host values | wc -l)"

# OK after Disable All writes every value with every module disabled.
check "ok after disable all" "exit 1" "$(settings_run '/c' 1047 $ok)"
check "ok writes every value" "$(stored_names)" "$(names_held)"
check "every module is disabled" "10" "$(host values | grep -c ' active=0$')"
check "the cycle time is kept" "15" "$(stored 'cycle time')"

# The saver then shows no module: its screen stays black while it runs.
start_saver /s
if id=$(wait_for_window "Screen Saver"); then
  colours=
  deadline=$((SECONDS + 3))
  while [ $SECONDS -lt $deadline ]; do
    import -window root "$WORK/screen.png" 2>/dev/null
    colours=$(convert "$WORK/screen.png" -format '%k' info:)
    [ "$colours" = 1 ] || break
  done
  check "the saver shows nothing with every module disabled" "1" "$colours"
  xdotool key --window "$id" Escape 2>/dev/null
  wait_saver_exit
  check "the saver ends" "0" "$saver_exit"
else
  fail "no full-screen saver window"
fi
host clear

# Opens the dialog with no tail and waits for its preview's frames; dialog is
# its X window.
open_dialog() {
  host launch "$scr" '' "$PATIENCE" >"$WORK/exit" &
  launcher=$!
  dialog=$(wait_for_window "Lumvia Settings") || { fail "no settings dialog"; return 1; }
  check "the preview draws" "drawing" "$(host drawing "Lumvia Settings")"
}
# OK, and the dialog's end.
press_ok() {
  host press "Lumvia Settings" 1 >/dev/null
  wait "$launcher"
  check "OK ends the dialog with 1" "exit 1" "$(cat "$WORK/exit")"
}

# The list of "Other monitors" is a window of its own: it shows and takes a
# click while the preview runs, and the preview goes on afterwards.
if open_dialog; then
  read -r x y w h <<<"$(host item "Lumvia Settings" 1050)"
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
  if read -r lx ly lw lh item <<<"$(host droplist)" && [ -n "$item" ]; then
    xdotool mousemove $((lx + lw / 2)) $((ly + 2 * item + item / 2)) click 1   # the third choice
  else
    fail "the list of choices did not open"
  fi
  check "the preview draws once the list has closed" "drawing" "$(host drawing "Lumvia Settings")"
  press_ok
  check "the choice clicked in the list is stored" "2" "$(stored 'other monitors')"
fi
host clear

# Tab, Shift+Tab and Space work the controls; the arrow keys still steer the
# preview. The first stop is the enable box of "Love"; Space unticks the one
# of "Peace".
if open_dialog; then
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  xdotool key Tab Tab shift+Tab space Up
  press_ok
  check "Tab, Shift+Tab and Space untick \"Peace\"" "0 1" "$(stored 'mod2 active') $(stored 'mod1 active')"
  check "and the up arrow moves the view of \"Love\" up" "100" "$(stored 'mod1 vert')"
fi
host clear

finish
