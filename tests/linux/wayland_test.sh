#!/usr/bin/env bash
# lumvia -wayland on a headless Sway with two outputs of different sizes
# (800x600 and 640x480 to its right), run by a throwaway user (Sway refuses
# root) in one Sway session: each "other monitors" choice shows on each
# output what it promises, and -output picks the scene's; Page Up then Esc
# ends it with the view saved; a pointer travel of 100 leaves it running and
# one of 101 ends it; an output added while it runs shows the
# scene within a second, and one taken away leaves it running; -window, which
# draws nothing while it cannot be seen; swayidle starts the program the
# Debian package installs (LUMVIA_DEB); the compositor going away ends it
# with the views saved. Everything it makes or installs is taken away again.
. "$(dirname "$0")/lib.sh"
: "${POINTER_DEVICE:?POINTER_DEVICE must name the built pointer_device}"
skip() { echo "skipped: $*"; exit 77; }

for tool in sway swaymsg grim wtype swayidle; do
  command -v $tool >/dev/null || skip "$tool is not installed (scripts/bootstrap installs it)"
done
needs_root "a throwaway user"
throwaway_user lumvia-wayland
settings=$home/config/lumvia/lumvia.conf
as_user() {
  $sudo runuser -u "$user" -- env -i HOME="$home" XDG_RUNTIME_DIR="$home/run" \
    XDG_CONFIG_HOME="$home/config" SWAYSOCK="$home/run/sway.sock" WAYLAND_DISPLAY=wayland-1 \
    PATH=/usr/bin:/bin ASAN_OPTIONS="$ASAN_OPTIONS" "$@"
}
mkdir -p "$home/run" "$home/config/lumvia"
chmod 700 "$home/run"
# The cursor is hidden so that it does not show in the screenshots.
cat >"$home/sway.conf" <<END
output HEADLESS-1 resolution 800x600 position 0 0
default_border none
seat seat0 hide_cursor 100
END
$sudo chown -R "$user" "$home"

# --- The compositor: direct scan-out of a client's buffer is off, because
# sway 1.7 on its headless back end then stops drawing the other outputs.
as_user env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  sway -D noscanout -c "$home/sway.conf" >"$WORK/sway.log" 2>&1 &
background+=($!)
sway_ready() { as_user swaymsg -t get_version >/dev/null 2>&1 && [ -S "$home/run/wayland-1" ]; }
wait_for sway_ready || { fail "sway did not start: $(tail -n 5 "$WORK/sway.log")"; finish; }
as_user swaymsg create_output >/dev/null
as_user swaymsg output HEADLESS-2 resolution 640x480 position 800 0 >/dev/null
pass "sway runs headless with two outputs"

OUT1=800x600+0+0
OUT2=640x480+800+0
# Each choice's screenshot is kept for scripts/wayland-gallery.
SHOTS=$(dirname "$LUMVIA")/wayland-shots
mkdir -p "$SHOTS"

# Runs lumvia as the user in the background, its output in $WORK/out, err.
run_lumvia() {
  as_user "$@" >"$WORK/out" 2>"$WORK/err" &
  lumvia_pid=$!
  background+=("$lumvia_pid")
}
# wtype adds a keyboard of its own for each run: time for the client to get it.
keys() { as_user wtype -s 500 "$@"; }
# Esc until the test (lumvia_ended, or another) holds, should a keyboard have
# come too late for it.
esc_until() {
  local try
  for try in 1 2 3; do
    keys -k Escape
    PATIENCE=$((PATIENCE / 3)) wait_for "$@" && return 0
  done
  return 1
}
settings_say() { echo "$1" >"$settings"; $sudo chown "$user" "$settings"; }

