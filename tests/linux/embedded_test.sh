#!/usr/bin/env bash
# lumvia drawing into a window it did not make: the root window with -root,
# a window of the test's with -window-id and through XSCREENSAVER_WINDOW;
# SIGTERM ends it by that signal and nothing is written; no frame is drawn
# while that window is unmapped or covered, frames coming back once it
# can be seen again (counted by the preloaded library SWAP_COUNT); and a
# window destroyed by its owner while it is shown ends it.
. "$(dirname "$0")/lib.sh"
: "${TEST_WINDOW:?TEST_WINDOW must name the built x11_test_window}"
: "${SWAP_COUNT:?SWAP_COUNT must name the built swap_count library}"
start_xvfb -br   # a black root window

stop_lumvia() {  # stop_lumvia WHAT: SIGTERM, then the exit code and no settings
  kill -TERM "$lumvia_pid"
  wait_lumvia_exit
  check "SIGTERM ends $1 by that signal" 143 "$lumvia_exit"
  [ -e "$XDG_CONFIG_HOME" ] && fail "$1 wrote $(find "$XDG_CONFIG_HOME")" || pass "$1 wrote nothing"
  [ -s "$WORK/err" ] && fail "$1 said: $(cat "$WORK/err")"
}

# Makes a plain window X Y W H of the test's own; prints its id.
make_window() {
  local out=$WORK/window-$RANDOM
  "$TEST_WINDOW" "$@" >"$out" 2>/dev/null &
  background+=($!)
  wait_for test -s "$out" || return 1
  echo "$! $(cat "$out")"
}

# The pure yellow samples of the frame rate's text in the lower left corner.
corner_text() {
  import -window root "$WORK/corner.png"
  convert "$WORK/corner.png" -crop 240x40+0+728 +repage txt:- 2>/dev/null |
    sed -n 's/.*(\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3/p' |
    awk '$1 > 240 && $2 > 240 && $3 < 40 { n++ } END { print n + 0 }'
}

# --- -root on the root window, with -fps ---------------------------------------
start_lumvia -root -fps
if reds=$(wait_for_sprite_colour); then pass "-root draws on the root window ($reds samples)"
else fail "no sprite colour on the root window"; fi
shown_rate() { [ "$(corner_text)" -gt 20 ]; }
wait_for shown_rate && pass "-fps shows the frame rate in the lower left corner" ||
  fail "no frame rate in the corner ($(corner_text) samples)"
stop_lumvia "-root"
# The root window keeps what was drawn on it until something repaints it,
# as the daemon does when it unblanks.
xsetroot -solid black

# --- -window-id into the test's window -----------------------------------------
read -r _ window < <(make_window 100 100 400 300) || fail "no test window"
LD_PRELOAD=$SWAP_COUNT LUMVIA_SWAP_COUNT=$WORK/swaps start_lumvia -window-id "$window"
if reds=$(wait_for_sprite_colour 400x300+100+100); then
  pass "-window-id draws inside the window ($reds samples)"
else
  fail "no sprite colour inside the window"
fi
import -window root "$WORK/screen.png"
check "and nothing outside it" 0 "$(sprite_pixels "$WORK/screen.png" 400x200+600+500)"

frames() { cat "$WORK/swaps" 2>/dev/null || echo 0; }
more_frames() { [ "$(frames)" -gt "$1" ]; }
# Waits until the count stands still, then checks that it keeps standing
# for a whole second.
no_frames_while() {
  local before after
  wait_for eval 'before=$(frames); sleep 0.3; [ "$before" = "$(frames)" ]'
  before=$(frames)
  sleep 1
  after=$(frames)
  check "no frame is drawn while $1" "$before" "$after"
}
wait_for more_frames 10 || fail "no frames counted"
xdotool windowunmap "$window"
no_frames_while "the window is unmapped"
count=$(frames)
xdotool windowmap "$window"
wait_for more_frames "$count" && pass "frames come back when it is mapped again" ||
  fail "no frames after the window was mapped again"
read -r cover_pid cover < <(make_window 50 50 600 400) || fail "no covering window"
no_frames_while "the window is covered"
count=$(frames)
kill "$cover_pid"
wait_for more_frames "$count" && pass "frames come back when it is uncovered" ||
  fail "no frames after the cover went"
stop_lumvia "-window-id"

# --- The window destroyed by its owner while lumvia draws into it -------------
# (a preview going away), at a moment anywhere in a frame: each time lumvia
# ends, with 0 and without a word.
wrong=0
for try in $(seq 8); do
  read -r owner window < <(make_window 0 0 1024 768) || { fail "no test window"; break; }
  start_lumvia -window-id "$window"
  wait_for_sprite_colour >/dev/null || fail "try $try: nothing drawn"
  sleep "0.$((RANDOM % 10))"
  kill -USR1 "$owner"   # the owner destroys its window
  wait_lumvia_exit
  if [ "$lumvia_exit" != 0 ] || [ -s "$WORK/err" ]; then
    wrong=$((wrong + 1))
    echo "try $try: $lumvia_exit $(cat "$WORK/err")"
    kill -KILL "$lumvia_pid" 2>/dev/null
  fi
  kill "$owner"
done
check "a destroyed window ends lumvia with 0, 8 times of 8" 0 "$wrong"

# --- -root into $XSCREENSAVER_WINDOW, as the daemon runs it --------------------
read -r _ window < <(make_window 500 400 300 200) || fail "no test window"
XSCREENSAVER_WINDOW=$window start_lumvia -root
if reds=$(wait_for_sprite_colour 300x200+500+400); then
  pass "-root draws into \$XSCREENSAVER_WINDOW ($reds samples)"
else
  fail "no sprite colour in \$XSCREENSAVER_WINDOW"
fi
stop_lumvia "-root in \$XSCREENSAVER_WINDOW"

finish
