# Shared by the tests of the Linux program: a private Xvfb on a free display,
# lumvia started in the background with its output kept, waits with generous
# upper bounds, and the count of failures. LUMVIA names the built program;
# its settings go to a fresh XDG_CONFIG_HOME.
set -uo pipefail
: "${LUMVIA:?LUMVIA must name the built lumvia}"
. "$(dirname "${BASH_SOURCE[0]}")/../report.sh"
. "$(dirname "${BASH_SOURCE[0]}")/../sprite_colour.sh"
PATIENCE=${PATIENCE:-30}   # seconds: every wait ends by then
WORK=$(mktemp -d)
export XDG_CONFIG_HOME=$WORK/config
SETTINGS=$XDG_CONFIG_HOME/lumvia/lumvia.conf
# Mesa's GLX driver leaves a small block behind when the display closes,
# allocated in a module unloaded by then, which no suppression can name; so
# leaks are not checked here (the native tests check the engine's). A
# preloaded library need not come after the sanitizer's.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:verify_asan_link_order=0}
background=()   # processes started here, ended on exit
lumvia_pid=""
cleanup() {
  local i
  for ((i = ${#background[@]} - 1; i >= 0; i--)); do kill "${background[$i]}" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

# wait_for COMMAND...: runs it every 0.1 s until it succeeds or the patience
# runs out.
wait_for() {
  local deadline=$((SECONDS + PATIENCE))
  while [ $SECONDS -lt $deadline ]; do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# Starts Xvfb on a display it finds free itself (with any extra arguments)
# and points DISPLAY at it.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset "$@" 3>"$WORK/display" 2>"$WORK/xvfb.log" &
  background+=($!)
  if ! wait_for test -s "$WORK/display"; then
    echo "Xvfb did not start:"; cat "$WORK/xvfb.log"; exit 1
  fi
  export DISPLAY=:$(head -n 1 "$WORK/display")
}

# Starts lumvia with these arguments; its output goes to $WORK/out and
# $WORK/err.
start_lumvia() {
  "$LUMVIA" "$@" >"$WORK/out" 2>"$WORK/err" &
  lumvia_pid=$!
  background+=("$lumvia_pid")
}
# Waits for lumvia to end; sets lumvia_exit to its exit code, or to
# "running" when it has not ended in time.
wait_lumvia_exit() {
  lumvia_exit=running
  wait_for lumvia_ended || return 1
  wait "$lumvia_pid"
  lumvia_exit=$?
}
lumvia_ended() { ! kill -0 "$lumvia_pid" 2>/dev/null; }

# Prints the X id of the window whose title is exactly TITLE, once there.
wait_for_window() {
  local title=$1 id
  wait_for xdotool search --name "^${title}\$" >/dev/null 2>&1 || return 1
  xdotool search --name "^${title}\$" | head -n 1
}
# The value stored under NAME in the settings file.
stored() { sed -n "s/^$1 = //p" "$SETTINGS" 2>/dev/null; }
printed() { grep -q "$1" "$WORK/out"; }

# --- For what refuses to run as root (the XScreenSaver daemon, Sway): a
# throwaway user with a home of its own outside WORK (which only root may
# enter), and the Debian package installed for a while; both are taken away
# on exit. The caller defines skip.
sudo=""
needs_root() {
  if [ "$(id -u)" -ne 0 ]; then
    sudo -n true 2>/dev/null || skip "$1 needs root or sudo without a password"
    sudo="sudo -n"
  fi
  # The package and the users are the machine's: two such tests at once (two
  # checkouts tested side by side) take turns.
  exec {machine_lock}>/tmp/lumvia-tests.lock
  flock -w 1200 "$machine_lock" || { echo "another lumvia test held /tmp/lumvia-tests.lock for 20 minutes"; exit 1; }
}
package_installed() { dpkg-query -W -f='${db:Status-Status}' lumvia 2>/dev/null | grep -q installed; }
installed=""
user=""
home=""
throwaway_user() {  # throwaway_user NAME: sets user and home
  user=$1-$$
  home=$(mktemp -d "/tmp/$1-home.XXXXXX")
  $sudo useradd -M -d "$home" -s /bin/sh "$user" || { fail "useradd $user"; finish; }
}
# dpkg waits for nobody: another install on the machine may hold its lock.
install_package() {  # install_package DEB: its log in $WORK/dpkg.log
  local deadline=$((SECONDS + 300))
  while ! $sudo dpkg -i "$1" >"$WORK/dpkg.log" 2>&1; do
    grep -q 'lock' "$WORK/dpkg.log" && [ $SECONDS -lt $deadline ] || return 1
    sleep 2
  done
  installed=yes
}
user_cleanup() {
  local pid
  if [ -n "$user" ]; then
    for pid in $(pgrep -u "$user" 2>/dev/null); do $sudo kill "$pid" 2>/dev/null; done
    wait_for eval '! pgrep -u "$user" >/dev/null 2>&1'
    $sudo userdel "$user" 2>/dev/null
  fi
  [ -n "$installed" ] && $sudo dpkg -r lumvia >/dev/null
  [ -n "$home" ] && $sudo rm -rf "$home"
  cleanup
}
trap user_cleanup EXIT
