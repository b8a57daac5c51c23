#!/usr/bin/env bash
# The full-screen saver on a desktop of several monitors, on the Xorg test bed
# that scripts/xorg-run starts: what each "other monitors" choice shows on
# each monitor, the mouse rule and the keys on the second monitor (covered or
# left as it is), a click into another program there, a second saver, a
# change of the layout while the saver runs, three monitors of
# two sizes, one of them left of the primary, and the settings dialog opened
# on the second monitor. The screenshots of the four
# choices are left in LUMVIA_BUILD/monitors/ (scripts/monitor-gallery).
. "$(dirname "$0")/lib.sh"
SHOTS=$LUMVIA_BUILD/monitors
mkdir -p "$SHOTS"
rm -f "$SHOTS"/choice-*.png

xrandr --listmonitors >/dev/null 2>&1 && xrandr | grep -q '^DUMMY1 ' || {
  echo "FAIL: the display $DISPLAY is not the dummy Xorg server of scripts/xorg-run"
  exit 1
}

# The heads of the dummy server are placed with xrandr. Wine sees the new
# layout once the server has probed its outputs again (a plain query), but
# tells no window about it; a change made through the system's display
# settings, as further below, it does tell every window about.
xrandr --newmode m800 40.0 800 840 968 1056 600 601 605 628 2>/dev/null
xrandr --newmode m640 25.175 640 656 752 800 480 490 492 525 2>/dev/null
xrandr --addmode DUMMY1 m800 2>/dev/null
xrandr --addmode DUMMY2 m640 2>/dev/null
# Waits until Wine reports the monitors the arguments list (left top right
# bottom, in screen coordinates: the primary's corner is 0,0).
wait_for_monitors() {
  local expected deadline=$((SECONDS + PATIENCE)) seen
  expected=$(printf '%s\n' "$@" | sort)
  while [ $SECONDS -lt $deadline ]; do
    seen=$(host monitors | sed 's/ primary$//' | sort)
    [ "$seen" = "$expected" ] && return 0
    sleep 0.5
  done
  fail "Wine reports the monitors '$seen', not '$expected'"
  return 1
}
probe_outputs() {
  xrandr >/dev/null
  xsetroot -solid white
}
two_monitors() {
  xrandr --output DUMMY2 --off --output DUMMY0 --mode 800x600 --pos 0x0 --primary \
    --output DUMMY1 --mode m800 --pos 800x0
  probe_outputs
  wait_for_monitors "0 0 800 600" "800 0 1600 600"
}
three_monitors() {
  xrandr --output DUMMY2 --mode m640 --pos 0x0 --output DUMMY0 --mode 800x600 --pos 640x0 \
    --primary --output DUMMY1 --mode m800 --pos 1440x0
  probe_outputs
  wait_for_monitors "-640 0 0 480" "0 0 800 600" "800 0 1600 600"
}

# --- Pieces of a screenshot ---------------------------------------------------
shoot() { import -window root "$WORK/screen.png" 2>/dev/null; }
# Cuts the area WxH+X+Y (X screen coordinates) of the last screenshot out as NAME.png.
cut() { convert "$WORK/screen.png" -crop "$2" +repage "$WORK/$1.png"; }
has_sprite() { [ "$(sprite_pixels "$WORK/$1.png")" -gt 20 ]; }
# "black" or "white" when the whole piece is that one colour.
plain() {
  case $(convert "$WORK/$1.png" -format '%k %[fx:int(255*maxima)] %[fx:int(255*minima)]' info:) in
    "1 0 0") echo black ;;
    "1 255 255") echo white ;;
    *) echo mixed ;;
  esac
}
# The two pieces show the same picture: a few pixels along the edges of the
# sprites may round differently, none more than a little.
alike() {
  local differ
  differ=$(compare -metric AE -fuzz 10% "$WORK/$1.png" "$WORK/$2.png" null: 2>&1)
  [ "${differ%%.*}" -lt 200 ] 2>/dev/null
}

