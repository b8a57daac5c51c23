# Sourced after lib.sh by the tests that run on a Wayland desktop: a
# headless compositor with two outputs, run by a throwaway user (Sway
# refuses root) with its own XDG_RUNTIME_DIR, and the keys and the pointer
# it can be given. One of the four desktops the program is tried on:
#
#   sway    Sway 1.7 headless (wlroots), outputs 800x600 and 640x480 placed
#           by swaymsg; keys from wtype, the pointer through pointer_device
#           (POINTER_DEVICE) and swaymsg; screenshots by grim; outputs can be
#           added and taken away
#   kwin    KWin 5.27, --virtual with two outputs of 800x600, in
#           dbus-run-session, from a copy of its binary without the file
#           capability a sandbox may refuse; keys and the pointer through its
#           fake-input protocol (DESKTOP_INPUT)
#   mutter  Mutter 43 --headless with virtual monitors of 800x600 and
#           640x480, in dbus-run-session; keys and the pointer through its
#           RemoteDesktop (DESKTOP_INPUT)
#   weston  Weston 10 on its X11 back end with two outputs of 800x600 in a
#           private Xvfb; keys and the pointer from xdotool, screenshots of
#           the X screen
#   weston-headless
#           Weston 10 headless: one output of 800x600, and no seat
#
#   desktop_start NAME   starts it (skips with 77 when it is not installed)
#                        and sets:
#     OUTPUT_SIZES       each output's logical size, WxH, in the compositor's order
#     HAS_INPUT          yes where keys and the pointer can be given
#     HAS_SHOTS          yes where `shot` works
#     HAS_OUTPUT_CHANGES yes where `output_add` and `output_remove` work
#   as_user CMD...       CMD as the desktop's user, on its display
#   press KEY...         presses and releases each key (X keysym names:
#                        Escape, Prior, Next, F11, Return); 0 once they are sent
#   pointer_show         puts the pointer over the desktop's middle, so that
#                        a client under it sees it, without moving it when it
#                        is there already
#   pointer_by DX DY     moves it
#   shot FILE [OUTPUT]   a screenshot of the whole desktop or one output (by name)
#   output_add NAME WxH+X+Y / output_remove NAME
#   esc_until TEST...    Esc until the test holds
#   trace                what the program's protocol trace in $WORK/err says
#                        (WAYLAND_DEBUG=client, read by wayland_trace.awk)
#   shown_frames N       a surface of the program full screen on each output,
#                        each given N frames, by the trace
# The caller defines skip. Everything is ended and taken away on exit.
: "${POINTER_DEVICE:?POINTER_DEVICE must name the built pointer_device}"
: "${DESKTOP_INPUT:?DESKTOP_INPUT must name the built desktop_input}"

DESKTOP=""
HAS_INPUT=no
HAS_SHOTS=no
HAS_OUTPUT_CHANGES=no
OUTPUT_SIZES=()
desktop_env=()   # what as_user adds to the environment

as_user() {
  $sudo runuser -u "$user" -- env -i HOME="$home" XDG_RUNTIME_DIR="$home/run" \
    XDG_CONFIG_HOME="$home/config" WAYLAND_DISPLAY=wayland-1 PATH=/usr/bin:/bin \
    ASAN_OPTIONS="$ASAN_OPTIONS" "${desktop_env[@]}" "$@"
}
desktop_ready() { [ -S "$home/run/wayland-1" ]; }

# The keys' Linux key codes, for the compositors that take codes.
key_code() {
  case $1 in
    Escape) echo 1 ;; Return) echo 28 ;; F11) echo 87 ;; Prior) echo 104 ;; Next) echo 109 ;;
    *) echo "no key code for $1" >&2; return 1 ;;
  esac
}

# desktop_input's commands go down a FIFO; it answers "done N" to the Nth.
input_sent=0
start_desktop_input() {  # start_desktop_input kwin|mutter
  mkfifo "$WORK/input"
  as_user "$DESKTOP_INPUT" "$1" <"$WORK/input" >"$WORK/input.out" 2>&1 &
  background+=($!)
  exec {input_fd}>"$WORK/input"
  wait_for grep -q ready "$WORK/input.out" || { fail "no input devices: $(cat "$WORK/input.out")"; return 1; }
}
send_input() {
  echo "$*" >&"$input_fd"
  input_sent=$((input_sent + 1))
  wait_for grep -qx "done $input_sent" "$WORK/input.out"
}

