#!/usr/bin/env bash
# lumvia -wayland on one of the desktops it is tried on, with two outputs
# (tests/linux/wayland_desktop.sh: sway, kwin, mutter, weston, or
# weston-headless with one), in one session of that compositor. What the
# compositor did with the program's surfaces is read from the client's own
# protocol trace (WAYLAND_DEBUG, through wayland_trace.awk). On each
# desktop: a surface full screen on each output; every frame on both
# outputs; the frames up 2 refreshes or more in the median; SIGTERM ends
# it with 143; -window is decorated. Where there are keys and a pointer:
# Page Up then Esc ends it with 0 and the view saved; a pointer travel of
# 100 leaves it running and one of 101 ends it; Esc ends -window (else
# SIGINT does, with 130). Where screenshots can be taken, -fps shows the
# rate in the corner, and SIGINT ends it with 130. Where outputs
# can be added and taken away (Sway): each "other monitors" choice shows on
# each output what it promises, -output picks the scene's, an output added
# shows the scene, and outputs coming and going under the
# pointer 60 times leave it in front of every output, with a key and a
# travel still ending it; -window draws nothing while it cannot be seen;
# swayidle starts the program the Debian package installs (LUMVIA_DEB); the
# compositor going away ends it with the views saved. Everything it makes or
# installs is taken away again.
#
#   wayland_test.sh sway|kwin|mutter|weston|weston-headless
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/wayland_desktop.sh"
skip() { echo "skipped: $*"; exit 77; }