# Screenshots of every output until the checks all hold for one of them.
shot() { as_user grim "$home/shot.png" 2>/dev/null && cp "$home/shot.png" "$WORK/shot.png"; }
holds() {  # holds CHECK AREA [CHECK AREA]...: on the last screenshot
  while [ $# -ge 2 ]; do "$1" "$2" || return 1; shift 2; done
}
screen_shows() {  # screen_shows CHECK AREA [CHECK AREA]...
  local deadline=$((SECONDS + PATIENCE))
  while [ $SECONDS -lt $deadline ]; do
    shot && holds "$@" && return 0
    sleep 0.2
  done
  return 1
}
# samples AREA R G B: how many of 64 x 64 samples over the area are near
# that colour.
samples() {
  convert "$WORK/shot.png" -crop "$1" +repage -resize 64x64\! txt:- 2>/dev/null |
    sed -n 's/.*(\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3/p' |
    awk -v r="$2" -v g="$3" -v b="$4" \
      '($1-r)^2 + ($2-g)^2 + ($3-b)^2 < 300 { n++ } END { print n + 0 }'
}
scene() { [ "$(sprite_pixels "$WORK/shot.png" "$1")" -gt 50 ]; }
black() { [ "$(samples "$1" 0 0 0)" -eq 4096 ]; }
desktop() { [ "$(samples "$1" 64 64 64)" -eq 4096 ]; }   # sway's own background

# --- A compositor that is not there ----------------------------------------------
as_user env WAYLAND_DISPLAY=nowhere "$LUMVIA" -wayland >/dev/null 2>"$WORK/err"
check "no compositor: exit 1" 1 $?
check "and one line says so" 'lumvia: cannot connect to the Wayland compositor "nowhere"' \
  "$(cat "$WORK/err")"

# --- Each choice of "other monitors", with Love: its central object is in the
# middle of the scene. Page Up and Esc in the first.
promise=(
  "scene 120x120+340+240 black $OUT2"                          # 0: black
  "scene 120x120+340+240 scene 120x120+1060+180"               # 1: the same scene on each
  "scene 120x120+660+240 scene $OUT2"                          # 2: one scene across both
  "scene 120x120+340+240 desktop $OUT2"                        # 3: the second left as it is
)
names=("black" "the same scene on each" "one scene across both" "the second left alone")
for choice in 1 0 2 3; do
  settings_say "other monitors = $choice"
  run_lumvia "$LUMVIA" -wayland -modules love
  # shellcheck disable=SC2086
  if screen_shows ${promise[$choice]}; then pass "choice $choice shows ${names[$choice]}"
  else fail "choice $choice: the screen is not as promised ($SHOTS/choice-$choice.png)"; fi
  cp "$WORK/shot.png" "$SHOTS/choice-$choice.png"
  if [ "$choice" = 1 ]; then keys -k Prior -k F11; wait_for printed '^g_fDepth'; fi
  esc_until lumvia_ended
  wait_lumvia_exit
  check "Esc ends choice $choice with 0" 0 "$lumvia_exit"
  if [ "$choice" = 1 ]; then
    printed '^g_fDepth 51.000000$' && pass "F11 prints the depth after Page Up" ||
      fail "F11 printed '$(cat "$WORK/out")'"
    check "Page Up is saved as depth 5100 for Love" 5100 "$(sed -n 's/^mod1 depth = //p' "$settings")"
  fi
done

# --- -output: the scene on the second output, the first black ----------------------
settings_say "other monitors = 0"
run_lumvia "$LUMVIA" -wayland -output HEADLESS-2 -modules love
screen_shows black $OUT1 scene 120x120+1060+180 && pass "-output HEADLESS-2 shows the scene there" ||
  fail "-output HEADLESS-2 did not move the scene"
esc_until lumvia_ended
wait_lumvia_exit

# --- The pointer: a device of its own, as the test bed has none ---------------------
settings_say "other monitors = 1"
as_user "$POINTER_DEVICE" >"$WORK/pointer_out" 2>&1 &
pointer_pid=$!
background+=("$pointer_pid")
wait_for grep -q ready "$WORK/pointer_out" || fail "no pointer device: $(cat "$WORK/pointer_out")"
as_user swaymsg seat seat0 cursor set 400 300 >/dev/null
run_lumvia "$LUMVIA" -wayland -modules love
screen_shows scene $OUT1 || fail "no scene before the pointer moves"
as_user swaymsg seat seat0 cursor set 400 300 >/dev/null
as_user swaymsg seat seat0 cursor move 60 40 >/dev/null
sleep 1
lumvia_ended && fail "a pointer travel of 100 ended it" || pass "a pointer travel of 100 does not end it"
as_user swaymsg seat seat0 cursor move 0 1 >/dev/null
wait_lumvia_exit
check "a travel of 101 ends it with 0" 0 "$lumvia_exit"
kill "$pointer_pid" 2>/dev/null

# --- An output that comes while it runs, and one that goes ------------------------
run_lumvia "$LUMVIA" -wayland -modules love
screen_shows scene $OUT1 scene $OUT2 || fail "no scene before the third output"
as_user swaymsg create_output >/dev/null
as_user swaymsg output HEADLESS-3 resolution 640x480 position 0 600 >/dev/null
placed=$(date +%s%N)
for i in $(seq 20); do   # the screenshots first, looked at afterwards
  taken[$i]=$(date +%s%N)
  as_user grim "$home/added-$i.png" 2>/dev/null
done
seen=""
for i in $(seq 20); do
  cp "$home/added-$i.png" "$WORK/shot.png" 2>/dev/null || continue
  if scene 640x480+0+600; then seen=$(((taken[i] - placed) / 1000000)); break; fi
done
if [ -z "$seen" ]; then fail "the added output shows no scene"
elif [ "$seen" -le 1000 ]; then pass "the added output shows the scene ($seen ms after it was placed)"
else fail "the added output showed the scene only $seen ms after it was placed"; fi
as_user swaymsg output HEADLESS-3 disable >/dev/null
sleep 0.5
screen_shows scene $OUT1 && ! lumvia_ended && pass "with that output gone the scene goes on" ||
  fail "the scene stopped when an output went: $(cat "$WORK/err")"
esc_until lumvia_ended
wait_lumvia_exit
check "and Esc still ends it with 0" 0 "$lumvia_exit"

# --- -window: one window of its own (sway tiles it over the first output). On
# another workspace nobody sees it: the compositor sends no frame callbacks,
# and -fps counts no frames until it is seen again.
run_lumvia "$LUMVIA" -wayland -window -fps -modules love
screen_shows scene $OUT1 && pass "-wayland -window shows the scene" || fail "-window shows no scene"
as_user swaymsg workspace 5 >/dev/null
wait_for grep -q '^lumvia: 0.0 frames per second' "$WORK/err" &&
  pass "hidden, it draws no frame" || fail "hidden, it went on drawing: $(cat "$WORK/err")"
as_user swaymsg workspace 1 >/dev/null
drawing_again() { awk '/: 0.0 frames/ { dark = 1; next } dark && $2 > 0 { n++ } END { exit !n }' "$WORK/err"; }
wait_for drawing_again && pass "seen again, it draws again" || fail "no frames after: $(cat "$WORK/err")"
esc_until lumvia_ended
wait_lumvia_exit
check "Esc ends -window with 0" 0 "$lumvia_exit"

# --- swayidle, running the program the package installs ------------------------------
program=$LUMVIA
if [ -f "${LUMVIA_DEB:-}" ] && ! package_installed; then
  if install_package "$LUMVIA_DEB"; then
    program=lumvia
    pass "dpkg -i installs $(basename "$LUMVIA_DEB"), lumvia is $(command -v lumvia)"
  else
    fail "dpkg -i failed: $(cat "$WORK/dpkg.log")"
  fi
else
  echo "note: swayidle runs the built lumvia (no package, or one installed already)"
fi
as_user swayidle -w timeout 1 "$program -wayland -modules love" >"$WORK/swayidle.log" 2>&1 &
background+=($!)
started() { pgrep -u "$user" -x lumvia; }
if idle_run=$(wait_for started); then pass "swayidle starts $program -wayland after its timeout"
else fail "swayidle started nothing: $(cat "$WORK/swayidle.log")"; fi
screen_shows scene $OUT1 scene $OUT2 && pass "and it shows the scene on both outputs" ||
  fail "no scene from swayidle's lumvia"
# The keys are input too: swayidle would start it again a second later, so
# it is told to end first (it does once its command has ended, with -w).
$sudo kill "$(pgrep -u "$user" -x swayidle)"
esc_until eval '! kill -0 "$idle_run" 2>/dev/null' && pass "Esc ends it" ||
  fail "swayidle's lumvia still runs"
wait_for eval '! pgrep -u "$user" -x "swayidle|lumvia" >/dev/null' ||
  fail "swayidle or lumvia still runs: $(pgrep -u "$user" -a -x "swayidle|lumvia")"

# --- The compositor going away -------------------------------------------------------
run_lumvia "$LUMVIA" -wayland -modules love
screen_shows scene $OUT1 || fail "no scene before sway ends"
keys -k Next -k F11   # Love from its own depth, 50, to 49
wait_for printed '^g_fDepth 49' || fail "Page Down printed '$(cat "$WORK/out")'"
as_user swaymsg exit >/dev/null 2>&1
wait_lumvia_exit
check "a lost compositor ends it with 0" 0 "$lumvia_exit"
grep -q 'connection to the compositor was lost' "$WORK/err" && pass "and says so" ||
  fail "it said '$(cat "$WORK/err")'"
check "the view is saved" 4900 "$(sed -n 's/^mod1 depth = //p' "$settings")"

finish