# The first piece shows the second's picture at its own smaller size: a
# viewport that missed its monitor by a few rows would differ far more.
alike_scaled() {
  local size error
  size=$(convert "$WORK/$1.png" -format '%wx%h' info:)
  convert "$WORK/$2.png" -resize "$size" "$WORK/scaled.png"
  error=$(compare -metric RMSE "$WORK/$1.png" "$WORK/scaled.png" null: 2>&1 | sed -n 's/.*(\(.*\))$/\1/p')
  awk -v e="${error:-1}" 'BEGIN { exit !(e < 0.04) }'
}

# Polls screenshots until the named condition holds, or the patience runs out.
wait_for_screen() {
  local deadline=$((SECONDS + PATIENCE))
  while [ $SECONDS -lt $deadline ]; do
    shoot && "$@" && return 0
    sleep 0.3
  done
  return 1
}

left_right() { cut left 800x600+0+0 && cut right 800x600+800+0; }
shows_black() { left_right && has_sprite left && [ "$(plain right)" = black ]; }
shows_same() { left_right && has_sprite left && alike left right; }
shows_spanning() { left_right && has_sprite left && has_sprite right && ! alike left right; }
shows_left_alone() { left_right && has_sprite left && [ "$(plain right)" = white ]; }

# --- Two monitors side by side: each choice -----------------------------------
two_monitors
choice_names=(black same spanning left_alone)
expected_rects=("0 0 1600 600" "0 0 1600 600" "0 0 1600 600" "0 0 800 600")
for choice in 0 1 2 3; do
  name=${choice_names[$choice]}
  host clear
  host set "other monitors" "$choice"
  xdotool mousemove 400 300
  start_fullscreen /s >/dev/null || continue
  probe=$(host probe)
  check "choice $choice: the window covers ${expected_rects[$choice]}" \
    "rect ${expected_rects[$choice]}" "$(grep '^rect' <<<"$probe")"
  check "choice $choice: the virtual screen is both monitors" "virtual 0 0 1600 600" \
    "$(grep '^virtual' <<<"$probe")"
  check "choice $choice: the window is topmost" "topmost 1" "$(grep '^topmost' <<<"$probe")"
  if wait_for_screen "shows_$name"; then
    pass "choice $choice ($name) shows on each monitor what it promises"
    cp "$WORK/screen.png" "$SHOTS/choice-$choice.png"
  else
    cp "$WORK/screen.png" "$SHOTS/choice-$choice-failed.png"
    fail "choice $choice ($name): the screen is not as promised (see $SHOTS/choice-$choice-failed.png)"
  fi
  xdotool key Escape
  wait_saver_exit
  check "choice $choice: Esc ends the saver with 0" "0" "$saver_exit"
  check "choice $choice: every value is stored" "$(stored_names)" "$(names_held)"
  check "choice $choice: it is stored as it was" "$choice" "$(stored 'other monitors')"
done
# --- The mouse and the keys on the second monitor ------------------------------
# Covered (choice 1) or left as it is (choice 3: the window covers the primary
# alone, and each frame reads the cursor wherever it is), the second monitor
# is no way round the saver: a travel of 100 there leaves it running, one of
# 101 ends it, and with choice 3 so does a click into another program there.
for choice in 1 3; do
  host clear
  host set "other monitors" $choice
  xdotool mousemove 1000 300
  start_fullscreen /s >/dev/null
  xdotool mousemove 1030 320
  xdotool mousemove 1060 340   # 60 + 40 = 100 from where it started
  if [ $choice = 1 ]; then
    xdotool click 1
    second=$(timeout "$PATIENCE" "$LUMVIA_SOURCE/scripts/wine-run" "$SCR" /s >/dev/null 2>&1; echo $?)
    check "a second saver returns 0 at once" "0" "$second"
  fi
  sleep 0.5                    # frames read the cursor meanwhile
  xdotool key Prior
  xdotool key Escape
  wait_saver_exit
  check "choice $choice: travel 100 on the second monitor leaves the saver running; Esc ends it" "0" "$saver_exit"
  check "choice $choice: Page Up reached the keyboard controls" "5100" "$(stored 'mod1 depth')"

  host clear
  host set "other monitors" $choice
  xdotool mousemove 1000 300
  start_fullscreen /s >/dev/null
  xdotool mousemove 1060 341   # 60 + 41 = 101
  wait_saver_exit
  check "choice $choice: travel 101 on the second monitor ends the saver with 0" "0" "$saver_exit"
  end_leftover