desktop_start "${1:?which desktop: sway, kwin, mutter, weston or weston-headless}"
outputs=${#OUTPUT_SIZES[@]}
pass "$DESKTOP runs headless with outputs of ${OUTPUT_SIZES[*]}"
settings=$home/config/lumvia/lumvia.conf
settings_say() { echo "$1" >"$settings"; $sudo chown "$user" "$settings"; }
# Every scene left out: frames are presented and nothing is drawn, so that a
# loaded machine still makes each in time.
no_scene=(-no-love -no-peace -no-joy -no-harmony -no-creativity -no-serenity -no-truth
          -no-insight -no-inspiration -no-bliss)

# Runs lumvia as the user in the background with its protocol trace; its
# standard output goes to $WORK/out, the trace and its own lines to $WORK/err.
run_lumvia() {
  as_user env WAYLAND_DEBUG=client "$@" >"$WORK/out" 2>"$WORK/err" &
  lumvia_pid=$!
  background+=("$lumvia_pid")
}
# The trace holds bytes that are no text (the keymap's file descriptor).
said() { grep -a '^lumvia: ' "$WORK/err"; }
# frames_of SURFACE: how many frames it was given.
frames_of() { trace | awk -v s="$1" '$1 == "presented" && $2 == s { n++ } END { print n + 0 }'; }
# The full-screen surfaces, one "SURFACE OUTPUT" line each, the last size the
# compositor gave each being its output's.
full_screen() {
  trace | awk '$1 == "output" { size[$2] = $3 "x" $4 }
               $1 == "fullscreen" { given[$2] = $3; at[$2] = $4 "x" $5 }
               END { for (s in given) if (at[s] == size[given[s]]) print s, given[s] }' | sort -u
}
surfaces_shown() { [ "$(full_screen | awk '{ print $2 }' | sort -u | wc -l)" -ge "${1:-$outputs}" ]; }
# Ends a run without keys: SIGTERM, or the signal named, which ends it by
# that signal (runuser, which lumvia_pid is, gives 128 and its number).
stop_lumvia() {
  $sudo pkill "-${1:-TERM}" -u "$user" -x lumvia
  wait_lumvia_exit && return 0
  fail "SIGTERM did not end it; its trace ends: $(tail -n 5 "$WORK/err" | tr '\n' ';')"
  $sudo pkill -KILL -u "$user" -x lumvia
}

# --- A compositor that is not there ----------------------------------------------
as_user env WAYLAND_DISPLAY=nowhere "$LUMVIA" -wayland >/dev/null 2>"$WORK/err"
check "no compositor: exit 1" 1 $?
check "and one line says so" 'lumvia: cannot connect to the Wayland compositor "nowhere"' \
  "$(cat "$WORK/err")"

# --- Full screen on each output, every frame on both, and the keys ---------------
settings_say "other monitors = 1"
run_lumvia "$LUMVIA" -wayland -modules love
if PATIENCE=$((PATIENCE * 2)) wait_for shown_frames 40; then
  pass "a surface full screen on each output: $(full_screen | awk '{ printf "%s on %s; ", $1, $2 }')"
else
  fail "not full screen on each output with 40 frames: $(trace | grep -v -E '^(frame|presented)' | sort -u | tr '\n' ';')"
fi
if [ "$HAS_INPUT" = yes ]; then
  press Prior F11
  wait_for printed '^g_fDepth' || fail "F11 printed nothing after Page Up"
  esc_until lumvia_ended
fi
[ "$HAS_INPUT" = yes ] || stop_lumvia
wait_lumvia_exit
counts=$(for s in $(full_screen | awk '{ print $1 }'); do frames_of "$s"; done | sort -n | tr '\n' ' ')
read -r fewest most <<<"$counts"
if [ "$outputs" -lt 2 ]; then :
elif [ -n "${most:-}" ] && [ $((most - fewest)) -le 2 ]; then
  pass "both outputs are given every frame ($counts)"
else
  fail "the outputs were given different numbers of frames: $counts"
fi
if [ "$HAS_INPUT" = yes ]; then
  check "Esc ends it with 0" 0 "$lumvia_exit"
  printed '^g_fDepth 51.000000$' && pass "F11 prints the depth after Page Up" ||
    fail "F11 printed '$(cat "$WORK/out")'"
  check "Page Up is saved as depth 5100 for Love" 5100 "$(sed -n 's/^mod1 depth = //p' "$settings")"
fi

# --- The frames paced by the refreshes: the intervals between the frames
# shown on the first output, whose refreshes the frames follow (60 Hz on
# every test bed: 2 refreshes a frame, 33 ms; Sway's headless outputs tick
# every 16 ms and 24 after a frame they drew, 40 ms; Weston headless repaints
# every 25.7 ms, 51 ms). Nothing is drawn. A frame is never shown sooner
# than 2 refreshes after the one before, so the median is at least that;
# how evenly they come is the frame pacing test's (against a model
# compositor) and the benchmark's, since a loaded machine makes a
# compositor's own refreshes irregular. SIGTERM ends it by that signal.
run_lumvia "$LUMVIA" -wayland "${no_scene[@]}"
PATIENCE=$((PATIENCE * 2)) wait_for shown_frames 120 || fail "no 120 frames without a scene"
stop_lumvia
check "SIGTERM ends it by that signal (143)" 143 "$lumvia_exit"
# The first frames come while the outputs are set up.
read -r median share total hz intervals < <(trace | awk '
  $1 == "output" && !first { first = $2 } $1 == "output" { hz[$2] = $5 / 1000 }
  $1 == "fullscreen" && $3 == first { clock = $2 }
  $1 == "frame" && $2 == clock { if (++n > 10) { v[++total] = $3 - last; all = all " " int(v[total] + 0.5) }
                                 last = $3 }
  END { for (i = 1; i <= total; i++) sorted[i] = v[i]
        for (i = 2; i <= total; i++) for (j = i; j > 1 && sorted[j - 1] > sorted[j]; j--) {
          t = sorted[j]; sorted[j] = sorted[j - 1]; sorted[j - 1] = t }
        median = sorted[int((total + 1) / 2)]
        for (i = 1; i <= total; i++) if (v[i] > median * 0.8 && v[i] < median * 1.2) even++
        printf "%.1f %d %d %d%s\n", median, total ? even * 100 / total : 0, total, hz[first], all }')
refreshes=$(awk -v ms="$median" -v hz="$hz" 'BEGIN { printf "%.1f", ms * hz / 1000 }')
if awk -v r="$refreshes" 'BEGIN { exit !(r >= 1.8) }'; then
  pass "on the first output the frames were up ${median} ms in the median, $refreshes refreshes" \
    "of $hz Hz ($share% of $total within a fifth of it)"
else
  fail "on the first output the frames were up ${median} ms in the median, $refreshes refreshes" \
    "of $hz Hz, fewer than 2 (ms:$intervals)"
fi

# --- The pointer: 100 leaves it running, 101 ends it. Its travel counts from
# where it first appears over a surface: as it comes, or after a first step.
pointer_travels() {  # 100 then 101 from a step of 1
  pointer_show
  sleep 0.5
  pointer_by 1 0
  sleep 0.5
  pointer_by 59 40
  sleep 1
  if lumvia_ended; then
    fail "$1a pointer travel of 100 ended it:" \
      "$(grep -a -E 'wl_pointer@[0-9]+\.(enter|motion|leave)' "$WORK/err" | tail -n 6 | tr '\n' ';')"
  else
    pass "$1a pointer travel of 100 does not end it"
  fi
  pointer_by 0 2
  wait_lumvia_exit
  check "$1one of 101 ends it with 0" 0 "$lumvia_exit" ||
    grep -a -E 'wl_pointer@[0-9]+\.(enter|motion|leave)' "$WORK/err" | tail -n 6
}
if [ "$HAS_INPUT" = yes ]; then
  pointer_show
  run_lumvia "$LUMVIA" -wayland -modules love
  wait_for shown_frames 5 || fail "no frames before the pointer moves"
  pointer_travels ""
fi

# --- -window: decorated, by the compositor or by the program -----------------------
run_lumvia "$LUMVIA" -wayland -window -modules love
window_shown() { trace | grep -q '^decorated' && [ "$(trace | grep -c '^frame')" -ge 10 ]; }
if wait_for window_shown; then pass "-window is decorated: $(trace | grep '^decorated' | sort -u | tr '\n' ' ')"
else fail "-window shows no decorated window: $(said)"; fi
if [ "$HAS_INPUT" = yes ]; then
  esc_until lumvia_ended
  wait_lumvia_exit
  check "Esc ends -window with 0" 0 "$lumvia_exit"
else
  stop_lumvia INT
  check "SIGINT ends -window by that signal (130)" 130 "$lumvia_exit"
fi

# --- -fps on screen: the rate in the lower left corner of the scene's output --------
if [ "$HAS_SHOTS" = yes ]; then
  # The pure yellow samples of the frame rate's text.
  corner_text() {
    shot "$WORK/shot.png" || return 1
    convert "$WORK/shot.png" -crop 200x40+0+560 +repage txt:- 2>/dev/null |
      sed -n 's/.*(\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3/p' |
      awk '$1 > 240 && $2 > 240 && $3 < 40 { n++ } END { exit !(n > 20) }'
  }
  run_lumvia "$LUMVIA" -wayland -fps -modules love
  wait_for corner_text && pass "-fps shows the frame rate in the lower left corner" ||
    fail "no frame rate in the corner"
  stop_lumvia INT
  check "SIGINT ends it by that signal (130)" 130 "$lumvia_exit"
fi

[ "$HAS_OUTPUT_CHANGES" = yes ] || finish
# --- Sway from here: its outputs come and go on request -------------------------------
# Each choice's screenshot of the desktop is kept for scripts/wayland-gallery.
SHOTS=$(dirname "$LUMVIA")/wayland-shots
mkdir -p "$SHOTS"
# Screenshots of each output until the checks all hold for them: a
# screenshot of the whole desktop can show a second output as it was before.
holds() {  # holds CHECK OUTPUT AREA [CHECK OUTPUT AREA]...
  while [ $# -ge 3 ]; do
    shot "$WORK/shot.png" "$2" && "$1" "$3" || return 1
    shift 3
  done
}
screen_shows() {  # screen_shows CHECK OUTPUT AREA [CHECK OUTPUT AREA]...
  local deadline=$((SECONDS + PATIENCE))
  while [ $SECONDS -lt $deadline ]; do
    holds "$@" && return 0
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
FIRST="HEADLESS-1 800x600+0+0"
SECOND="HEADLESS-2 640x480+0+0"
MIDDLE1="HEADLESS-1 120x120+340+240"   # the middle of each
MIDDLE2="HEADLESS-2 120x120+260+180"

# --- Each choice of "other monitors", with Love: its central object is in the
# middle of the scene.
promise=(
  "scene $MIDDLE1 black $SECOND"                          # 0: black
  "scene $MIDDLE1 scene $MIDDLE2"                         # 1: the same scene on each
  "scene HEADLESS-1 120x120+660+240 scene $SECOND"        # 2: one scene across both
  "scene $MIDDLE1 desktop $SECOND"                        # 3: the second left as it is
)
names=("black" "the same scene on each" "one scene across both" "the second left alone")
for choice in 1 0 2 3; do
  settings_say "other monitors = $choice"
  run_lumvia "$LUMVIA" -wayland -modules love
  # shellcheck disable=SC2086
  if screen_shows ${promise[$choice]}; then pass "choice $choice shows ${names[$choice]}"
  else fail "choice $choice: the screen is not as promised ($SHOTS/choice-$choice.png)"; fi
  shot "$SHOTS/choice-$choice.png"
  stop_lumvia
done

# --- -output: the scene on the second output, the first black ----------------------
settings_say "other monitors = 0"
run_lumvia "$LUMVIA" -wayland -output HEADLESS-2 -modules love
screen_shows black $FIRST scene $MIDDLE2 && pass "-output HEADLESS-2 shows the scene there" ||
  fail "-output HEADLESS-2 did not move the scene"
stop_lumvia

# --- An output that comes while it runs shows the scene --------------------------------
settings_say "other monitors = 1"
run_lumvia "$LUMVIA" -wayland -modules love
screen_shows scene $FIRST scene $SECOND || fail "no scene before the third output"
output_add HEADLESS-3 640x480+0+600
placed=$(date +%s%N)
added_shows_scene() {
  as_user grim -o HEADLESS-3 "$home/added.png" 2>/dev/null && cp "$home/added.png" "$WORK/shot.png" &&
    scene 640x480+0+0
}
if wait_for added_shows_scene; then
  pass "the added output shows the scene (seen $((($(date +%s%N) - placed) / 1000000)) ms after it was placed)"
else
  fail "the added output shows no scene"
fi

# --- Outputs coming and going under the pointer (over the first output since
# the start): where the compositor puts it then is no travel, and the saver
# stays in front of every output (sway moves the workspace of an output that
# goes onto one that stays, in front) with the keyboard.
output_remove HEADLESS-3
for i in $(seq 30); do
  output_remove HEADLESS-1
  sleep 0.3
  as_user swaymsg output HEADLESS-1 enable >/dev/null
  sleep 0.3
done
if lumvia_ended; then fail "outputs coming and going ended it: $(said)"
else pass "60 outputs coming and going under the pointer leave it running"; fi
screen_shows scene $MIDDLE1 && pass "and in front on HEADLESS-1" ||
  fail "the scene is not in front on HEADLESS-1"
screen_shows scene $MIDDLE2 && pass "and in front on HEADLESS-2" ||
  fail "the scene is not in front on HEADLESS-2"
pointer_travels "after them "
run_lumvia "$LUMVIA" -wayland -modules love
screen_shows scene $FIRST || fail "no scene before the output with the keyboard goes"
as_user swaymsg output HEADLESS-3 enable >/dev/null  # its surface, made last, has the keyboard
wait_for surfaces_shown 3 || fail "no surface on the third output"
output_remove HEADLESS-3
esc_until lumvia_ended && pass "with the output that had the keyboard gone, Esc still ends it" ||
  fail "Esc no longer ends it once the output with the keyboard went"
wait_lumvia_exit

# --- -window: one window of its own (sway tiles it over the first output). On
# another workspace nobody sees it: the compositor sends no frame callbacks,
# and -fps counts no frames until it is seen again.
run_lumvia "$LUMVIA" -wayland -window -fps -modules love
screen_shows scene $FIRST && pass "-wayland -window shows the scene" || fail "-window shows no scene"
as_user swaymsg workspace 5 >/dev/null
wait_for eval 'said | grep -q "^lumvia: 0.0 frames per second"' &&
  pass "hidden, it draws no frame" || fail "hidden, it went on drawing: $(said)"
as_user swaymsg workspace 1 >/dev/null
drawing_again() { said | awk '/: 0.0 frames/ { dark = 1; next } dark && $2 > 0 { n++ } END { exit !n }'; }
wait_for drawing_again && pass "seen again, it draws again" || fail "no frames after: $(said)"
stop_lumvia

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
screen_shows scene $FIRST scene $SECOND && pass "and it shows the scene on both outputs" ||
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
screen_shows scene $FIRST || fail "no scene before sway ends"
press Next F11   # Love from its own depth, 50, to 49
wait_for printed '^g_fDepth 49' || fail "Page Down printed '$(cat "$WORK/out")'"
as_user swaymsg exit >/dev/null 2>&1
wait_lumvia_exit
check "a lost compositor ends it with 0" 0 "$lumvia_exit"
said | grep -q 'connection to the compositor was lost' && pass "and says so" ||
  fail "it said '$(said)'"
check "the view is saved" 4900 "$(sed -n 's/^mod1 depth = //p' "$settings")"

finish
