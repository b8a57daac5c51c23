#!/usr/bin/env bash
# The settings dialog of the real lumvia.scr: the tails that open it, OK and
# Cancel ending it with 1 and handing the activation back to its owner, what
# each leaves in the registry, and what the saver shows afterwards.
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

finish