done

host clear
host set "other monitors" 3
host window 1000 200 300 200 >"$WORK/clicked" &
clicker=$!
wait_for_window "Lumvia e2e window" >/dev/null || fail "no window of another program"
xdotool mousemove 1100 300   # over that window; the click moves the cursor no further
start_fullscreen /s >/dev/null
xdotool click 1
wait_saver_exit
check "choice 3: a click into another program on the second monitor ends the saver with 0" "0" "$saver_exit"
end_leftover
wait "$clicker"
check "the click went to that program" "clicked" "$(cat "$WORK/clicked")"

# --- A new layout while the saver runs ----------------------------------------
# The system's display settings move the second monitor below the primary,
# and tell every window so. Wine carries the change out by switching the
# heads off and on again, and the X server then puts the pointer on the right
# edge of the primary: started there, the pointer does not move, as it would
# not on Windows.
host clear
host set "other monitors" 1
xdotool mousemove 799 300
shows_same_stacked() {
  cut top 800x600+0+0 && cut bottom 800x600+0+600 && has_sprite top && alike top bottom
}
if start_fullscreen /s >/dev/null; then
  wait_for_screen shows_same >/dev/null
  host place '\\.\DISPLAY2' 0 600 || fail "the second monitor could not be moved"
  deadline=$((SECONDS + PATIENCE))
  until [ "$(host probe | grep '^rect')" = "rect 0 0 800 1200" ] || [ $SECONDS -ge $deadline ]; do
    sleep 0.3
  done
  check "after the move the window covers the new layout" "rect 0 0 800 1200" \
    "$(host probe | grep '^rect')"
  wait_for_screen shows_same_stacked && pass "both monitors show the scene in the new layout" ||
    fail "the new layout does not show the scene on both monitors"
  xdotool key Escape
  wait_saver_exit
  check "the saver ends with 0" "0" "$saver_exit"
fi

# --- Three monitors, one smaller and left of the primary ------------------------
three_monitors
host clear
host set "other monitors" 1
xdotool mousemove 100 200    # on the left monitor, at -540, 200
if start_fullscreen /s >/dev/null; then
  check "the window covers all three monitors" "rect -640 0 1600 600" "$(host probe | grep '^rect')"
  three_alike() {
    cut small 640x480+0+0 && cut primary 800x600+640+0 && cut right 800x600+1440+0 &&
      has_sprite small && has_sprite primary && alike primary right && alike_scaled small primary
  }
  wait_for_screen three_alike && pass "each of the three monitors shows the scene, filling it" ||
    fail "the three monitors do not each show the scene filling it"
  xdotool mousemove 160 241  # 60 + 41 = 101, all on the left monitor
  wait_saver_exit
  check "travel 101 on the left monitor ends the saver with 0" "0" "$saver_exit"
fi
two_monitors
host clear

# --- The settings dialog on the second monitor ----------------------------------
# Opened from a window there (the Screen Saver page), or with the cursor there,
# it opens in the middle of that monitor (800, 0 to 1600, 600).
near_middle() { awk -v p="$1" 'BEGIN { split(p, a, " "); exit !(a[1] >= 1198 && a[1] <= 1202 && a[2] >= 298 && a[2] <= 302) }'; }
scr=$(winpath "$SCR")
centre=$(host centre "$scr" /c 1100 200)
near_middle "$centre" && pass "opened from a window on the second monitor, the settings open there" ||
  fail "the settings opened from a window on the second monitor are centred at '$centre'"
xdotool mousemove 1200 300
centre=$(host centre "$scr" '')
near_middle "$centre" && pass "opened with the cursor on the second monitor, the settings open there" ||
  fail "the settings opened with the cursor on the second monitor are centred at '$centre'"
host clear

finish