press() {
  local key codes=()
  case $DESKTOP in
    sway) local args=(); for key; do args+=(-k "$key"); done
          as_user wtype -s 1500 "${args[@]}" ;;   # its new keyboard must reach the client first
    weston) as_user xdotool key "$@" ;;
    *) for key; do codes+=("$(key_code "$key")") || return 1; done
       send_input key "${codes[@]}" ;;
  esac
}
pointer_show() {
  case $DESKTOP in
    sway) as_user swaymsg seat seat0 cursor set 400 300 >/dev/null ;;
    weston) as_user xdotool mousemove 400 300 ;;
    *) send_input move 0 0 ;;
  esac
}
pointer_by() {
  case $DESKTOP in
    sway) as_user swaymsg seat seat0 cursor move "$1" "$2" >/dev/null ;;
    weston) as_user xdotool mousemove_relative -- "$1" "$2" ;;
    *) send_input move "$1" "$2" ;;
  esac
}
shot() {
  case $DESKTOP in
    sway) as_user grim ${2:+-o "$2"} "$home/shot.png" 2>/dev/null && cp "$home/shot.png" "$1" ;;
    weston) import -window root "$1" 2>/dev/null ;;
    *) return 1 ;;
  esac
}
output_add() {  # output_add NAME WxH+X+Y: sway names its outputs HEADLESS-N in turn
  local size=${2%%+*} place=${2#*+}
  as_user swaymsg create_output >/dev/null &&
    as_user swaymsg output "$1" resolution "$size" position "${place%+*}" "${place#*+}" >/dev/null
}
output_remove() { as_user swaymsg output "$1" disable >/dev/null; }
# Should a keyboard have come too late, Esc is pressed again.
esc_until() {
  local try
  for try in 1 2 3; do
    press Escape
    PATIENCE=$((PATIENCE / 3)) wait_for "$@" && return 0
  done
  return 1
}

TRACE_AWK=$(dirname "${BASH_SOURCE[0]}")/wayland_trace.awk
trace() { awk -f "$TRACE_AWK" "$WORK/err"; }
# One pass over the trace, which grows by the frame.
shown_frames() {
  trace | awk -v n="$1" -v outputs="${#OUTPUT_SIZES[@]}" '
    $1 == "output" { size[$2] = $3 "x" $4 }
    $1 == "fullscreen" { given[$2] = $3; at[$2] = $4 "x" $5 }
    $1 == "presented" { count[$2]++ }
    END { for (s in given) if (at[s] == size[given[s]]) { on[given[s]] = 1; if (count[s] < n) short = 1 }
          for (o in on) shown++
          exit !(shown >= outputs && !short) }'
}

start_sway() {
  for tool in sway swaymsg grim wtype; do
    command -v $tool >/dev/null || skip "$tool is not installed (scripts/bootstrap installs it)"
  done
  # The cursor is hidden so that it does not show in the screenshots.
  cat >"$home/sway.conf" <<END
output HEADLESS-1 resolution 800x600 position 0 0
default_border none
seat seat0 hide_cursor 100
END
  $sudo chown "$user" "$home/sway.conf"
  desktop_env=(SWAYSOCK="$home/run/sway.sock")
  # Direct scan-out of a client's buffer is off: sway 1.7 on its headless
  # back end then stops drawing the other outputs.
  as_user env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -D noscanout -c "$home/sway.conf" >"$WORK/desktop.log" 2>&1 &
  background+=($!)
  sway_ready() { as_user swaymsg -t get_version >/dev/null 2>&1 && desktop_ready; }
  wait_for sway_ready || return 1
  output_add HEADLESS-2 640x480+800+0 || return 1
  # The seat has no pointer without a device: a virtual one of its own.
  as_user "$POINTER_DEVICE" >"$WORK/pointer.out" 2>&1 &
  background+=($!)
  wait_for grep -q ready "$WORK/pointer.out" || { fail "no pointer: $(cat "$WORK/pointer.out")"; return 1; }
  OUTPUT_SIZES=(800x600 640x480)
  HAS_INPUT=yes HAS_SHOTS=yes HAS_OUTPUT_CHANGES=yes
}

# KWin and Mutter run in a session bus of their own, whose address is kept
# for desktop_input.
in_session_bus() {  # in_session_bus COMMAND...: in the background
  as_user dbus-run-session -- sh -c 'echo "$DBUS_SESSION_BUS_ADDRESS" >"$HOME/bus"; exec "$@"' \
    sh "$@" >"$WORK/desktop.log" 2>&1 &
  background+=($!)
  wait_for test -s "$home/bus" || return 1
  desktop_env+=(DBUS_SESSION_BUS_ADDRESS="$(cat "$home/bus")")
}

start_kwin() {
  command -v kwin_wayland >/dev/null || skip "kwin_wayland is not installed (scripts/bootstrap installs it)"
  # A copy carries no file capability (cap_sys_resource), which a sandbox may refuse.
  cp /usr/bin/kwin_wayland "$home/kwin_wayland"
  $sudo chown "$user" "$home/kwin_wayland"
  # It composites with QPainter: with OpenGL on llvmpipe its own frames
  # would take most of what two cores give.
  in_session_bus env KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 KWIN_COMPOSE=Q "$home/kwin_wayland" --virtual \
    --width 800 --height 600 --output-count 2 --no-lockscreen --no-global-shortcuts \
    --socket wayland-1 || return 1
  wait_for desktop_ready || return 1
  start_desktop_input kwin || return 1
  OUTPUT_SIZES=(800x600 800x600)
  HAS_INPUT=yes
}

start_mutter() {
  command -v mutter >/dev/null || skip "mutter is not installed (scripts/bootstrap installs it)"
  in_session_bus mutter --headless --wayland --no-x11 --wayland-display wayland-1 \
    --virtual-monitor 800x600 --virtual-monitor 640x480 || return 1
  wait_for desktop_ready || return 1
  start_desktop_input mutter || return 1
  OUTPUT_SIZES=(800x600 640x480)
  HAS_INPUT=yes
}

start_weston() {
  for tool in weston xdotool Xvfb; do
    command -v $tool >/dev/null || skip "$tool is not installed (scripts/bootstrap installs it)"
  done
  # Its two X windows side by side on a screen anyone may use.
  start_xvfb -ac -screen 0 1600x600x24
  desktop_env=(DISPLAY="$DISPLAY")
  as_user weston --backend=x11-backend.so --use-pixman --output-count=2 --width=800 --height=600 \
    --socket=wayland-1 --idle-time=0 >"$WORK/desktop.log" 2>&1 &
  background+=($!)
  wait_for desktop_ready || return 1
  # With no window manager both windows are at 0,0: the second goes beside
  # the first, as the outputs are, and the pointer over the first, where X
  # gives the keys.
  second_window() { xwininfo -root -tree | awk '/"Weston Compositor - screen1"/ { print $1; exit }' | grep .; }
  wait_for second_window >/dev/null || { echo "no X window of the second output"; return 1; }
  xdotool windowmove "$(second_window)" 800 0
  xdotool mousemove 400 300
  OUTPUT_SIZES=(800x600 800x600)
  HAS_INPUT=yes HAS_SHOTS=yes
}

start_weston-headless() {
  command -v weston >/dev/null || skip "weston is not installed (scripts/bootstrap installs it)"
  as_user weston --backend=headless-backend.so --width=800 --height=600 \
    --socket=wayland-1 --idle-time=0 >"$WORK/desktop.log" 2>&1 &
  background+=($!)
  wait_for desktop_ready || return 1
  OUTPUT_SIZES=(800x600)
}

desktop_start() {
  DESKTOP=$1
  needs_root "a throwaway user"
  throwaway_user "lumvia-$DESKTOP"
  mkdir -p "$home/run" "$home/config/lumvia"
  chmod 700 "$home/run"
  $sudo chown -R "$user" "$home"
  case $DESKTOP in
    sway | kwin | mutter | weston | weston-headless) ;;
    *) echo "no desktop $DESKTOP"; exit 1 ;;
  esac
  if ! "start_$DESKTOP"; then
    fail "$DESKTOP did not start: $(tail -n 5 "$WORK/desktop.log")"
    finish
  fi
}
