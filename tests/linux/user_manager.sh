# Sourced after wayland_desktop.sh's desktop_start: a session bus of the
# desktop's user and systemd's user manager on it, as a desktop session
# has them, with lumvia.service of the test's own (a process that sleeps).
#
#   user_manager_start   starts both; as_user then reaches them. Returns 1
#                        with the reason in MANAGER_MISSING where no user
#                        manager can run here.
#
# Here systemd is not the first process: the manager runs in a mount
# namespace of its own in which /run/systemd/system says it is (the check it
# makes before it starts), in control groups made for the user and taken
# away on exit.
MANAGER_MISSING=""
manager_groups=()

manager_cleanup() {
  local group
  user_cleanup
  for group in "${manager_groups[@]}"; do $sudo find "$group" -depth -type d -exec rmdir {} + 2>/dev/null; done
}
trap manager_cleanup EXIT

user_manager_start() {
  local bus=$home/run/bus systemd=/lib/systemd/systemd root
  as_user dbus-daemon --session --address="unix:path=$bus" --nofork --nopidfile >"$WORK/bus.log" 2>&1 &
  background+=($!)
  wait_for test -S "$bus" || { MANAGER_MISSING="no session bus: $(cat "$WORK/bus.log")"; return 1; }
  desktop_env+=(DBUS_SESSION_BUS_ADDRESS="unix:path=$bus")
  [ -x $systemd ] || { MANAGER_MISSING="systemd is not installed"; return 1; }
  # cgroup v2 alone, or v1 with the v2 tree beside it (systemd then keeps to both).
  if [ "$(stat -fc %T /sys/fs/cgroup)" = cgroup2fs ]; then root=(/sys/fs/cgroup)
  else root=(/sys/fs/cgroup/unified /sys/fs/cgroup/systemd); fi
  for group in "${root[@]}"; do
    $sudo mkdir "$group/$user" && $sudo chown -R "$user" "$group/$user" ||
      { MANAGER_MISSING="no control group can be made in $group"; return 1; }
    manager_groups+=("$group/$user")
  done
  mkdir -p "$home/config/systemd/user"
  printf '[Unit]\nDescription=lumvia -daemon as the test has it\n[Service]\nExecStart=/bin/sleep infinity\n[Install]\nWantedBy=default.target\n' \
    >"$home/config/systemd/user/lumvia.service"
  $sudo chown -R "$user" "$home/config/systemd"
  [ -d /run/systemd ] || $sudo mkdir /run/systemd
  # shellcheck disable=SC2016
  $sudo env USER_NAME="$user" HOME_DIR="$home" BUS="unix:path=$bus" unshare --mount sh -c '
    mount -t tmpfs tmpfs /run/systemd && mkdir /run/systemd/system || exit 1
    for group in "$@"; do echo $$ >"$group/cgroup.procs" || exit 1; done
    exec runuser -u "$USER_NAME" -- env -i HOME="$HOME_DIR" XDG_RUNTIME_DIR="$HOME_DIR/run" \
      XDG_CONFIG_HOME="$HOME_DIR/config" DBUS_SESSION_BUS_ADDRESS="$BUS" PATH=/usr/bin:/bin '"$systemd"' --user
  ' sh "${manager_groups[@]}" >"$WORK/manager.log" 2>&1 &
  background+=($!)
  manager_ready() {
    as_user busctl --user call org.freedesktop.systemd1 /org/freedesktop/systemd1 \
      org.freedesktop.systemd1.Manager GetUnitFileState s lumvia.service >/dev/null 2>&1
  }
  PATIENCE=$((PATIENCE / 2)) wait_for manager_ready ||
    { MANAGER_MISSING="systemd --user did not start: $(tail -n 3 "$WORK/manager.log")"; return 1; }
}
