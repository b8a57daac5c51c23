# Sourced by the scripts that start Wine: the project's prefix and settings,
# the loader for it, and the making of the prefix on first use.
#
# The loaders are named by path: /usr/bin/wine starts the 32-bit loader
# wherever the 32-bit Wine is installed, even where the kernel runs no 32-bit
# programs. A 64-bit prefix is run by the 64-bit loader, which hands a 32-bit
# program to the 32-bit one itself; tools such as reg and msiexec started by
# the 32-bit loader would see the 32-bit halves of the registry and of the
# system folder, not those of the 64-bit saver.
wine_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$wine_root/build/win64/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# The loader for WINEPREFIX: the 32-bit one only for a 32-bit prefix.
wine_loader() {
  if [ "${WINEARCH:-}" = win32 ] || grep -q '^#arch=win32' "$WINEPREFIX/system.reg" 2>/dev/null; then
    echo /usr/lib/wine/wine
  else
    echo /usr/lib/wine/wine64
  fi
}

# Makes WINEPREFIX unless it is there; on failure says why and returns 1.
# Every wait has an end: wineboot has 300 s, and the registry, which the
# server writes when it ends or else every 30 s, another 60.
make_wine_prefix() {
  [ -f "$WINEPREFIX/system.reg" ] && return 0
  local loader log status deadline why=""
  loader=$(wine_loader)
  mkdir -p "$WINEPREFIX"
  log=$(mktemp)
  # Started by bash, not by timeout itself, whose C library would hand a loader
  # the kernel refuses to /bin/sh as a script.
  timeout 300 bash -c '"$@"' wine "$loader" wineboot -i >"$log" 2>&1
  status=$?
  if [ $status -eq 124 ]; then
    why="wineboot did not finish within 300 s"
  elif [ $status -ne 0 ]; then
    why="wineboot ended with exit code $status: $(grep . "$log" | tail -n 1)"
  else
    # Xvfb runs no window manager: Wine's windows are left unmanaged, or each
    # full-screen window would wait two seconds for a manager when it goes away.
    timeout 60 "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    deadline=$((SECONDS + 60))
    until [ -f "$WINEPREFIX/system.reg" ] || [ $SECONDS -ge $deadline ]; do sleep 0.2; done
    [ -f "$WINEPREFIX/system.reg" ] || why="Wine wrote no registry within 60 s of wineboot"
  fi
  rm -f "$log"
  [ -z "$why" ] && return 0
  wineserver -k >/dev/null 2>&1
  echo "wine: could not make the Wine prefix $WINEPREFIX ($loader): $why" >&2
  return 1
}
